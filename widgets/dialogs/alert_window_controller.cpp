#include "widgets/dialogs/alert_window_controller.h"

#include "widgets/dialogs/dark_look.h"
#include "widgets/dialogs/dialog_buttons.h"
#include "widgets/widget_frame.h"
#include "platform/notification_center.h"
#include "services/language.h"
#include "widgets/zor_button.h"

#include <QFontMetricsF>
#include <QLabel>
#include <algorithm>
#include <cmath>

namespace kestrel::widgets {

using services::localized;

namespace {
constexpr int kWidth = 416;
constexpr int kHeight = 180;

QLabel* makeAlertLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    setTextColor(label, kAlertTextColor);
    setPointSize(label, 14);
    return label;
}

QString textOf(const QString& key) { return key.isEmpty() ? QString() : localized(key); }
}  // namespace

AlertWindowController::AlertWindowController(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(kWidth, kHeight);
    setBackgroundColor(this, kDarkWindowColor);
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) { changeLanguage(); }, this);

    bgImage_ = new QLabel(this);
    bgImage_->setScaledContents(true);
    bgImage_->setPixmap(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Reverse/ConvertResultMain111.png")));
    bgImage_->setGeometry(0, 0, kWidth, kHeight);

    windowTitleLabel_ = makeAlertLabel(this, localized(QStringLiteral("Title")));
    widgets::setFrame(windowTitleLabel_, QRectF(20, 140, kWidth - 40, 32));
    messageLabel_ = makeAlertLabel(this, QString());
    widgets::setFrame(messageLabel_, QRectF(20, 62, kWidth - 40, 66));

    leftBtn_ = makeDialogButton(this, 15);
    leftBtn_->setContentTitle(localized(QStringLiteral("OK")));
    widgets::setFrame(leftBtn_, QRectF(kWidth / 2 - 10 - 86, 20, 86, 26));
    rightBtn_ = makeDialogButton(this, 15);
    rightBtn_->setContentTitle(localized(QStringLiteral("Cancel")));
    widgets::setFrame(rightBtn_, QRectF(kWidth / 2 + 10, 20, 86, 26));

    leftBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) {
        if (leftBtnClickCallbackBlock_) leftBtnClickCallbackBlock_(true);
        done(QDialog::Accepted);
    });
    rightBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { dissmiss(); });
    changeLanguage();
}

void AlertWindowController::changeLanguage() {
    windowTitleLabel_->setText(textOf(title_));
    messageLabel_->setText(textOf(message_));
    leftBtn_->setContentTitle(textOf(leftBtnTitle_));
    rightBtn_->setContentTitle(textOf(rightBtnTitle_));
    setPointSize(messageLabel_, 13);
    setPointSize(leftBtn_, 13);
    setPointSize(rightBtn_, 13);
    fitButtons();
    leftBtn_->update();
    rightBtn_->update();
    applyTextDirection(this);
}

void AlertWindowController::fitButtons() {
    // A longer title ("Abbrechen") widens its button from the middle outwards; the pair stays
    // centred as it was laid out.
    for (kestrel::widgets::ZorButton* button : {leftBtn_, rightBtn_}) {
        const int title = int(std::ceil(QFontMetricsF(button->font()).horizontalAdvance(button->contentTitle())));
        const QRectF frame = widgets::frameOf(button);
        const double width = std::max(86.0, title + 24.0);
        const bool left = button == leftBtn_;
        widgets::setFrame(button, QRectF(left ? frame.right() - width : frame.left(), frame.y(), width, frame.height()));
    }
}

void AlertWindowController::dissmiss() { done(QDialog::Rejected); }

int AlertWindowController::runModal() { return exec(); }

}  // namespace kestrel::widgets

#include "widgets/dialogs/zor_open_alert.h"

#include "widgets/dialogs/app_icon.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/dialogs/dialog_buttons.h"
#include "widgets/widget_frame.h"
#include "services/language.h"
#include "widgets/zor_button.h"

#include <QLabel>

namespace kestrel::widgets {

using services::localized;

namespace {
constexpr int kWidth = 420;
constexpr int kHeight = 170;
const QColor kLabelColor(170, 177, 185);
}  // namespace

ZorOpenAlert::ZorOpenAlert(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(kWidth, kHeight);
    setBackgroundColor(this, kDarkWindowColor);

    appIconView_ = new QLabel(this);
    appIconView_->setScaledContents(true);
    widgets::setFrame(appIconView_, QRectF(24, kHeight - 24 - 48, 48, 48));
    windowTitleLabel_ = new QLabel(this);
    widgets::setFrame(windowTitleLabel_, QRectF(88, kHeight - 50, kWidth - 108, 26));
    titleLabel_ = new QLabel(this);
    titleLabel_->setWordWrap(true);
    widgets::setFrame(titleLabel_, QRectF(88, 62, kWidth - 108, kHeight - 50 - 66));
    openBtn_ = makeDialogButton(this, 13);
    widgets::setFrame(openBtn_, QRectF(kWidth - 20 - 86 - 12 - 86, 20, 86, 26));
    okBtn_ = makeDialogButton(this, 13);
    widgets::setFrame(okBtn_, QRectF(kWidth - 20 - 86, 20, 86, 26));
    openBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { answer(1); });
    okBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { answer(0); });
}

void ZorOpenAlert::windowDidLoad() {
    setTextColor(windowTitleLabel_, kLabelColor);
    setPointSize(windowTitleLabel_, 16);
    windowTitleLabel_->setText(localized(windowTitle_.isEmpty() ? QStringLiteral("Title") : windowTitle_));
    setTextColor(titleLabel_, kLabelColor);
    setPointSize(titleLabel_, 13);
    titleLabel_->setText(localized(infomation_.isEmpty() ? QStringLiteral("InformationLabelTitle") : infomation_));
    openBtn_->setContentTitle(localized(QStringLiteral("Reverse Open")));
    okBtn_->setContentTitle(localized(QStringLiteral("Reverse Close")));
    appIconView_->setPixmap(applicationIcon());
    applyTextDirection(this);
}

void ZorOpenAlert::showEvent(QShowEvent* event) {
    if (!loaded_) {
        loaded_ = true;
        windowDidLoad();
    }
    QDialog::showEvent(event);
}

void ZorOpenAlert::answer(qint64 choice) {
    if (answered_) return;
    answered_ = true;
    if (selectedOkBlock_) selectedOkBlock_(choice);
    done(int(choice));
}

void ZorOpenAlert::reject() {
    // The title bar's close and Escape act as Close.
    if (answered_) QDialog::reject();
    else answer(0);
}

int ZorOpenAlert::runModal() { return exec(); }

}  // namespace kestrel::widgets

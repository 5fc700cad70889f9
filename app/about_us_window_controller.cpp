#include "app/about_us_window_controller.h"

#include "services/support_address.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/dialogs/dialog_buttons.h"
#include "app/links.h"
#include "widgets/widget_frame.h"
#include "services/language.h"
#include "widgets/zor_button.h"
#include "widgets/zor_view.h"

#include <QLabel>

namespace app {

using services::Language;
using services::localized;

namespace {
constexpr int kWidth = 480;
constexpr int kHeight = 270;

QLabel* makeAboutLabel(QWidget* parent, const QString& text, int points, const QRectF& frame) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    kestrel::widgets::setTextColor(label, kestrel::widgets::kTextColor);
    kestrel::widgets::setPointSize(label, points);
    kestrel::widgets::setFrame(label, frame);
    return label;
}

kestrel::widgets::ZorButton* makeLinkButton(QWidget* parent, const QString& title, const QRectF& frame) {
    auto* link = new kestrel::widgets::ZorButton(parent);
    link->setUnderLine(true);
    link->setContentTitle(title);
    link->setContentColor(kestrel::widgets::kHoverTextColor);
    link->setBordered(false);
    link->setCursor(Qt::PointingHandCursor);
    kestrel::widgets::setFrame(link, frame);
    return link;
}

kestrel::widgets::ZorView* makeLine(QWidget* parent, const QRectF& frame) {
    auto* line = new kestrel::widgets::ZorView(parent);
    line->setBackGroundColor(Qt::black);
    line->setBordColor(Qt::black);
    line->setCornerRadius(1);
    line->setBorderWidth(0);
    kestrel::widgets::setFrame(line, frame);
    return line;
}
}  // namespace

AboutUsWindowController::AboutUsWindowController(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(kWidth, kHeight);
    kestrel::widgets::setBackgroundColor(this, kestrel::widgets::kDarkWindowColor);
    const QString version = Language::getCurrentVersion();
    setWindowTitle(QStringLiteral("%1 %2 ").arg(localized(QStringLiteral("Ixy-de-Rz5.title")), version));

    contentBackView_ = new kestrel::widgets::ZorView(this);
    contentBackView_->setBackGroundColor(kestrel::widgets::kDarkWindowColor);
    contentBackView_->setBordColor(Qt::black);
    contentBackView_->setCornerRadius(4);
    contentBackView_->setBorderWidth(0);
    kestrel::widgets::setFrame(contentBackView_, QRectF(12, 62, kWidth - 24, kHeight - 74));
    topLine_ = makeLine(this, QRectF(24, 196, kWidth - 48, 1));
    bottomLine_ = makeLine(this, QRectF(24, 100, kWidth - 48, 1));

    aboutTitleLabel_ = makeAboutLabel(this, localized(QStringLiteral("Title")), 20, QRectF(24, 222, kWidth - 48, 30));
    aboutVersionLabel_ = makeAboutLabel(this, localized(QStringLiteral("aboutVersionLabelstring")) + version, 13,
                                        QRectF(24, 200, kWidth - 48, 20));
    // Room for two lines under the rule, inside the content panel: longer in some languages.
    bottomContentLabel_ = makeAboutLabel(this, QString(), 12, QRectF(24, 62, kWidth - 48, 38));
    kestrel::widgets::fitTwoLines(bottomContentLabel_, localized(QStringLiteral("bottomContentLabelstring")), 12, 9);

    // The guide's link takes the whole row when there is no support address to write to.
    const QString supportAddress = services::supportMailAddress();
    const qreal linkWidth = supportAddress.isEmpty() ? kWidth - 48 : (kWidth - 48) / 2 - 8;
    middleLeftContentLabel_ = makeLinkButton(this, localized(QStringLiteral("middleLeftContentLabelstring")),
                                             QRectF(24, 134, linkWidth, 26));
    middleLeftContentLabel_->setMouseDownAction([](kestrel::widgets::ZorButton*) { openUserGuide(); });
    middleRightContentLabel_ = makeLinkButton(this, localized(QStringLiteral("middleRightContentLabelstring")),
                                              QRectF(kWidth / 2 + 8, 134, (kWidth - 48) / 2 - 8, 26));
    middleRightContentLabel_->setMouseDownAction(
        [supportAddress](kestrel::widgets::ZorButton*) { openLink(mailLink(supportAddress)); });
    middleRightContentLabel_->setHidden(supportAddress.isEmpty());

    okBtn_ = kestrel::widgets::makeDialogButton(this, 15);
    okBtn_->setContentTitle(localized(QStringLiteral("OKBtnTitle")));
    kestrel::widgets::setFrame(okBtn_, QRectF((kWidth - 86) / 2, 20, 86, 26));
    okBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { accept(); });
    kestrel::widgets::applyTextDirection(this);
}

int AboutUsWindowController::runModal() { return exec(); }

}  // namespace app

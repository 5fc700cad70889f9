#include "app/home_view_controller.h"

#include "app/about_us_window_controller.h"
#include "widgets/dialogs/alert_window_controller.h"
#include "widgets/dialogs/app_icon.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/dialogs/file_kinds.h"
#include "app/home_tiles.h"
#include "app/tile_title.h"
#include "app/links.h"
#include "widgets/dialogs/open_panel.h"
#include "app/window_placement.h"
#include "platform/dispatch.h"
#include "widgets/widget_frame.h"
#include "platform/notification_center.h"
#include "services/help_class.h"
#include "services/language.h"
#include "widgets/zor_button.h"

#include <QLabel>
#include <QPointer>
#include <cmath>

namespace app {

using services::Language;
using services::localized;

namespace {
constexpr int kViewWidth = 860;
constexpr int kViewHeight = 600;
constexpr int kTileWidth = 140;
constexpr int kTileHeight = 110;
constexpr int kTileColumns = 5;
constexpr int kTileRowGap = 12;
constexpr int kHeaderButtonY = 556;
// The header buttons' faces carry a glyph at the left (ending at x 20 of their drawn width, 105
// and 86) and are stretched to the button: the title is centred in what lies right of the
// stretched glyph. Each button is its title's measured width plus a margin for the glyph.
constexpr float kHeaderGlyphEnd = 20;
constexpr float kHomepageFaceWidth = 105;
constexpr float kAboutFaceWidth = 86;
constexpr float kHomepageMargin = 26;
constexpr float kAboutMargin = 36;
constexpr int kDescPointSize = 13;
constexpr int kFloorPointSize = 10;

QPixmap picture(const QString& name) { return Language::pixmapWithfileName(name); }

QString headerTitle() {
    return QStringLiteral("%1 %2 ").arg(localized(QStringLiteral("Ixy-de-Rz5.title")), Language::getCurrentVersion());
}

// Sizes button to its title (measured in a 200 x 22 box) and the margin; the title starts after
// the stretched glyph.
float fitHeaderButton(kestrel::widgets::ZorButton* button, float faceWidth, float margin) {
    const float title = float(services::HelpClass::getWidthOfText(button->contentTitle(), 200, 22, button->font()).width());
    const float width = title + margin;
    button->setLeftIconWidth(std::ceil(kHeaderGlyphEnd * width / faceWidth));
    return width;
}

// The header buttons' titles begin with a blank, as their faces expect.
QString headerButtonTitle(const char* key) { return QLatin1Char(' ') + localized(QLatin1String(key)); }
}  // namespace

HomeViewController::HomeViewController(QWidget* parent) : QWidget(parent) {
    setFixedSize(kViewWidth, kViewHeight);
    kestrel::widgets::setBackgroundColor(this, kestrel::widgets::kDarkWindowColor);
    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(platform::kWillCloseNotification, [this](const platform::Notification&) { childEnable(); }, this);
    center.addObserver(platform::kChangeLanguageNotification, [this](const platform::Notification&) { changeLanguage(); }, this);
    buildHeader();
    buildTiles();
    changeLanguage();
}

void HomeViewController::buildHeader() {
    appIconView_ = new QLabel(this);
    appIconView_->setScaledContents(true);
    appIconView_->setPixmap(kestrel::widgets::applicationIcon());
    kestrel::widgets::setFrame(appIconView_, QRectF(24, kViewHeight - 24 - 52, 52, 52));

    windowTitleLabel_ = new QLabel(this);
    kestrel::widgets::setPointSize(windowTitleLabel_, 18);
    kestrel::widgets::setFrame(windowTitleLabel_, QRectF(92, kViewHeight - 50, 420, 28));
    descLabel_ = new QLabel(this);
    kestrel::widgets::setPointSize(descLabel_, 13);
    kestrel::widgets::setFrame(descLabel_, QRectF(92, kViewHeight - 78, kViewWidth - 92 - 24, 22));
    // The header reads from the icon in every language: Arabic text reads right to left inside
    // the label but the label keeps its place, as the tiles keep theirs.
    for (QLabel* label : {windowTitleLabel_, descLabel_}) label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter | Qt::AlignAbsolute);
    kestrel::widgets::setTextColor(windowTitleLabel_, kestrel::widgets::kTextColor);
    kestrel::widgets::setTextColor(descLabel_, kestrel::widgets::kTextColor);

    homepageBtn_ = new kestrel::widgets::ZorButton(this);
    // The pictures are whole faces with a glyph at the left; the title goes beside the glyph.
    homepageBtn_->setNormalBackgroundImage(picture(QStringLiteral("ZantImage/Main/btnHomepage_Normal.png")));
    homepageBtn_->setOnBackgroundImage(picture(QStringLiteral("ZantImage/Main/btnHomepage_On.png")));
    homepageBtn_->setDownBackgroundImage(picture(QStringLiteral("ZantImage/Main/btnHomepage_Down.png")));
    homepageBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { homepageAction(); });
    aboutBtn_ = new kestrel::widgets::ZorButton(this);
    aboutBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton* button) { aboutAction(button); });
    for (kestrel::widgets::ZorButton* button : {homepageBtn_, aboutBtn_}) {
        button->setContentColor(kestrel::widgets::kTextColor);
        button->setOnColor(kestrel::widgets::kHoverTextColor);
        button->setBordered(false);
        kestrel::widgets::setPointSize(button, 13);
    }
    // Placement before the titles are measured; changeLanguage sizes them to their texts.
    const bool english = Language::isEnglishLanguage();
    const float homeWidth = english ? 105 : 60;
    const float aboutWidth = english ? 86 : 60;
    const float homeX = kViewWidth - homeWidth - 20;
    kestrel::widgets::setFrame(homepageBtn_, QRectF(homeX, kHeaderButtonY, homeWidth, 26));
    kestrel::widgets::setFrame(aboutBtn_, QRectF(homeX - aboutWidth - 20, kHeaderButtonY, aboutWidth, 26));
}

void HomeViewController::buildTiles() {
    subFunView_ = new QWidget(this);
    const int rows = (kHomeTileCount + kTileColumns - 1) / kTileColumns;
    const int width = kViewWidth - 40;
    const int height = rows * kTileHeight + (rows - 1) * kTileRowGap;
    kestrel::widgets::setFrame(subFunView_, QRectF(20, 20, width, height));
    const int columnGap = (width - kTileColumns * kTileWidth) / (kTileColumns - 1);
    for (int tag = 1; tag <= kHomeTileCount; ++tag) {
        auto* tile = new kestrel::widgets::ZorButton(subFunView_);
        tile->setTag(tag);
        const int column = (tag - 1) % kTileColumns, row = (tag - 1) / kTileColumns;
        // Rows run from the top; frames count from the bottom.
        kestrel::widgets::setFrame(tile, QRectF(column * (kTileWidth + columnGap), height - (row + 1) * kTileHeight - row * kTileRowGap,
                                        kTileWidth, kTileHeight));
        styleTile(tile, subFunImageName(tag - 1));
    }
}

void HomeViewController::styleTile(kestrel::widgets::ZorButton* tile, const QString& name) {
    // A button lays its children out from the top (it is a flipped view).
    auto* label = new TileTitle(tile);
    label->showTitle(localized(name + "_Title"));

    const QPixmap symbol = picture(QStringLiteral("ZantImage/Main/btn%1_Normal@2x.png").arg(name));
    tile->setNormalImage(symbol);
    tile->setOnImage(symbol);
    tile->setDownImage(symbol);
    tile->setDisAbleImage(symbol);
    tile->setImagePosition(kestrel::widgets::ImagePosition::ImageOverlaps);
    tile->setNormalBackgroundImage(picture(QStringLiteral("ZantImage/Main/btnCommon_Normal@2x.png")));
    tile->setOnBackgroundImage(picture(QStringLiteral("ZantImage/Main/btnCommon_On@2x.png")));
    tile->setDownBackgroundImage(picture(QStringLiteral("ZantImage/Main/btnCommon_Down@2x.png")));
    tile->setDisAbleBackgroundImage(picture(QStringLiteral("ZantImage/Main/btnCommon_Disable@2x.png")));
    tile->setBordered(false);

    tile->setMouseEntered([this, label, name](kestrel::widgets::ZorButton*) {
        label->setTextColor(kestrel::widgets::kHoverTextColor);
        kestrel::widgets::fitOneLine(descLabel_, localized(name + "_PlaceholderString"), kDescPointSize, kFloorPointSize);
    });
    tile->setMouseExited([label](kestrel::widgets::ZorButton*) {
        // The hint of the tile last pointed at stays in the description line.
        label->setTextColor(kestrel::widgets::kTextColor);
    });
    tile->setMouseDownAction([this, label](kestrel::widgets::ZorButton* button) {
        // The tool opens after the click has been handled.
        QPointer<kestrel::widgets::ZorButton> pressed(button);
        QPointer<HomeViewController> self(this);
        platform::dispatchMainAsync([self, pressed, label] {
            if (!self || !pressed) return;
            self->subFunAction(pressed);
            if (!pressed) return;
            pressed->setButtonState(0);
            label->setTextColor(kestrel::widgets::kTextColor);
        });
    });
}

kestrel::widgets::ZorButton* HomeViewController::tileWithTag(int tag) const {
    for (auto* tile : subFunView_->findChildren<kestrel::widgets::ZorButton*>(Qt::FindDirectChildrenOnly))
        if (tile->tag() == tag) return tile;
    return nullptr;
}

TileTitle* HomeViewController::tileLabel(const kestrel::widgets::ZorButton* tile) {
    return tile ? tile->findChild<TileTitle*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void HomeViewController::changeLanguage() {
    windowTitleLabel_->setText(headerTitle());
    homepageBtn_->setContentTitle(headerButtonTitle("Homepage.title"));
    showTagline();
    aboutBtn_->setContentTitle(headerButtonTitle("aboutBtnTitle"));
    const QPixmap aboutPicture = picture(QStringLiteral("Main/btnAbout_Normal.png"));
    aboutBtn_->setNormalBackgroundImage(aboutPicture);
    aboutBtn_->setOnBackgroundImage(aboutPicture);
    aboutBtn_->setDownBackgroundImage(aboutPicture);
    layoutHeaderButtons();
    for (int tag = 1; tag <= kHomeTileCount; ++tag)
        if (TileTitle* label = tileLabel(tileWithTag(tag))) label->showTitle(localized(subFunImageName(tag - 1) + "_Title"));
    aboutBtn_->update();
    homepageBtn_->update();
    kestrel::widgets::applyTextDirection(this);
}

void HomeViewController::showTagline() {
    kestrel::widgets::fitOneLine(descLabel_, localized(QStringLiteral("viewController_normalDescLabelString")), kDescPointSize,
                                 kFloorPointSize);
}

void HomeViewController::layoutHeaderButtons() {
    const float homeWidth = fitHeaderButton(homepageBtn_, kHomepageFaceWidth, kHomepageMargin);
    const float aboutWidth = fitHeaderButton(aboutBtn_, kAboutFaceWidth, kAboutMargin);
    const float y = float(kestrel::widgets::frameOf(homepageBtn_).y());
    const float homeX = float(width()) - homeWidth - 10;
    kestrel::widgets::setFrame(homepageBtn_, QRectF(homeX, y, homeWidth, 26));
    kestrel::widgets::setFrame(aboutBtn_, QRectF(homeX - aboutWidth - 10, y, aboutWidth, 26));
}

void HomeViewController::childEnable() {
    QWidget* home = window();
    home->show();
    home->raise();
    home->activateWindow();
    changeLanguage();
}

void HomeViewController::homepageAction() { openUserGuide(); }

void HomeViewController::aboutAction(const QObject* sender) {
    if (!sender) return;
    AboutUsWindowController about(window());
    about.setGeometry(frameCentredOver(window(), QSizeF(480, 270)));
    about.runModal();
}

void HomeViewController::showAlert() { showMessage(QStringLiteral("ShowFunMessage")); }

void HomeViewController::showMessage(const QString& messageKey) {
    kestrel::widgets::AlertWindowController alert(window());
    alert.setGeometry(frameCentredOver(window(), QSizeF(416, 180)));
    alert.setTitle(windowTitleLabel_->text());
    alert.setMessage(messageKey);
    alert.setLeftBtnTitle(QString());
    alert.leftBtn()->hide();
    alert.setRightBtnTitle(QStringLiteral("OKBtnTitle"));
    QRectF right = kestrel::widgets::frameOf(alert.rightBtn());
    right.moveLeft(208 - right.width() / 2);
    kestrel::widgets::setFrame(alert.rightBtn(), right);
    alert.changeLanguage();
    alert.runModal();
}

QStringList HomeViewController::openFile(bool allowPictures, bool allowAudio) {
    kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
    request.allowedFileTypes = kestrel::widgets::openPanelFileTypes(allowPictures, allowAudio);
    request.allowsMultipleSelection = allowPictures;
    const QStringList chosen = kestrel::widgets::runOpenPanel(request);
    QStringList allowed;
    for (const QString& path : chosen)
        if (kestrel::widgets::hasAllowedExtension(path, request.allowedFileTypes)) allowed << path;
    if (allowed.isEmpty() && !chosen.isEmpty()) showMessage(QStringLiteral("Main_Unsupported_File"));
    return allowed;
}

void HomeViewController::showTool(QWidget* toolWindow, const QString& titleKey, std::optional<QSizeF> fixedSize) {
    if (fixedSize) fixSizeCentred(toolWindow, *fixedSize);
    else centreOnScreen(toolWindow);
    // The tool window is on screen before the home window goes, so the application never
    // finds itself without a window.
    presentToolWindow(toolWindow, titleKey);
    Q_EMIT toolOpened(toolWindow, toolWindow);
    window()->close();
}

}  // namespace app

#include "app/view_controller.h"

#include "app/about_us_window_controller.h"
#include "app/app_delegate.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/dialogs/file_kinds.h"
#include "app/links.h"
#include "app/main_menu.h"
#include "widgets/dialogs/open_panel.h"
#include "app/window_placement.h"
#include "editor/edit_video_window_controller.h"
#include "platform/dispatch.h"
#include "widgets/widget_frame.h"
#include "platform/notification_center.h"
#include "services/help_class.h"
#include "services/language.h"
#include "tools/cutter/batch_cutter_window_controller.h"
#include "tools/cutter/easy_cutter_windowcontroller.h"
#include "tools/joiner/joinner_window_controller.h"
#include "tools/splitter/split_window_controller.h"
#include "widgets/zor_button.h"
#include "widgets/zor_image_view.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <array>
#include <memory>

namespace app {

using services::Language;
using services::localized;

namespace {
const QColor kBrandBlue(33, 176, 235);
const QColor kPanelGrey(245, 245, 245);
constexpr int kViewWidth = 760;
constexpr int kViewHeight = 460;
constexpr int kButtonWidth = 160;
constexpr int kButtonHeight = 90;

struct ToolButtonSpec {
    const char* picture;   // stem under "Main/"
    const char* hoverKey;
    const char* labelKey;
    void (ViewController::*action)();
};

// In the order of enable: crop first.
const std::array<ToolButtonSpec, 11> kToolButtons = {{
    {"btnCrop", "Crop_PlaceholderString", "tool_cropItemTitle", &ViewController::cropAction},
    {"btnEasyCut", "EasyCut_PlaceholderString", "EasycutterstringValue", &ViewController::easy_cutterAction},
    {"btnBatchCut", "BatchCut_PlaceholderString", "BatchcutterstringValue", &ViewController::batch_cutterAction},
    {"btnAdvancedCut", "AdvancedCut_PlaceholderString", "AdvancedCutterstringValue", &ViewController::advanced_cutterAction},
    {"btnJoin", "Joinner_PlaceholderString", "JoinnervideoWinTitle", &ViewController::joinnerAction},
    {"btnRotation", "Rotate_PlaceholderString", "tool_rotateItemTitle", &ViewController::rotateAction},
    {"btnSplit", "Split_PlaceholderString", "SplitBtnstringValue", &ViewController::splitAction},
    {"btnWatermark", "Watermark_PlaceholderString", "tool_watermarkItemTitle", &ViewController::watermarkAction},
    {"btnSubtitle", "Subtitle_PlaceholderString", "tool_subtitleItemTitle", &ViewController::subtitleAction},
    {"btnEffect", "Effect_PlaceholderString", "tool_effectItemTitle", &ViewController::effectAction},
    {"btnMusic", "AddMusic_PlaceholderString", "tool_musicBtnTitle", &ViewController::addOrremovemusicAction},
}};

QString normalDescription() {
    // The application's name, then the hint (a space between them so the two read apart).
    return localized(QStringLiteral("Title")) + " " + localized(QStringLiteral("viewController_normalDescLabelString"));
}

void sizeToTitle(kestrel::widgets::ZorButton* button, const QString& title) {
    button->setContentTitle(title);
    const double width = services::HelpClass::getWidthOfText(title, 150, 20, button->font()).width() + 25;
    QRectF frame = kestrel::widgets::frameOf(button);
    frame.setWidth(width);
    kestrel::widgets::setFrame(button, frame);
}
}  // namespace

ViewController::ViewController(QWidget* parent) : QWidget(parent) {
    setFixedSize(kViewWidth, kViewHeight);
    kestrel::widgets::setBackgroundColor(this, kBrandBlue);
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kWillCloseNotification, [this](const platform::Notification&) { childEnable(); }, this);
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) { viewDidLayout(); }, this);

    backImageView_ = new kestrel::widgets::ZorImageView(this);
    backImageView_->setBackGroundColor(kPanelGrey);
    backImageView_->setBordColor(kPanelGrey);
    backImageView_->setCornerRadius(1.0f);
    backImageView_->setBorderWidth(0);
    kestrel::widgets::setFrame(backImageView_, QRectF(10, 10, kViewWidth - 20, kViewHeight - 80));

    descLabel1_ = new QLabel(normalDescription(), this);
    kestrel::widgets::setTextColor(descLabel1_, kBrandBlue);
    kestrel::widgets::setFrame(descLabel1_, QRectF(20, 20, kViewWidth - 40, 22));

    homepageButton_ = new kestrel::widgets::ZorButton(this);
    // The pictures are whole faces with a glyph at the left; the title goes beside the glyph.
    homepageButton_->setNormalBackgroundImage(Language::pixmapWithfileName(QStringLiteral("Main/btnHomepage_Normal.png")));
    homepageButton_->setContentColor(Qt::white);
    homepageButton_->setLeftIconWidth(20);
    kestrel::widgets::setFrame(homepageButton_, QRectF(kViewWidth - 130, kViewHeight - 48, 120, 26));
    homepageButton_->setMouseDownAction([](kestrel::widgets::ZorButton*) {
        platform::dispatchMainAsync([] { openUserGuide(); });
    });
    aboutButton_ = new kestrel::widgets::ZorButton(this);
    aboutButton_->setNormalBackgroundImage(Language::pixmapWithfileName(QStringLiteral("Main/btnAbout_Normal.png")));
    aboutButton_->setContentColor(Qt::white);
    aboutButton_->setLeftIconWidth(20);
    kestrel::widgets::setFrame(aboutButton_, QRectF(kViewWidth - 260, kViewHeight - 48, 120, 26));
    aboutButton_->setMouseDownAction([this](kestrel::widgets::ZorButton* button) {
        QPointer<ViewController> self(this);
        QPointer<kestrel::widgets::ZorButton> sender(button);
        platform::dispatchMainAsync([self, sender] {
            if (self) self->aboutAction(sender);
        });
    });

    langeuagePopBtn_ = new QComboBox(this);
    kestrel::widgets::setFrame(langeuagePopBtn_, QRectF(20, kViewHeight - 48, 160, 26));
    langeuagePopBtn_->addItem(localized(QStringLiteral("LanguageBtnTitle")));
    for (int index = 0; index < Language::kLanguageCount; ++index)
        langeuagePopBtn_->addItem(languageItemTitle(index));
    connect(langeuagePopBtn_, &QComboBox::activated, this, [this] {
        if (AppDelegate* delegate = AppDelegate::sharedAppDelegate()) delegate->langeuageAction(langeuagePopBtn_);
        langeuageAction();
    });

    buildToolButtons();
    initButtonTitle();
    viewDidLayout();
}

void ViewController::buildToolButtons() {
    for (std::size_t i = 0; i < kToolButtons.size(); ++i) {
        const ToolButtonSpec& spec = kToolButtons[i];
        auto* button = new kestrel::widgets::ZorButton(this);
        const QString stem = QStringLiteral("Main/") + QString::fromLatin1(spec.picture);
        button->setNormalBackgroundImage(Language::pixmapWithfileName(stem + "_Normal.bmp"));
        button->setOnBackgroundImage(Language::pixmapWithfileName(stem + "_On.bmp"));
        button->setDownBackgroundImage(Language::pixmapWithfileName(stem + "_Down.bmp"));
        button->setDisAbleBackgroundImage(Language::pixmapWithfileName(stem + "_Disable.bmp"));
        const int column = int(i % 4), row = int(i / 4);
        kestrel::widgets::setFrame(button, QRectF(30 + column * (kButtonWidth + 20), kViewHeight - 90 - (row + 1) * (kButtonHeight + 10),
                                          kButtonWidth, kButtonHeight));
        const QString hoverKey = QString::fromLatin1(spec.hoverKey);
        button->setMouseEntered([this, hoverKey](kestrel::widgets::ZorButton*) { descLabel1_->setText(localized(hoverKey)); });
        button->setMouseExited([this](kestrel::widgets::ZorButton*) { descLabel1_->setText(normalDescription()); });
        const auto action = spec.action;
        button->setMouseDownAction([this, action](kestrel::widgets::ZorButton*) {
            QPointer<ViewController> self(this);
            platform::dispatchMainAsync([self, action] {
                if (self) (self.data()->*action)();
            });
        });
        toolButtons_.push_back(button);
    }
}

void ViewController::initButtonTitle() {
    for (kestrel::widgets::ZorButton* button : toolButtons_) {
        auto* label = new QLabel(button);
        label->setGeometry(10, button->height() - 25, button->width() - 20, 20);
        kestrel::widgets::setPointSize(label, 13);
        kestrel::widgets::setTextColor(label, Qt::white);
        label->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    }
}

QLabel* ViewController::buttonLabel(const kestrel::widgets::ZorButton* button) {
    return button ? button->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void ViewController::viewDidLayout() {
    window()->setWindowTitle(localized(QStringLiteral("Ixy-de-Rz5.title")));
    sizeToTitle(homepageButton_, localized(QStringLiteral("HomepageBtnTitle")));
    QRectF home = kestrel::widgets::frameOf(homepageButton_);
    home.moveLeft(kViewWidth - 5 - home.width());
    kestrel::widgets::setFrame(homepageButton_, home);
    sizeToTitle(aboutButton_, localized(QStringLiteral("aboutBtnTitle")));
    QRectF about = kestrel::widgets::frameOf(aboutButton_);
    about.moveLeft(home.x() - 5 - about.width());
    kestrel::widgets::setFrame(aboutButton_, about);
    for (std::size_t i = 0; i < toolButtons_.size(); ++i)
        if (QLabel* label = buttonLabel(toolButtons_[i])) label->setText(localized(QString::fromLatin1(kToolButtons[i].labelKey)));
    langeuagePopBtn_->setItemText(0, localized(QStringLiteral("LanguageBtnTitle")));
    kestrel::widgets::applyTextDirection(this);
}

void ViewController::langeuageAction() {
    descLabel1_->setText(normalDescription());
    viewDidLayout();
}

void ViewController::enable(bool enabled) {
    for (kestrel::widgets::ZorButton* button : toolButtons_) button->setEnabled(enabled);
    langeuagePopBtn_->setEnabled(enabled);
    aboutButton_->setEnabled(enabled);
    homepageButton_->setEnabled(enabled);
}

void ViewController::childEnable() { enable(true); }

void ViewController::aboutAction(const QObject* sender) {
    if (!sender) return;
    AboutUsWindowController about(window());
    about.setGeometry(frameCentredOver(window(), QSizeF(480, 270)));
    about.runModal();
}

void ViewController::showTool(QWidget* toolWindow, const QString& titleKey) {
    centreOnScreen(toolWindow);
    enable(false);
    presentToolWindow(toolWindow, titleKey);
}

void ViewController::openEditor(qint64 toolItemType, const QString& titleKey) {
    // The editor asks for its own file and frees itself once its window has closed.
    auto* editor = new EditVideoWindowController();
    editor->setToolItemType(toolItemType);
    enable(false);
    editor->showWindow(localized(titleKey));
}

void ViewController::cropAction() { openEditor(4, QStringLiteral("Crop_Title")); }
void ViewController::effectAction() { openEditor(8, QStringLiteral("Effect_Title")); }
void ViewController::subtitleAction() { openEditor(32, QStringLiteral("Subtitle_Title")); }
void ViewController::watermarkAction() { openEditor(16, QStringLiteral("Watermark_Title")); }
void ViewController::advanced_cutterAction() { openEditor(1, QStringLiteral("AdvancedCut_Title")); }
void ViewController::rotateAction() { openEditor(2, QStringLiteral("Rotate_Title")); }
void ViewController::addOrremovemusicAction() { openEditor(64, QStringLiteral("AddMusic_Title")); }
void ViewController::joinnerAction() { showTool(new joiner::JoinnerWindowController(), QStringLiteral("Joiner_Title")); }
void ViewController::easy_cutterAction() {
    showTool(new kestrel::tools::cutter::EasyCutterWindowcontroller(), QStringLiteral("EasyCut_Title"));
}
void ViewController::batch_cutterAction() {
    showTool(new kestrel::tools::cutter::BatchCutterWindowController(), QStringLiteral("BatchCut_Title"));
}

void ViewController::splitAction() {
    auto splitter = std::make_unique<splitter::SplitWindowController>();
    splitter->setFilePath(openFile());
    if (splitter->filePath().isEmpty()) return;
    showTool(splitter.release(), QStringLiteral("Split_Title"));
}

QString ViewController::openFile() {
    kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
    request.allowedFileTypes = kestrel::widgets::openPanelFileTypes(false, true);
    const QStringList chosen = kestrel::widgets::runOpenPanel(request);
    if (chosen.isEmpty() || !kestrel::widgets::hasAllowedExtension(chosen.first(), request.allowedFileTypes)) return QString();
    return chosen.first();
}

}  // namespace app

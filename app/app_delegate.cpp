#include "app/app_delegate.h"

#include "app/about_us_window_controller.h"
#include "app/links.h"
#include "app/main_menu.h"
#include "app/preferred_languages.h"
#include "app/window_placement.h"
#include "export/ui/export_window_controller.h"
#include "platform/notification_center.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "session/export/hardware_encoding.h"
#include "widgets/dialogs/dark_look.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace app {

namespace {
QPointer<AppDelegate>& sharedInstance() {
    static QPointer<AppDelegate> instance;
    return instance;
}
}  // namespace

AppDelegate::AppDelegate(QObject* parent) : QObject(parent) {
    sharedInstance() = this;
    // Set explicitly, so Qt's own Arabic translation does not mirror the windows: only the
    // text inside each control reads right to left.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    exportkit::ExportWindowController::setHardwareEncodingProbe(kestrel::session::hardwareEncodingAvailable);
}

AppDelegate::~AppDelegate() = default;

AppDelegate* AppDelegate::sharedAppDelegate() { return sharedInstance(); }

void AppDelegate::applicationDidFinishLaunching(QWidget* mainWindow) {
    if (mainMenu_) titleMainMenu(mainMenu_, false);
    if (mainWindow) {
        // The title-bar colour as the window's own; the dark content covers all of it.
        QPalette palette = mainWindow->palette();
        palette.setColor(QPalette::Window, kestrel::widgets::kTitleBarColor);
        mainWindow->setPalette(palette);
        mainWindow->setAutoFillBackground(true);
        mainWindow->setWindowTitle(services::localized(QStringLiteral("Ixy-de-Rz5.title")));
    }
    if (helpItemBtn_) connect(helpItemBtn_, &QAction::triggered, this, &AppDelegate::showHelpAction, Qt::UniqueConnection);
    QApplication::setQuitOnLastWindowClosed(applicationShouldTerminateAfterLastWindowClosed());
}

void AppDelegate::langeuageAction(const QComboBox* popUp) {
    if (popUp) setLange(popUp->currentIndex() - 1);
}

void AppDelegate::changeLangeuage(const QAction* item) {
    if (item) setLange(tagOf(item) - menu_tag::kFirstLanguage);
}

void AppDelegate::setLange(qint64 index) {
    platform::UserDefaults& defaults = platform::UserDefaults::standard();
    defaults.setInteger(QStringLiteral("AppLanguage"), index);
    defaults.synchronize();
    storePreferredLanguages(index);
    services::Language::setLanguage();
    if (mainMenu_) {
        titleMainMenu(mainMenu_, true);
        for (QMenu* menu : mainMenu_->findChildren<QMenu*>()) kestrel::widgets::applyTextDirection(menu);
    }
    platform::NotificationCenter::defaultCenter().post(platform::kChangeLanguageNotification);
}

void AppDelegate::showHelpAction() { openUserGuide(); }

void AppDelegate::showAboutBox() {
    QWidget* owner = QApplication::activeWindow();
    if (!owner && mainMenu_) owner = mainMenu_->window();
    AboutUsWindowController about(owner);
    about.setGeometry(frameCentredOver(owner, QSizeF(480, 270)));
    about.runModal();
}

void AppDelegate::quitAction() {
    // Tool windows close first, so they stop their jobs; one that refuses keeps the program running.
    const QWidget* home = mainMenu_ ? mainMenu_->window() : nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window != home && !window->close()) return;
    QApplication::quit();
}

}  // namespace app

#include "app/main_interface.h"

#include "app/app_delegate.h"
#include "app/home_window_controller.h"
#include "app/main_menu.h"
#include "services/language.h"
#include "session/jobs/engine_start.h"
#include "session/media/media_thumbnails.h"
#include "widgets/dialogs/dark_look.h"

#include <QMenuBar>

namespace app {

MainInterface::MainInterface() = default;
MainInterface::MainInterface(MainInterface&&) noexcept = default;
MainInterface::~MainInterface() { homeWindow.reset(); }

MainInterface& MainInterface::operator=(MainInterface&& other) noexcept {
    // The window goes before the delegate its menu reports to.
    homeWindow = std::move(other.homeWindow);
    delegate = std::move(other.delegate);
    return *this;
}

MainInterface loadMainInterface() {
    // Application-wide, before any window: every window, dialog, menu and alert made later is
    // dark without doing anything of its own.
    kestrel::widgets::applyDarkLook();
    services::Language::setLanguage();
    kestrel::session::installMediaThumbnails();
    kestrel::session::startEngines();
    MainInterface ui;
    ui.delegate = std::make_unique<AppDelegate>();
    ui.homeWindow = std::make_unique<HomeWindowController>();
    buildMainMenu(ui.homeWindow->menuBar(), ui.delegate.get());
    ui.homeWindow->fitToContent();
    ui.homeWindow->show();
    ui.delegate->applicationDidFinishLaunching(ui.homeWindow.get());
    return ui;
}

}  // namespace app

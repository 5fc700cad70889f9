#pragma once
// What the application's entry builds before its event loop: the delegate, the main menu and the
// first window (the home screen), then the delegate's launch step.
#include <memory>

namespace app {

class AppDelegate;
class HomeWindowController;

struct MainInterface {
    std::unique_ptr<AppDelegate> delegate;
    std::unique_ptr<HomeWindowController> homeWindow;  // goes before the delegate
    MainInterface();
    MainInterface(MainInterface&&) noexcept;
    MainInterface& operator=(MainInterface&& other) noexcept;
    ~MainInterface();
};

// Builds, shows and launches the main interface (a QApplication must exist).
MainInterface loadMainInterface();

}  // namespace app

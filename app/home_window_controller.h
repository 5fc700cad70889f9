#pragma once
// The home window: the home screen straight under the main menu (the desktop draws the title
// bar; no strip stands in for it).
#include <QMainWindow>

namespace app {

class HomeViewController;

class HomeWindowController : public QMainWindow {
    Q_OBJECT
public:
    explicit HomeWindowController(QWidget* parent = nullptr);

    HomeViewController* contentViewController() const { return content_; }
    // Fixes the window to its content (and menu bar) and centres it.
    void fitToContent();

private:
    HomeViewController* content_ = nullptr;
};

}  // namespace app

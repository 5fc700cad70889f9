#pragma once
// The home window: a dark window under the main menu, with a strip in the title-bar colour
// above its content, the home screen.
#include <QMainWindow>

namespace app {

class HomeViewController;

class HomeWindowController : public QMainWindow {
    Q_OBJECT
public:
    explicit HomeWindowController(QWidget* parent = nullptr);

    HomeViewController* contentViewController() const { return content_; }
    QWidget* titleBarStrip() const { return titleBarStrip_; }
    // Fixes the window to its content (and menu bar) and centres it.
    void fitToContent();

private:
    HomeViewController* content_ = nullptr;
    QWidget* titleBarStrip_ = nullptr;
};

}  // namespace app

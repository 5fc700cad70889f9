#include "app/home_window_controller.h"

#include "widgets/dialogs/app_icon.h"
#include "widgets/dialogs/dark_look.h"
#include "app/home_view_controller.h"
#include "app/window_placement.h"

#include <QMenuBar>

namespace app {

HomeWindowController::HomeWindowController(QWidget* parent) : QMainWindow(parent) {
    kestrel::widgets::setBackgroundColor(this, kestrel::widgets::kDarkWindowColor);
    setWindowIcon(kestrel::widgets::applicationWindowIcon());
    menuBar()->setStyleSheet(QStringLiteral(
        "QMenuBar { background: rgb(23, 26, 32); color: rgb(205, 214, 221); }"
        "QMenuBar::item:selected { background: rgb(44, 50, 61); color: rgb(96, 222, 208); }"));

    content_ = new HomeViewController(this);
    setCentralWidget(content_);
    fitToContent();
}

void HomeWindowController::fitToContent() {
    setFixedSize(sizeHint());
    centreOnScreen(this);
}

}  // namespace app

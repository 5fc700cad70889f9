#include "tools/reverse/reverse_window_controller.h"

namespace reverse {

ReverseWindowController::ReverseWindowController(QWidget* parent) : ViewHostWindow(parent) {}

void ReverseWindowController::setContentViewController(ReverseViewController* view) {
    hostView(view, [view] { view->windowWillClose(); });
}

}  // namespace reverse

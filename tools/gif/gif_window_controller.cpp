#include "tools/gif/gif_window_controller.h"

#include "tools/gif/gif_view_controller.h"

namespace gif {

GIFWindowController::GIFWindowController(QWidget* parent) : ViewHostWindow(parent) {}

void GIFWindowController::setContentViewController(GIFViewController* view) {
    hostView(view, [view] { view->windowWillClose(); });
}

GIFViewController* GIFWindowController::contentViewController() const { return static_cast<GIFViewController*>(hostedView()); }

}  // namespace gif

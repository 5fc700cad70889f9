#pragma once
// The reverse tool's window: it hosts the tool's view, which the opener sizes and sets as its content.
#include "tools/reverse/reverse_view_controller.h"
#include "widgets/view_host_window.h"

namespace reverse {

class ReverseWindowController : public kestrel::widgets::ViewHostWindow {
    Q_OBJECT
public:
    explicit ReverseWindowController(QWidget* parent = nullptr);

    // Takes the view into this window, filling it; the view tells the home screen to come back
    // while this window is still on screen.
    void setContentViewController(ReverseViewController* view);
    ReverseViewController* contentViewController() const { return static_cast<ReverseViewController*>(hostedView()); }
};

}  // namespace reverse

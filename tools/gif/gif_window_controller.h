#pragma once
// The GIF maker's window: it hosts the tool's view, which the opener sizes and sets as its content.
#include "widgets/view_host_window.h"

namespace gif {

class GIFViewController;

class GIFWindowController : public kestrel::widgets::ViewHostWindow {
    Q_OBJECT
public:
    explicit GIFWindowController(QWidget* parent = nullptr);

    // Takes the view into this window, filling it; the view tells the home screen to come back
    // while this window is still on screen.
    void setContentViewController(GIFViewController* view);
    GIFViewController* contentViewController() const;
};

}  // namespace gif

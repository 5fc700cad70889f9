#pragma once
// The reverse tool's window: it hosts the tool's view, which the opener sizes and sets as its content.
#include <QPointer>
#include <QWidget>

#include "tools/reverse/reverse_view_controller.h"

namespace reverse {

class ReverseWindowController : public QWidget {
    Q_OBJECT
public:
    explicit ReverseWindowController(QWidget* parent = nullptr);

    // Takes the view into this window, filling it.
    void setContentViewController(ReverseViewController* view);
    ReverseViewController* contentViewController() const { return content_; }

protected:
    // The view tells the home screen to come back while this window is still on screen.
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<ReverseViewController> content_;
};

}  // namespace reverse

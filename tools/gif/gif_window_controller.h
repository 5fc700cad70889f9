#pragma once
// The GIF maker's window: it hosts the tool's view, which the opener sizes and sets as its content.
#include <QPointer>
#include <QWidget>

namespace gif {

class GIFViewController;

class GIFWindowController : public QWidget {
    Q_OBJECT
public:
    explicit GIFWindowController(QWidget* parent = nullptr);

    // Takes the view into this window, filling it.
    void setContentViewController(GIFViewController* view);
    GIFViewController* contentViewController() const { return content_; }

protected:
    // The view tells the home screen to come back while this window is still on screen.
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<GIFViewController> content_;
};

}  // namespace gif

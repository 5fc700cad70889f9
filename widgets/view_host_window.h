#pragma once
// A tool window that hosts the tool's view, filling it: the opener sizes the view and sets it as
// the window's content; the view is told before the window closes, while it is still on screen.
#include <QPointer>
#include <QWidget>
#include <functional>

namespace kestrel::widgets {

class ViewHostWindow : public QWidget {
    Q_OBJECT
public:
    explicit ViewHostWindow(QWidget* parent = nullptr);

protected:
    // Takes view in place of the last one, which is deleted; the window takes the view's size.
    // willClose runs when the window is about to close, as long as the view lives.
    void hostView(QWidget* view, std::function<void()> willClose);
    QWidget* hostedView() const { return view_; }

    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<QWidget> view_;
    std::function<void()> willClose_;
};

}  // namespace kestrel::widgets

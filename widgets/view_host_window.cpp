#include "widgets/view_host_window.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "widgets/tool_window.h"

namespace kestrel::widgets {

ViewHostWindow::ViewHostWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    applyToolWindowLook(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void ViewHostWindow::hostView(QWidget* view, std::function<void()> willClose) {
    if (view_ == view) return;
    delete view_;
    view_ = view;
    willClose_ = std::move(willClose);
    if (!view) return;
    resize(view->size());
    layout()->addWidget(view);
}

void ViewHostWindow::closeEvent(QCloseEvent* event) {
    if (view_ && willClose_) willClose_();
    event->accept();
}

}  // namespace kestrel::widgets

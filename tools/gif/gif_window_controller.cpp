#include "tools/gif/gif_window_controller.h"

#include "tools/gif/gif_view_controller.h"
#include "widgets/tool_window.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace gif {

GIFWindowController::GIFWindowController(QWidget* parent) : QWidget(parent, Qt::Window) {
    kestrel::widgets::applyToolWindowLook(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void GIFWindowController::setContentViewController(GIFViewController* view) {
    if (content_ == view) return;
    delete content_;
    content_ = view;
    if (!view) return;
    resize(view->size());
    layout()->addWidget(view);
}

void GIFWindowController::closeEvent(QCloseEvent* event) {
    if (content_) content_->windowWillClose();
    event->accept();
}

}  // namespace gif

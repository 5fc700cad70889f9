#include "editor/editor_window.h"

#include <QCloseEvent>

namespace kestrel::editor {

void EditorWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted() && onClose) onClose();
}

void EditorWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (onResize) onResize();
}

void EditorWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && onFullScreen) onFullScreen(isFullScreen());
}

}  // namespace kestrel::editor

#include "widgets/widget_frame.h"

#include <QWidget>

#include "platform/frame.h"

namespace kestrel::widgets {

void setFrame(QWidget* widget, const QRectF& frame) {
    if (!widget) return;
    QWidget* parent = widget->parentWidget();
    if (!parent || widget->isWindow()) {
        widget->setGeometry(platform::qtRectFromFrame(frame, 0, true));
        return;
    }
    widget->setGeometry(platform::qtRectFromFrame(frame, parent->height(), platform::isFlipped(parent)));
}

QRectF frameOf(const QWidget* widget) {
    if (!widget) return {};
    const QWidget* parent = widget->parentWidget();
    if (!parent || widget->isWindow()) return QRectF(widget->geometry());
    return platform::frameFromQtRect(widget->geometry(), parent->height(), platform::isFlipped(parent));
}

QRectF boundsOf(const QWidget* widget) {
    return widget ? QRectF(0, 0, widget->width(), widget->height()) : QRectF();
}

}  // namespace kestrel::widgets

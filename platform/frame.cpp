#include "platform/frame.h"

#include <QVariant>
#include <QWidget>
#include <cmath>

namespace platform {
namespace {
constexpr const char* kFlippedProperty = "kestrelFlipped";

int roundToInt(qreal v) { return static_cast<int>(std::lround(v)); }
}  // namespace

void setFlipped(QWidget* view, bool flipped) {
    if (view) view->setProperty(kFlippedProperty, flipped);
}

bool isFlipped(const QWidget* view) { return view && view->property(kFlippedProperty).toBool(); }

QRect qtRectFromFrame(const QRectF& frame, qreal parentHeight, bool parentFlipped) {
    const qreal top = parentFlipped ? frame.y() : parentHeight - frame.y() - frame.height();
    // Round the edges, not origin and size, so adjacent frames stay adjacent.
    const int left = roundToInt(frame.x());
    const int right = roundToInt(frame.x() + frame.width());
    const int qtTop = roundToInt(top);
    const int bottom = roundToInt(top + frame.height());
    return QRect(left, qtTop, right - left, bottom - qtTop);
}

QRectF frameFromQtRect(const QRect& rect, qreal parentHeight, bool parentFlipped) {
    const qreal y = parentFlipped ? rect.y() : parentHeight - rect.y() - rect.height();
    return QRectF(rect.x(), y, rect.width(), rect.height());
}

void setFrame(QWidget* widget, const QRectF& frame) {
    if (!widget) return;
    QWidget* parent = widget->parentWidget();
    if (!parent || widget->isWindow()) {
        widget->setGeometry(qtRectFromFrame(frame, 0, true));
        return;
    }
    widget->setGeometry(qtRectFromFrame(frame, parent->height(), isFlipped(parent)));
}

QRectF frameOf(const QWidget* widget) {
    if (!widget) return {};
    const QWidget* parent = widget->parentWidget();
    if (!parent || widget->isWindow()) return QRectF(widget->geometry());
    return frameFromQtRect(widget->geometry(), parent->height(), isFlipped(parent));
}

QPointF pointFromQt(const QPointF& p, qreal viewHeight, bool viewFlipped) {
    return viewFlipped ? p : QPointF(p.x(), viewHeight - p.y());
}

QPointF qtPointFromPoint(const QPointF& p, qreal viewHeight, bool viewFlipped) {
    return viewFlipped ? p : QPointF(p.x(), viewHeight - p.y());
}

QRectF boundsOf(const QWidget* widget) {
    return widget ? QRectF(0, 0, widget->width(), widget->height()) : QRectF();
}

}  // namespace platform

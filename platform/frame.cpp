#include "platform/frame.h"

#include <QObject>
#include <QVariant>
#include <cmath>

namespace platform {
namespace {
constexpr const char* kFlippedProperty = "kestrelFlipped";

int roundToInt(qreal v) { return static_cast<int>(std::lround(v)); }
}  // namespace

void setFlipped(QObject* view, bool flipped) {
    if (view) view->setProperty(kFlippedProperty, flipped);
}

bool isFlipped(const QObject* view) { return view && view->property(kFlippedProperty).toBool(); }

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

QPointF pointFromQt(const QPointF& p, qreal viewHeight, bool viewFlipped) {
    return viewFlipped ? p : QPointF(p.x(), viewHeight - p.y());
}

QPointF qtPointFromPoint(const QPointF& p, qreal viewHeight, bool viewFlipped) {
    return viewFlipped ? p : QPointF(p.x(), viewHeight - p.y());
}

}  // namespace platform

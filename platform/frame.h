#pragma once
// Frames as window code states them: origin at the bottom-left corner of the parent, y growing
// upwards, in points; a flipped parent has its origin at the top-left like Qt. These helpers
// turn such frames into Qt geometry and back; placing a widget at a frame is widgets/widget_frame.h.
#include <QPointF>
#include <QRect>
#include <QRectF>

class QObject;

namespace platform {

// Marks a view whose children are placed with a top-left origin (a "flipped" view). The mark is
// an object property, so layers without widgets (the player) can read it too.
void setFlipped(QObject* view, bool flipped);
bool isFlipped(const QObject* view);

// Frame (bottom-left origin) inside a parent of the given height -> Qt geometry (top-left origin).
QRect qtRectFromFrame(const QRectF& frame, qreal parentHeight, bool parentFlipped = false);
// Qt geometry -> frame (bottom-left origin) inside a parent of the given height.
QRectF frameFromQtRect(const QRect& rect, qreal parentHeight, bool parentFlipped = false);

// A point in a view's bottom-left coordinates from a Qt point in the same view, and back.
QPointF pointFromQt(const QPointF& p, qreal viewHeight, bool viewFlipped = false);
QPointF qtPointFromPoint(const QPointF& p, qreal viewHeight, bool viewFlipped = false);

}  // namespace platform

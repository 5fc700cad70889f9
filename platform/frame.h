#pragma once
// Frames as window code states them: origin at the bottom-left corner of the parent, y growing
// upwards, in points; a flipped parent has its origin at the top-left like Qt. These helpers
// turn such frames into Qt geometry and back.
#include <QRect>
#include <QRectF>

class QWidget;

namespace platform {

// A widget whose children are placed with a top-left origin (a "flipped" view).
void setFlipped(QWidget* view, bool flipped);
bool isFlipped(const QWidget* view);

// Frame (bottom-left origin) inside a parent of the given height -> Qt geometry (top-left origin).
QRect qtRectFromFrame(const QRectF& frame, qreal parentHeight, bool parentFlipped = false);
// Qt geometry -> frame (bottom-left origin) inside a parent of the given height.
QRectF frameFromQtRect(const QRect& rect, qreal parentHeight, bool parentFlipped = false);

// Places a widget from a frame in its parent's coordinates (parent height and flip read from
// the parent; a widget without parent is placed in screen coordinates as a top-left frame).
void setFrame(QWidget* widget, const QRectF& frame);
QRectF frameOf(const QWidget* widget);

// A point in a view's bottom-left coordinates from a Qt point in the same view, and back.
QPointF pointFromQt(const QPointF& p, qreal viewHeight, bool viewFlipped = false);
QPointF qtPointFromPoint(const QPointF& p, qreal viewHeight, bool viewFlipped = false);

// The bounds of a view as its own code sees them: origin (0,0), its size.
QRectF boundsOf(const QWidget* widget);

}  // namespace platform

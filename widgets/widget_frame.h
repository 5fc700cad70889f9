#pragma once
// Placing widgets at bottom-left frames (platform/frame.h states the rules): the parent's height
// and flip mark are read from the parent; a widget without parent is placed in screen
// coordinates as a top-left frame.
#include <QRectF>

class QWidget;

namespace kestrel::widgets {

void setFrame(QWidget* widget, const QRectF& frame);
QRectF frameOf(const QWidget* widget);

// The bounds of a view as its own code sees them: origin (0,0), its size.
QRectF boundsOf(const QWidget* widget);

}  // namespace kestrel::widgets

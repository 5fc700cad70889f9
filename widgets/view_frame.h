#pragma once
// Frames kept in floating point. Qt places widgets on whole pixels, while the controls'
// arithmetic (handle positions, value <-> pixel) works on fractional points. The exact frame is
// remembered on the widget and trusted as long as its Qt geometry is still the one that frame
// produced; a widget moved by other means reads back its rounded frame.
#include <QRectF>
#include <QSizeF>

class QWidget;

namespace kestrel::widgets {

// Places the widget at a bottom-left frame in its parent (platform/frame.h rules) and remembers
// the exact values.
void setViewFrame(QWidget* view, const QRectF& frame);
// The exact frame last given, or the frame read from the Qt geometry when that changed since.
QRectF viewFrame(const QWidget* view);
// The view's own size as its code sees it (exact width and height).
QSizeF viewSize(const QWidget* view);

// After the parent changed size, puts every child whose exact frame is still current back at
// that frame: a child keeps its distance from the parent's bottom edge, as bottom-left frames
// imply (Qt would keep the distance from the top).
void reapplyChildFrames(QWidget* parent);

// Autoresizing masks: which margins and sizes follow a change of the superview's size.
enum AutoresizingMask : int {
    kViewNotSizable = 0,
    kViewMinXMargin = 1,
    kViewWidthSizable = 2,
    kViewMaxXMargin = 4,
    kViewMinYMargin = 8,
    kViewHeightSizable = 16,
    kViewMaxYMargin = 32,
};

// The frame a subview with the given mask takes when its superview goes from oldSize to
// newSize: the change is shared among the flexible parts in proportion to their sizes (equally
// when they are all zero).
QRectF autoresizedFrame(const QRectF& frame, const QSizeF& oldSize, const QSizeF& newSize, int mask);

}  // namespace kestrel::widgets

#include "widgets/knob_slider.h"

#include <QMouseEvent>

#include "widgets/slider_geometry.h"
#include "widgets/widget_frame.h"
#include "widgets/view_frame.h"
#include "widgets/widget_log.h"

namespace kestrel::widgets {
namespace {
// Along the slider's axis: x when horizontal, y otherwise.
double along(const QRectF& r, bool horizontal) { return horizontal ? r.x() : r.y(); }
double lengthAlong(const QRectF& r, bool horizontal) { return horizontal ? r.width() : r.height(); }
double lengthAlong(const QSizeF& s, bool horizontal) { return horizontal ? s.width() : s.height(); }

QRectF withStart(QRectF r, double start, bool horizontal) {
    if (horizontal)
        r.moveLeft(start);
    else
        r.moveTop(start);  // a bottom-left frame's y
    return r;
}

QRectF withLength(QRectF r, double length, bool horizontal) {
    if (horizontal)
        r.setWidth(length);
    else
        r.setHeight(length);
    return r;
}
}  // namespace

KnobSlider::KnobSlider(QWidget* parent) : QWidget(parent) {}

void KnobSlider::setProgress(float progress) {
    progress_ = progress;
    qCDebug(lcWidgets, "progress:%f", progress);
    // The fill reaches the knob's centre, measured with the slider's own cross size, which is
    // the knob's length when the knob is the square one of construction.
    const bool h = horizontal();
    const QSizeF size = viewSize(this);
    placeKnob(h ? size.height() / 2 : size.width() / 2);
}

void KnobSlider::setFrame(const QRectF& frame) {
    setViewFrame(this, frame);
    followNewSize();
}

void KnobSlider::resizeEvent(QResizeEvent*) {
    // Resized by other means than setFrame (a layout, widgets::setFrame).
    if (viewSize(this) != laidOutSize_) followNewSize();
}

void KnobSlider::followNewSize() {
    const QSizeF newSize = viewSize(this);
    resizeParts(laidOutSize_, newSize);
    laidOutSize_ = newSize;
    const QRectF knob = viewFrame(knob_);
    placeKnob(lengthAlong(knob, horizontal()) / 2);
    qCDebug(lcWidgets) << "frame:" << viewFrame(this);
    qCDebug(lcWidgets, "progress:%f", progress_);
    update();
}

void KnobSlider::placeKnob(double fillHalfKnob) {
    const bool h = horizontal();
    const QRectF knob = viewFrame(knob_);
    const double offset = slider::knobOffsetForValue(progress_, lengthAlong(viewSize(this), h), lengthAlong(knob, h));
    setViewFrame(knob_, withStart(knob, offset, h));
    setViewFrame(fill_, withLength(viewFrame(fill_), offset + fillHalfKnob, h));
}

void KnobSlider::dragTo(const QMouseEvent* event) {
    const bool h = horizontal();
    // Children are placed against the whole-pixel height; the pointer is measured the same way.
    const double pointer = h ? event->position().x() : height() - event->position().y();
    const QRectF track = viewFrame(track_);
    const QRectF knob = viewFrame(knob_);
    const slider::KnobDrag drag = slider::dragKnob(pointer, along(track, h), lengthAlong(track, h), lengthAlong(knob, h));
    setViewFrame(knob_, withStart(knob, drag.knobOffset, h));
    setViewFrame(fill_, withLength(viewFrame(fill_), drag.fillLength, h));
    progress_ = drag.value;
    qCDebug(lcWidgets, "progressValue:%f", progress_);
    reportProgress(progress_);
}

void KnobSlider::mousePressEvent(QMouseEvent* event) {
    if (disable_ || event->button() != Qt::LeftButton) return;
    reportPress(progress_);
    // The knob jumps to the pressed point whatever the delegate implements.
    dragTo(event);
}

void KnobSlider::mouseMoveEvent(QMouseEvent* event) {
    if (disable_ || !(event->buttons() & Qt::LeftButton)) return;
    dragTo(event);
}

void KnobSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (disable_ || event->button() != Qt::LeftButton) return;
    reportRelease(progress_);
}

}  // namespace kestrel::widgets

#include "widgets/merge_button.h"

#include <QPainter>

#include "services/language.h"
#include "widgets/image_view.h"
#include "widgets/view_frame.h"

namespace kestrel::widgets {

QRectF mergeKnobFrame(bool selected, qreal W, qreal H) {
    return selected ? QRectF(W / 2, 0, W / 2, H) : QRectF(0, 0, W / 2, H);
}

MergeButton::MergeButton(const QRectF& frame, QWidget* parent) : QAbstractButton(parent) {
    setViewFrame(this, frame);
    background_ = services::Language::pixmapWithfileName("Resources/MergeBackground.png");
    knobView_ = new ImageView(this);
    knobView_->setImageScaling(ImageScaling::AxesIndependently);
    knobView_->setImage(services::Language::pixmapWithfileName("Resources/MergeKnob.png"));
    setViewFrame(knobView_, mergeKnobFrame(false, frame.width(), frame.height()));
}

void MergeButton::setselected(bool selected) {
    selected_ = selected;
    knobOnRight_ = selected;
    const QSizeF size = viewSize(this);
    setViewFrame(knobView_, mergeKnobFrame(selected, size.width(), size.height()));
}

void MergeButton::resizeEvent(QResizeEvent*) {
    // The knob keeps its half and follows the height.
    const QSizeF size = viewSize(this);
    setViewFrame(knobView_, mergeKnobFrame(knobOnRight_, size.width(), size.height()));
}

void MergeButton::paintEvent(QPaintEvent*) {
    if (background_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF target = imageRectInBounds(pointSize(background_), QRectF(rect()), ImageScaling::ProportionallyDown,
                                            ImageAlignment::Center);
    painter.drawPixmap(target, background_, QRectF(background_.rect()));
}

}  // namespace kestrel::widgets

#include "widgets/zor_dragged_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "widgets/view_frame.h"

namespace kestrel::widgets {
namespace {
constexpr double kRightMargin = 10;
constexpr double kPinRadius = 4.5;
constexpr double kPinTopInset = 10;
constexpr double kLineWidth = 2;
constexpr double kMarkOffset = 2;
constexpr double kSmallestRepeatWidth = 1;
}  // namespace

double draggedViewX(double pointerXInSuperview, double grabOffset, double superviewWidth, double viewWidth,
                    double rightMargin) {
    double x = pointerXInSuperview - grabOffset;
    x = std::min(x, superviewWidth - viewWidth - rightMargin);
    return std::max(x, 0.0);
}

std::vector<double> repeatMarkXs(double repeatWidth, double viewWidth) {
    std::vector<double> xs;
    if (!(repeatWidth >= kSmallestRepeatWidth) || repeatWidth > viewWidth) return xs;
    for (int n = 1; n * repeatWidth <= viewWidth; ++n) xs.push_back(n * repeatWidth + kMarkOffset);
    return xs;
}

ZorDraggedView::ZorDraggedView(QWidget* parent) : NamedImageView(parent) {
    // A press here is this view's own, even while it is disabled.
    setAttribute(Qt::WA_NoMousePropagation);
}

ZorDraggedView::ZorDraggedView(const QRectF& frame, QWidget* parent) : ZorDraggedView(parent) {
    setViewFrame(this, frame);
}

void ZorDraggedView::setIsDraw(bool draw) {
    isDraw_ = draw;
    update();
    updateGeometry();
}

double ZorDraggedView::dragRightMargin() const {
    if (dragRightMargin_ >= 0) return dragRightMargin_;
    return isDraw_ ? 0.0 : kRightMargin;
}

void ZorDraggedView::setRepeatWidth(float width) {
    // The marks stand in for the picture only while repeating; the picture itself is kept, so it
    // shows again once repeating ends.
    repeatWidth_ = width;
    update();
}

void ZorDraggedView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    grabOffset_ = event->position().x();
}

void ZorDraggedView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !parentWidget()) return;
    const double pointerX = mapToParent(event->position()).x();
    QRectF frame = viewFrame(this);
    frame.moveLeft(draggedViewX(pointerX, grabOffset_, viewSize(parentWidget()).width(), frame.width(), dragRightMargin()));
    setViewFrame(this, frame);
    if (delegate_) delegate_->mouseDraggedWithSender(this);
}

void ZorDraggedView::paintEvent(QPaintEvent* event) {
    if (!(repeatWidth_ > 0)) NamedImageView::paintEvent(event);
    QPainter painter(this);
    const double w = width(), h = height();
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDraw_) {
        // Qt's y runs downwards: the pin's dot sits 10 points below the top edge.
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::red);
        painter.drawEllipse(QPointF(w / 2, kPinTopInset), kPinRadius, kPinRadius);
        painter.setPen(QPen(Qt::red, kLineWidth));
        painter.drawLine(QPointF(w / 2, h), QPointF(w / 2, kPinTopInset));
    }
    const std::vector<double> marks = repeatMarkXs(repeatWidth_, w);
    if (marks.empty()) return;
    painter.setPen(QPen(Qt::white, kLineWidth));
    for (double x : marks) painter.drawLine(QPointF(x, 0), QPointF(x, h));
}

}  // namespace kestrel::widgets

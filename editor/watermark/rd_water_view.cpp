#include "editor/watermark/rd_water_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>

#include "platform/frame.h"
#include "session/edit/text_watermark_layout.h"
#include "widgets/widget_frame.h"

namespace kestrel::editor {

using kestrel::session::textAscentPixels;

RDWaterView::RDWaterView(const QRectF& frame, QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    widgets::setFrame(this, frame);
    cliprect_ = QRectF(0, 0, frame.width(), frame.height());
}

void RDWaterView::setFrameRect(const QRectF& frame) {
    widgets::setFrame(this, frame);
    update();
}

void RDWaterView::setClipRect(const QRectF& rect) {
    cliprect_ = limitedWaterBox(rect, viewSize());
    update();
}

QRectF RDWaterView::getPercentImageClipRect() const { return fractionsOfView(cliprect_, viewSize()); }

QRectF RDWaterView::getPercentTextClipRect() const { return fractionsOfView(cliprect_, viewSize()); }

void RDWaterView::setScale_Type(int type) {
    scaleType_ = type;
    if (type == 3 && !waterMark_.isNull() && waterMark_.height() > 0) {
        // The picture's shape at the box's height, narrowed to the view where it is too wide,
        // and kept over the picture.
        const double aspect = double(waterMark_.width()) / waterMark_.height();
        double height = cliprect_.height();
        double width = static_cast<float>(aspect * height);
        if (width > viewSize().width()) {
            width = viewSize().width();
            height = width / aspect;
        }
        cliprect_.setSize(QSizeF(width, height));
        cliprect_ = limitedWaterBox(cliprect_, viewSize());
    }
    update();
}

void RDWaterView::setMarkWaterType(int type) {
    markWaterType_ = type;
    update();
}

void RDWaterView::setWaterMarkAlph(int transparency) {
    waterMarkAlph_ = std::clamp(transparency, 0, 100);
    update();
}

void RDWaterView::setWaterMark(const QImage& picture) {
    waterMark_ = picture;
    update();
}

void RDWaterView::setWaterMarkString(const QString& text) {
    waterMarkString_ = text;
    update();
}

bool RDWaterView::hasContent() const { return !waterMark_.isNull() || !waterMarkString_.trimmed().isEmpty(); }

QPointF RDWaterView::boxPoint(const QPointF& qtPoint) const { return platform::pointFromQt(qtPoint, height()); }

QRectF RDWaterView::qtRectOf(const QRectF& box) const {
    return QRectF(box.x(), height() - box.y() - box.height(), box.width(), box.height());
}

void RDWaterView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF box = qtRectOf(cliprect_);
    const double opacity = 1.0 - waterMarkAlph_ / 100.0;
    if (markWaterType_ == 2 && !waterMark_.isNull()) {
        painter.setOpacity(opacity);
        painter.drawImage(box, waterMark_);
        painter.setOpacity(1.0);
    } else if (markWaterType_ == 4) {
        QColor colour = waterMarkColor();
        colour.setAlphaF(static_cast<float>(opacity));
        painter.setPen(colour);
        QFont font = waterMarkFont_;
        font.setPixelSize(std::max(1, waterMarkFont_.pixelSize() > 0 ? waterMarkFont_.pixelSize()
                                                                     : static_cast<int>(waterMarkFont_.pointSizeF())));
        painter.setFont(font);
        // Same baseline rule as the engines' text drawing, so the preview and the export agree.
        const double ascent = textAscentPixels(font.family(), font.pixelSize());
        painter.drawText(QPointF(box.left(), box.top() + ascent), waterMarkString_.isEmpty() ? " " : waterMarkString_);
    }
    if (markWaterType_ == 2) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 255));
        const double L = box.left(), R = box.right(), T = box.top(), B = box.bottom();
        QList<QRectF> handles = {QRectF(L, T, 10, 10), QRectF(R - 10, T, 10, 10), QRectF(L, B - 10, 10, 10),
                                 QRectF(R - 10, B - 10, 10, 10)};
        if (!(scaleType_ == 3 && !waterMark_.isNull())) {
            const double midY = T + box.height() / 2 - 5, midX = L + box.width() / 2 - 5;
            handles += {QRectF(L, midY, 10, 10), QRectF(R - 10, midY, 10, 10), QRectF(midX, T, 10, 10),
                        QRectF(midX, B - 10, 10, 10)};
        }
        for (const QRectF& handle : handles) painter.drawRect(handle);
    }
    if (hasContent()) {
        QPen pen(Qt::white);
        pen.setDashPattern({10, 5});
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
    }
}

void RDWaterView::mousePressEvent(QMouseEvent* event) {
    if (!enabled_) return;
    if (delegate_) delegate_->actionMouseMoveBeginForWaterViewBlock(this, QRectF());
    const QPointF p = boxPoint(event->position());
    pressInside_ = p.x() >= cliprect_.left() && p.x() < cliprect_.right() && p.y() >= cliprect_.top() &&
                   p.y() < cliprect_.bottom();
    zone_ = waterZoneAt(cliprect_, p, markWaterType_ == 2);
    if (zone_ == kZoneBody) bodyOffset_ = QPointF(float(p.x() - cliprect_.x()), float(p.y() - cliprect_.y()));
    if (!hasContent()) return;
    if (!pressInside_) setCursor(Qt::ArrowCursor);
    else if (zone_ == kZoneLeft || zone_ == kZoneRight) setCursor(Qt::SizeHorCursor);
    else if (zone_ == kZoneTop || zone_ == kZoneBottom) setCursor(Qt::SizeVerCursor);
    else setCursor(Qt::ClosedHandCursor);
}

void RDWaterView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = boxPoint(event->position());
    if (!(event->buttons() & Qt::LeftButton)) {
        updateHoverCursor(p);
        return;
    }
    if (!enabled_ || !pressInside_) return;
    const QPointF clamped(std::clamp(p.x(), 0.0, double(width())), std::clamp(p.y(), 0.0, double(height())));
    const bool keepAspect = scaleType_ == 3 && !waterMark_.isNull();
    const std::optional<QRectF> moved =
        dragWaterBox(zone_, cliprect_, clamped, viewSize(), keepAspect, waterMark_.size(), bodyOffset_);
    if (!moved) return;
    cliprect_ = *moved;
    update();
    if (delegate_) delegate_->actionMouseMovedForWaterViewBlock(this, cliprect_);
}

void RDWaterView::mouseReleaseEvent(QMouseEvent*) {
    if (!enabled_) return;
    if (hasContent()) setCursor(pressInside_ ? Qt::OpenHandCursor : Qt::ArrowCursor);
    zone_ = kZoneNone;
    if (delegate_) delegate_->actionMouseMoveEndForWaterViewBlock(this, getPercentImageClipRect());
}

void RDWaterView::updateHoverCursor(const QPointF& p) {
    if (!hasContent() || zone_ != kZoneNone) return;
    const bool inside = cliprect_.contains(p);
    if (!inside) return setCursor(Qt::ArrowCursor);
    if (markWaterType_ != 2) return setCursor(Qt::OpenHandCursor);
    const WaterZone zone = waterZoneAt(cliprect_, p, true);
    const bool keepAspect = scaleType_ == 3;
    if (zone >= kZoneTopLeft && zone <= kZoneBottomRight) setCursor(Qt::SizeHorCursor);
    else if ((zone == kZoneLeft || zone == kZoneRight) && !keepAspect) setCursor(Qt::SizeHorCursor);
    else if ((zone == kZoneTop || zone == kZoneBottom) && !keepAspect) setCursor(Qt::SizeVerCursor);
    else if (zone == kZoneBody) setCursor(Qt::OpenHandCursor);
}

}  // namespace kestrel::editor

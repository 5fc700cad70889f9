#include "widgets/zor_image_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>

namespace kestrel::widgets {

qreal zorDraggedX(qreal pointerXInParent, qreal parentWidth, qreal viewWidth) {
    return std::min(std::max<qreal>(pointerXInParent, 0), parentWidth - viewWidth);
}

ZorImageView::ZorImageView(QWidget* parent) : ImageView(parent) {}

const QPixmap* ZorImageView::shownImage() const {
    auto orNormal = [this](const QPixmap& p) -> const QPixmap* {
        if (!p.isNull()) return &p;
        return normalImage_.isNull() ? nullptr : &normalImage_;
    };
    if (isSelected_) return orNormal(selectedImage_);
    if (isDown_) return orNormal(downImage_);
    return orNormal(normalImage_);
}

void ZorImageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF bounds(rect());
    // Fill first, so a background never hides the pictures drawn over it.
    drawLayerBackground(painter, bounds, style_);
    drawPlatformImage(painter);
    if (const QPixmap* picture = shownImage()) {
        const QSizeF size = pointSize(*picture);
        // Centred across, against the top edge.
        painter.drawPixmap(QRectF(QPointF((bounds.width() - size.width()) / 2, 0), size), *picture,
                           QRectF(picture->rect()));
    }
    drawLayerBorder(painter, bounds, style_);
}

void ZorImageView::mousePressEvent(QMouseEvent* event) {
    isDown_ = true;
    if (mouseDownBlock_) {
        QPointer<ZorImageView> self(this);
        mouseDownBlock_(this, event);
        if (!self) return;
    }
    update();
}

void ZorImageView::mouseReleaseEvent(QMouseEvent* event) {
    isDown_ = false;
    if (mouseUpBlock_) {
        QPointer<ZorImageView> self(this);
        mouseUpBlock_(this, event);
        if (!self) return;
    }
    update();
}

bool ZorImageView::event(QEvent* event) {
    // Qt hands a disabled widget no mouse event at all; presses and releases are this view's
    // own whether or not it is enabled.
    if (!isEnabled() && event->type() == QEvent::MouseButtonPress) {
        mousePressEvent(static_cast<QMouseEvent*>(event));
        return true;
    }
    if (!isEnabled() && event->type() == QEvent::MouseButtonRelease) {
        mouseReleaseEvent(static_cast<QMouseEvent*>(event));
        return true;
    }
    return ImageView::event(event);
}

void ZorImageView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    QWidget* parent = parentWidget();
    if (isEnabled() && mouseDraggedBlock_ && parent) {
        const qreal pointerX = parent->mapFromGlobal(event->globalPosition()).x();
        move(qRound(zorDraggedX(pointerX, parent->width(), width())), y());
        mouseDraggedBlock_(this);
        return;  // the block may have removed the view
    }
    update();
}

}  // namespace kestrel::widgets

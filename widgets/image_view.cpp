#include "widgets/image_view.h"

#include <QPainter>
#include <algorithm>

namespace kestrel::widgets {

QSizeF pointSize(const QPixmap& pixmap) {
    if (pixmap.isNull()) return QSizeF();
    return pixmap.deviceIndependentSize();
}

QRectF imageRectInBounds(const QSizeF& imageSize, const QRectF& bounds, ImageScaling scaling,
                         ImageAlignment alignment) {
    if (imageSize.isEmpty() || bounds.isEmpty()) return QRectF();
    QSizeF size = imageSize;
    switch (scaling) {
    case ImageScaling::AxesIndependently:
        return bounds;
    case ImageScaling::None:
        break;
    case ImageScaling::ProportionallyDown:
        if (size.width() > bounds.width() || size.height() > bounds.height())
            size = size.scaled(bounds.size(), Qt::KeepAspectRatio);
        break;
    case ImageScaling::ProportionallyUpOrDown:
        size = size.scaled(bounds.size(), Qt::KeepAspectRatio);
        break;
    }
    qreal x = bounds.x() + (bounds.width() - size.width()) / 2;
    qreal y = bounds.y() + (bounds.height() - size.height()) / 2;
    switch (alignment) {
    case ImageAlignment::TopLeft: case ImageAlignment::Left: case ImageAlignment::BottomLeft:
        x = bounds.x();
        break;
    case ImageAlignment::TopRight: case ImageAlignment::Right: case ImageAlignment::BottomRight:
        x = bounds.right() - size.width();
        break;
    default:
        break;
    }
    switch (alignment) {
    case ImageAlignment::Top: case ImageAlignment::TopLeft: case ImageAlignment::TopRight:
        y = bounds.y();
        break;
    case ImageAlignment::Bottom: case ImageAlignment::BottomLeft: case ImageAlignment::BottomRight:
        y = bounds.bottom() - size.height();
        break;
    default:
        break;
    }
    return QRectF(QPointF(x, y), size);
}

ImageView::ImageView(QWidget* parent) : QWidget(parent) {}

void ImageView::setImage(const QPixmap& image) {
    image_ = image;
    update();
}

void ImageView::setImageScaling(ImageScaling scaling) {
    scaling_ = scaling;
    update();
}

void ImageView::setImageAlignment(ImageAlignment alignment) {
    alignment_ = alignment;
    update();
}

void ImageView::drawPlatformImage(QPainter& painter) const {
    if (image_.isNull()) return;
    const QRectF target = imageRectInBounds(pointSize(image_), QRectF(rect()), scaling_, alignment_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, image_, QRectF(image_.rect()));
}

void ImageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawPlatformImage(painter);
}

}  // namespace kestrel::widgets

#include "widgets/layer_style.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace kestrel::widgets {

void drawLayerBackground(QPainter& painter, const QRectF& bounds, const LayerStyle& style) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (style.cornerRadius > 0) {
        QPainterPath path;
        path.addRoundedRect(bounds, style.cornerRadius, style.cornerRadius);
        painter.setClipPath(path);
    }
    if (style.fillColor.isValid()) painter.fillRect(bounds, style.fillColor);
    if (!style.fillPicture.isNull()) painter.drawPixmap(bounds, style.fillPicture, QRectF(style.fillPicture.rect()));
}

void drawLayerBorder(QPainter& painter, const QRectF& bounds, const LayerStyle& style) {
    if (style.borderWidth <= 0 || !style.borderColor.isValid()) return;
    const qreal half = style.borderWidth / 2.0;
    const qreal radius = std::max<qreal>(style.cornerRadius - half, 0);
    painter.setPen(QPen(style.borderColor, style.borderWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(bounds.adjusted(half, half, -half, -half), radius, radius);
}

}  // namespace kestrel::widgets

#include "widgets/xj_center_y_text_field_cell.h"

namespace kestrel::widgets {

QRectF xjCenterYDrawingRect(const QRectF& platformRect, const QSizeF& cellSize) {
    const qreal extra = platformRect.height() - cellSize.height();
    if (extra <= 0) return platformRect;
    QRectF rect = platformRect;
    rect.setHeight(cellSize.height());
    rect.moveTop(extra / 2);
    return rect;
}

}  // namespace kestrel::widgets

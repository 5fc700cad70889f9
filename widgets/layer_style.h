#pragma once
// The rounded, bordered, filled layer several views of the kit draw under their content.
#include <QColor>
#include <QPixmap>
#include <QRectF>

class QPainter;

namespace kestrel::widgets {

struct LayerStyle {
    float cornerRadius = 0;
    float borderWidth = 0;
    QColor borderColor;      // invalid = none
    QColor fillColor;        // invalid = none
    QPixmap fillPicture;     // stretched over the bounds when set
};

// Clips the painter to the rounded bounds and draws fill colour, then fill picture.
void drawLayerBackground(QPainter& painter, const QRectF& bounds, const LayerStyle& style);
// Draws the border inside the bounds (call last, the border lies over the content).
void drawLayerBorder(QPainter& painter, const QRectF& bounds, const LayerStyle& style);

}  // namespace kestrel::widgets

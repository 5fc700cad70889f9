#include "widgets/layer_view.h"

#include <QPainter>
#include <QPainterPath>

namespace widgets {

LayerView::LayerView(QWidget* parent) : QWidget(parent) {}

void LayerView::setLayerBackgroundColor(const QColor& color) {
    background_ = color;
    update();
}

void LayerView::setLayerCornerRadius(qreal radius) {
    cornerRadius_ = radius;
    update();
}

void LayerView::setMasksToBounds(bool masks) {
    masksToBounds_ = masks;
    update();
}

void LayerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
    if (background_.isValid() && background_.alpha() > 0) painter.fillPath(rounded, background_);
    if (masksToBounds_ && cornerRadius_ > 0) painter.setClipPath(rounded);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paintContent(painter);
}

}  // namespace widgets

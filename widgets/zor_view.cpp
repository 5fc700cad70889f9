#include "widgets/zor_view.h"

#include <QPainter>

namespace kestrel::widgets {

ZorView::ZorView(QWidget* parent) : QWidget(parent) {}

void ZorView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawLayerBackground(painter, QRectF(rect()), style_);
    drawLayerBorder(painter, QRectF(rect()), style_);
}

}  // namespace kestrel::widgets

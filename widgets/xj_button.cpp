#include "widgets/xj_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "widgets/color_extension.h"
#include "widgets/image_view.h"

namespace kestrel::widgets {

XJButton::XJButton(QWidget* parent) : QAbstractButton(parent) {
    for (int i = 0; i < 3; ++i) {
        borderColor[i] = colorWithRGB(0xC4C5CC);
        titleColor[i] = colorWithRGB(0x616266);
    }
    borderColor[3] = colorWithRGB(0x6482FA);
    titleColor[3] = colorWithRGB(0x5574F2);
    backgroundColor[0] = backgroundColor[1] = colorWithRGB(0xF2F3FA);
    backgroundColor[2] = colorWithRGB(0xE8E9EB);
    backgroundColor[3] = colorWithRGB(0xE0E7FF);
    setMouseTracking(true);
    setFontColor(titleColor[0]);
    updateButtonApperaceWithState(0);
}

void XJButton::setCanSelected(bool v) {
    canSelected_ = v;
    updateButtonApperaceWithState(buttonState_);
}

void XJButton::setHasBorder(bool v) {
    hasBorder_ = v;
    updateButtonApperaceWithState(buttonState_);
}

void XJButton::setButtonState(quint64 state) {
    if (state == buttonState_) return;
    buttonState_ = state;
    selected_ = state == 3;
    updateButtonApperaceWithState(state);
}

void XJButton::setFontColor(const QColor& color) { applied_.title = color; update(); }

void XJButton::updateButtonApperaceWithState(quint64 state) {
    Applied next;
    if (state <= 3) {
        next.radius = cornerRadius[state];
        next.borderWidth = borderWidth[state];
        next.border = borderColor[state];
        next.title = titleColor[state];
        next.background = backgroundColor[state];
        if (!image[state].isNull()) defaultImage_ = image[state];
    }
    if (!hasBorder_) {
        next.borderWidth = 0;
        next.border = Qt::transparent;
    }
    applied_ = next;
    update();
}

void XJButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(rect());
    QPainterPath shape;
    shape.addRoundedRect(bounds, applied_.radius, applied_.radius);
    painter.setClipPath(shape);
    if (applied_.background.isValid()) painter.fillPath(shape, applied_.background);
    const QSizeF imageSize = pointSize(defaultImage_);
    const qreal textWidth = text().isEmpty() ? 0 : fontMetrics().horizontalAdvance(text());
    const qreal gap = (imageSize.isEmpty() || textWidth == 0) ? 0 : 4;
    qreal x = (bounds.width() - imageSize.width() - gap - textWidth) / 2;
    if (!defaultImage_.isNull()) {
        painter.drawPixmap(QRectF(QPointF(x, (bounds.height() - imageSize.height()) / 2), imageSize), defaultImage_,
                           QRectF(defaultImage_.rect()));
        x += imageSize.width() + gap;
    }
    if (!text().isEmpty()) {
        painter.setPen(applied_.title);
        painter.drawText(QRectF(x, 0, textWidth + 1, bounds.height()), Qt::AlignVCenter | Qt::AlignLeft, text());
    }
    if (applied_.borderWidth > 0 && applied_.border.isValid()) {
        const qreal half = applied_.borderWidth / 2;
        painter.setPen(QPen(applied_.border, applied_.borderWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds.adjusted(half, half, -half, -half), applied_.radius, applied_.radius);
    }
}

void XJButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    hover_ = true;
    if (!selected_) setButtonState(1);
}

void XJButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    hover_ = false;
    if (!selected_) setButtonState(0);
}

void XJButton::mousePressEvent(QMouseEvent* event) {
    mouseUp_ = false;
    if (isEnabled() && !selected_) setButtonState(2);
    QAbstractButton::mousePressEvent(event);
}

void XJButton::mouseReleaseEvent(QMouseEvent* event) {
    mouseUp_ = true;
    if (isEnabled() && !selected_) setButtonState(0);
    QAbstractButton::mouseReleaseEvent(event);
}

}  // namespace kestrel::widgets

#include "tools/shared/inset_button.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace kestrel::tools::shared {

QRect insetFrame(const QRect& frame, const QMargins& insets) {
    return QRect(frame.x() + insets.left(), frame.y() + insets.top(),
                 frame.width() - (insets.right() - insets.left()),
                 frame.height() - (insets.bottom() - insets.top()));
}

InsetButton::InsetButton(QWidget* parent) : QPushButton(parent) {
    setFlat(true);
    setCursor(Qt::ArrowCursor);
}

void InsetButton::setBorder(const QColor& color, int width, int cornerRadius) {
    borderColor_ = color;
    borderWidth_ = width;
    cornerRadius_ = cornerRadius;
    update();
}

QRect InsetButton::imageRect() const {
    if (icon().isNull()) return {};
    const QSize size = iconSize();
    // The picture sits at the right end, vertically centred.
    const QRect frame(width() - size.width() - 4, (height() - size.height()) / 2, size.width(), size.height());
    return insetFrame(frame, imageInsets_);
}

QRect InsetButton::titleRect() const {
    QRect frame = rect().adjusted(6, 0, -6, 0);
    if (!icon().isNull()) frame.setRight(width() - iconSize().width() - 8);
    return insetFrame(frame, textInsets_);
}

void InsetButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath outline;
    outline.addRoundedRect(bounds, cornerRadius_, cornerRadius_);
    if (canMouseCustomColor_) {
        QLinearGradient gradient(0, height(), 0, 0);
        if (isEntered_) {
            gradient.setColorAt(0, QColor(64, 226, 255));
            gradient.setColorAt(1, QColor(23, 52, 216));
        } else {
            gradient.setColorAt(0, Qt::black);
            gradient.setColorAt(1, Qt::black);
        }
        painter.fillPath(outline, gradient);
    } else if (isMouseColor_ && (isEntered_ || isChecked())) {
        painter.fillPath(outline, QColor(56, 116, 175));
    }
    if (borderWidth_ > 0) {
        painter.setPen(QPen(borderColor_, borderWidth_));
        painter.drawPath(outline);
    }
    if (!icon().isNull()) {
        icon().paint(&painter, imageRect(), Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    }
    painter.setPen(textColor_.isValid() ? textColor_ : QColor(136, 136, 136));
    painter.setFont(font());
    const QRect titleFrame = titleRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, titleFrame.width());
    painter.drawText(titleFrame, Qt::AlignVCenter | Qt::AlignLeft, shown);
}

void InsetButton::mousePressEvent(QMouseEvent* event) {
    QPushButton::mousePressEvent(event);
    if (mouseDownBlock_) mouseDownBlock_(this, event);
}

void InsetButton::mouseReleaseEvent(QMouseEvent* event) {
    QPushButton::mouseReleaseEvent(event);
    if (mouseUpBlock_) mouseUpBlock_(this, event);
}

void InsetButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    if (canMouseCustomColor_ || isMouseColor_) {
        isEntered_ = true;
        update();
    }
    if (mouseEnteredBlock_) mouseEnteredBlock_(this, event);
}

void InsetButton::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    if (canMouseCustomColor_ || isMouseColor_) {
        isEntered_ = false;
        update();
    }
    if (mouseExitedBlock_) mouseExitedBlock_(this, event);
}

}  // namespace kestrel::tools::shared

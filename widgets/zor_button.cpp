#include "widgets/zor_button.h"

#include <QEnterEvent>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <algorithm>

#include "widgets/image_view.h"

namespace kestrel::widgets {

ZorButton::ZorButton(QWidget* parent) : QAbstractButton(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void ZorButton::setSelected(bool selected) {
    selected_ = selected;
    update();
}

void ZorButton::setContentTitle(const QString& title) {
    contentTitle_ = title;
    setText(QString());
    updateGeometry();
    repaint();
}

void ZorButton::setButtonState(unsigned state) {
    if (state <= 4) {
        isUp_ = false;
        isDown_ = state == 2;
        isOn_ = state == 1;
        selected_ = state == 3;
        setEnabled(true);
    }
    repaint();
}

ZorStateInput ZorButton::lookState() const {
    return ZorStateInput{isEnabled(), isUp_, isDown_, selected_};
}

ZorLayoutInput ZorButton::layoutInput() const {
    ZorLayoutInput in;
    in.bounds = QSizeF(size());
    if (const QPixmap* picture = zorContentPicture(images_, lookState())) in.picture = pointSize(*picture);
    if (!contentTitle_.isEmpty()) {
        // One line, truncated in the middle when it does not fit.
        const QFontMetricsF metrics(font());
        in.text = QRectF(0, 0, std::min<qreal>(metrics.horizontalAdvance(contentTitle_), width()), metrics.height());
    }
    in.imagePosition = imagePosition_;
    in.contentImagePosition = contentImagePosition_;
    in.leftIconWidth = leftIconWidth_;
    in.titlePosition = titlePosition_;
    in.rightToLeft = layoutDirection() == Qt::RightToLeft;
    return in;
}

QSize ZorButton::sizeHint() const {
    const QFontMetrics metrics(font());
    QSize size(metrics.horizontalAdvance(contentTitle_) + 16, metrics.height() + 8);
    const QSizeF picture = pointSize(images_.normal);
    size.rwidth() += qRound(picture.width());
    size.setHeight(std::max(size.height(), qRound(picture.height())));
    return size;
}

void ZorButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF bounds(rect());
    const ZorStateInput look = lookState();

    // The layer clips to its rounded bounds only when a radius is set.
    QPainterPath rounded;
    if (cornerRadius_ > 0) {
        rounded.addRoundedRect(bounds, cornerRadius_, cornerRadius_);
        painter.setClipPath(rounded);
    }

    // What the platform button itself shows: its own title, normally empty.
    if (!text().isEmpty()) {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(bounds, Qt::AlignCenter, text());
    }

    const QPixmap* picture = zorContentPicture(images_, look);

    if (const QPixmap* background = zorBackgroundPicture(backgrounds_, look)) {
        painter.drawPixmap(bounds, *background, QRectF(background->rect()));
    } else {
        const QColor& fill = look.enabled ? backGroundColor_ : disAblebackGroundColor_;
        if (fill.isValid()) painter.fillRect(bounds, fill);
    }

    ZorLayoutInput layout = layoutInput();
    if (!contentTitle_.isEmpty()) {
        if (!colors_.content.isValid()) colors_.content = Qt::white;
        const QColor color = zorTitleColor(colors_, look);
        const QRectF titleRect = zorTitleRect(layout);
        const QString shown = QFontMetricsF(font()).elidedText(contentTitle_, Qt::ElideMiddle, titleRect.width() + 0.5);
        painter.setFont(font());
        painter.setPen(color);
        painter.drawText(titleRect, Qt::AlignCenter | Qt::TextSingleLine, shown);
        if (underLine_) {
            // Drawn in the text colour: the line belongs to the text.
            painter.setPen(QPen(color, 1));
            const qreal y = titleRect.bottom() - 0.5;
            painter.drawLine(QPointF(titleRect.left(), y), QPointF(titleRect.right(), y));
        }
    }

    if (picture) {
        const QPointF origin = zorPictureOrigin(layout);
        painter.drawPixmap(QRectF(origin, layout.picture), *picture, QRectF(picture->rect()));
    }

    if (cornerRadius_ > 0 && bordColor_.isValid() && borderWidth_ > 0) {
        // A layer border lies inside the bounds.
        const qreal half = borderWidth_ / 2.0;
        painter.setPen(QPen(bordColor_, borderWidth_));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds.adjusted(half, half, -half, -half), std::max<qreal>(cornerRadius_ - half, 0),
                                std::max<qreal>(cornerRadius_ - half, 0));
    }
}

void ZorButton::pointerEntered() {
    isCanMouseUp_ = true;
    isUp_ = true;
    if (isEnabled() && mouseEntered_) {
        QPointer<ZorButton> self(this);
        mouseEntered_(this);
        if (!self) return;
    }
    if (underLine_) setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ForbiddenCursor);
    update();
}

void ZorButton::pointerLeft() {
    isCanMouseUp_ = false;
    isUp_ = false;
    if (isEnabled() && mouseExited_) {
        QPointer<ZorButton> self(this);
        mouseExited_(this);
        if (!self) return;
    }
    unsetCursor();
    update();
}

void ZorButton::enterEvent(QEnterEvent*) { pointerEntered(); }

void ZorButton::leaveEvent(QEvent*) { pointerLeft(); }

void ZorButton::mousePressEvent(QMouseEvent* event) {
    if (isCheckType_) {
        QAbstractButton::mousePressEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    // A press can only happen with the pointer over the button, whatever enter events came.
    if (!isCanMouseUp_) pointerEntered();
    isDown_ = true;
    isOn_ = false;
    update();
}

void ZorButton::mouseMoveEvent(QMouseEvent* event) {
    if (isCheckType_) QAbstractButton::mouseMoveEvent(event);
    // While the mouse is held, the pointer is tracked against the button's current bounds.
    if (!(event->buttons() & Qt::LeftButton)) return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside && !isCanMouseUp_) pointerEntered();
    else if (!inside && isCanMouseUp_) pointerLeft();
}

void ZorButton::mouseReleaseEvent(QMouseEvent* event) {
    QPointer<ZorButton> self(this);
    if (isCheckType_) {
        QAbstractButton::mouseReleaseEvent(event);
        if (!self) return;
    } else {
        if (event->button() != Qt::LeftButton) {
            event->ignore();
            return;
        }
        isDown_ = false;
        isOn_ = true;
        update();
    }
    const bool inside = rect().contains(event->position().toPoint());
    if (!inside && isCanMouseUp_) pointerLeft();
    if (self && isCanMouseUp_ && inside && mouseDownAction_ && isEnabled()) {
        const Block action = mouseDownAction_;  // the block may replace itself
        action(this);
    }
}

void ZorButton::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) update();
}

}  // namespace kestrel::widgets

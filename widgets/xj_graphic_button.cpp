#include "widgets/xj_graphic_button.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <type_traits>

#include "platform/notification_center.h"
#include "widgets/image_view.h"
#include "widgets/xj_label.h"

namespace kestrel::widgets {

XJGraphicLayout xjGraphicLayout(const QSizeF& frame, const QMarginsF& insets, bool hasTitle, qreal titleWidth,
                                const QSizeF& picture, qint64 graphicAlignment, quint64 imageAlignment,
                                qreal interval) {
    XJGraphicLayout out;
    const qreal A = frame.width() - insets.left() - insets.right();
    const qreal B = frame.height() - insets.top() - insets.bottom();
    const bool hasPicture = !picture.isEmpty();
    if (hasPicture && !hasTitle) {
        const qreal w = std::min(A, picture.width());
        const qreal h = std::min(B, picture.height());
        qreal x = insets.left();
        if (graphicAlignment == 1) x = insets.left() + (A - w);
        else if (graphicAlignment == 2) x = insets.left() + (A - w) / 2;
        out.picture = QRectF(x, insets.top() + B / 2 - h / 2, w, h);
    } else if (hasTitle && !hasPicture) {
        out.title = QRectF(insets.left(), insets.top(), A, B);
    } else if (hasTitle && hasPicture) {
        const qreal tw = titleWidth + 8;
        // Scaled to the available height, never enlarged.
        const qreal pw = std::min(B * picture.width() / picture.height(), picture.width());
        const qreal ph = std::min(B, picture.height());
        qreal start = insets.left();
        if (graphicAlignment == 1) start = insets.left() + A - pw - interval - tw;
        else if (graphicAlignment == 2) start = insets.left() + (A - pw - interval - tw) / 2;
        const qreal py = insets.top() + B / 2 - ph / 2 + 1;
        if (imageAlignment == 0) {
            out.picture = QRectF(start, py, pw, ph);
            out.title = QRectF(start + pw + interval, insets.top(), tw, B);
        } else if (imageAlignment == 1) {
            out.title = QRectF(start, insets.top(), tw, B);
            out.picture = QRectF(start + tw + interval, py, pw, ph);
        }
    }
    return out;
}

XJGraphicButton::XJGraphicButton(QWidget* parent) : QWidget(parent) {
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) { changeLanguage(); }, this);
    imageView_ = new ImageView(this);
    imageView_->setImageScaling(ImageScaling::AxesIndependently);
    titleLabel_ = new XJLabel(this);
    titleLabel_->setEditable(false);
    titleLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    setMouseTracking(true);
    setButtonState(0);
}

void XJGraphicButton::changeLanguage() {
    relayout();
    for (QObject* child : children())
        if (auto* w = qobject_cast<QWidget*>(child)) w->update();
}

void XJGraphicButton::setTitleFontSize(double v) {
    titleFontSize_ = v;
    if (!titleString_.isEmpty()) {
        QFont font = QApplication::font();
        font.setPointSizeF(v);
        titleLabel_->setFont(font);
    }
}

void XJGraphicButton::relayout() { setTitleString(titleString_, image[0]); }

void XJGraphicButton::setTitleString(const QString& title, const QPixmap& picture) {
    QFont font = QApplication::font();
    font.setPointSizeF(titleFontSize_);
    const qreal measured = QFontMetricsF(font).horizontalAdvance(title);
    const XJGraphicLayout layout = xjGraphicLayout(QSizeF(size()), edgeInset_, !title.isEmpty(), measured,
                                                   pointSize(picture), graphicAlignment_, imageAlignment_,
                                                   graphicInterval_);
    imageView_->setGeometry(layout.picture.toRect());
    imageView_->setVisible(!layout.picture.isEmpty());
    if (!picture.isNull()) imageView_->setImage(picture);
    titleLabel_->setGeometry(layout.title.toRect());
    titleLabel_->setVisible(!layout.title.isEmpty());
    if (!title.isEmpty()) {
        titleLabel_->setText(title);
        titleLabel_->setFont(font);
        titleLabel_->setAlignment(graphicAlignment_ == 0 ? Qt::AlignLeft : graphicAlignment_ == 1 ? Qt::AlignRight
                                                                                                 : Qt::AlignHCenter);
    }
    setButtonState(buttonState_);
}

template <class T>
T XJGraphicButton::stateValue(const T* values, quint64 state) const {
    if (state >= 1 && state <= 3) {
        const T& v = values[state];
        if constexpr (std::is_same_v<T, QColor>) {
            if (v.isValid()) return v;
        } else {
            if (!v.isNull()) return v;
        }
    }
    return values[0];
}

double XJGraphicButton::stateNumber(const double* values, quint64 state) const {
    if (state >= 1 && state <= 3 && values[state] >= 0) return values[state];
    return values[0];
}

void XJGraphicButton::setButtonState(quint64 state) {
    buttonState_ = state;
    if (!viewEnable_) {
        QColor faded = titleColor[0];
        faded.setAlphaF(0.35f);
        titleLabel_->setTextColor(faded);
        state = 0;
    } else if (state > 3) {
        return;
    } else {
        titleLabel_->setTextColor(stateValue(titleColor, state));
        const QPixmap picture = stateValue(image, state);
        if (!picture.isNull()) imageView_->setImage(picture);
    }
    layerBackground_ = stateValue(backgroundColor, state);
    layerBorder_ = stateValue(borderColor, state);
    layerRadius_ = stateNumber(cornerRadius, state);
    layerBorderWidth_ = stateNumber(borderWidth, state);
    update();
}

void XJGraphicButton::setViewEnable(bool v) {
    viewEnable_ = v;
    setButtonState(buttonState_);
}

void XJGraphicButton::setNormalColor(const QColor& c) {
    titleColor[0] = c;
    if (!titleString_.isEmpty()) setButtonState(buttonState_);
}

void XJGraphicButton::setSelectedColor(const QColor& c) {
    titleColor[3] = c;
    if (buttonState_ == 3) setButtonState(3);
}

void XJGraphicButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(rect());
    QPainterPath shape;
    shape.addRoundedRect(bounds, layerRadius_, layerRadius_);
    if (layerBackground_.isValid()) painter.fillPath(shape, layerBackground_);
    if (layerBorderWidth_ > 0 && layerBorder_.isValid()) {
        const qreal half = layerBorderWidth_ / 2;
        painter.setPen(QPen(layerBorder_, layerBorderWidth_));
        painter.drawRoundedRect(bounds.adjusted(half, half, -half, -half), layerRadius_, layerRadius_);
    }
}

void XJGraphicButton::resizeEvent(QResizeEvent*) { relayout(); }

void XJGraphicButton::enterEvent(QEnterEvent*) {
    if (buttonState_ != 3) setButtonState(1);
}

void XJGraphicButton::leaveEvent(QEvent*) {
    if (buttonState_ != 3) setButtonState(0);
}

void XJGraphicButton::forwardToParent(QMouseEvent* event) {
    QWidget* parent = parentWidget();
    if (!canTransmitEvents_ || !parent) return;
    QMouseEvent copy(event->type(), mapToParent(event->position()), event->scenePosition(), event->globalPosition(),
                     event->button(), event->buttons(), event->modifiers());
    QApplication::sendEvent(parent, &copy);
}

void XJGraphicButton::mousePressEvent(QMouseEvent* event) {
    forwardToParent(event);
    if (rect().contains(event->position().toPoint())) mouseDown_ = true;
    if (buttonState_ != 3) setButtonState(2);
}

void XJGraphicButton::mouseReleaseEvent(QMouseEvent* event) {
    forwardToParent(event);
    const bool inside = rect().contains(event->position().toPoint());
    if (buttonState_ != 3) setButtonState(inside ? 1 : 0);
    if (mouseDown_) {
        mouseDown_ = false;
        update();
    }
    if (inside) Q_EMIT clicked();
}

}  // namespace kestrel::widgets

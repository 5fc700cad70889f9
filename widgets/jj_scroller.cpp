#include "widgets/jj_scroller.h"

#include <QPainter>
#include <QStyleOptionSlider>
#include <QVariantAnimation>

namespace kestrel::widgets {
namespace {
constexpr int kShowMs = 250;   // the platform's default animation
constexpr int kEnterMs = 100;
constexpr int kFadeMs = 300;
const QColor kKnobColor(49, 60, 72);
}  // namespace

JJScroller::JJScroller(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent), animation_(new QVariantAnimation(this)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    fadeTimer_.setSingleShot(true);
    fadeTimer_.setInterval(kFadeOutDelayMs);
    connect(&fadeTimer_, &QTimer::timeout, this, &JJScroller::fadeOut);
    connect(animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        alpha_ = v.toReal();
        update();
    });
}

JJScroller::~JJScroller() { animation_->stop(); }

void JJScroller::setIsAutoShow(bool v) {
    isAutoShow_ = v;
    if (v) {
        fadeTimer_.stop();
        animation_->stop();
        alpha_ = target_ = 1;
        update();
    }
}

QSize JJScroller::sizeHint() const {
    const QSize base = QScrollBar::sizeHint();
    return orientation() == Qt::Vertical ? QSize(kScrollerWidth, base.height()) : QSize(base.width(), kScrollerWidth);
}

void JJScroller::animateAlpha(qreal to, int durationMs) {
    target_ = to;
    animation_->stop();
    animation_->setDuration(durationMs);
    animation_->setStartValue(alpha_);
    animation_->setEndValue(to);
    animation_->start();
}

void JJScroller::fadeOut() {
    if (isAutoShow_) return;
    animateAlpha(0, kFadeMs);
}

void JJScroller::sliderChange(SliderChange change) {
    QScrollBar::sliderChange(change);
    if (change != SliderValueChange || isAutoShow_) return;
    animateAlpha(1, kShowMs);
    fadeTimer_.start();  // restarting cancels the pending fade-out
}

void JJScroller::enterEvent(QEnterEvent* event) {
    QScrollBar::enterEvent(event);
    if (isAutoShow_) return;
    animateAlpha(1, kEnterMs);
    fadeTimer_.stop();
}

void JJScroller::leaveEvent(QEvent* event) {
    QScrollBar::leaveEvent(event);
    fadeOut();
}

void JJScroller::mouseMoveEvent(QMouseEvent* event) {
    QScrollBar::mouseMoveEvent(event);
    if (isAutoShow_) return;
    animation_->stop();
    alpha_ = target_ = 1;
    update();
}

void JJScroller::paintEvent(QPaintEvent*) {
    // No track: only the knob, narrowed by 3 points on each side.
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect knob = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    if (knob.isEmpty() || maximum() <= minimum()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(alpha_);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kKnobColor);
    painter.drawRoundedRect(QRectF(knob).adjusted(3, 0, -3, 0), 3, 3);
}

}  // namespace kestrel::widgets

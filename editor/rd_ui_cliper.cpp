#include "editor/rd_ui_cliper.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "editor/editor_geometry.h"
#include "platform/frame.h"
#include "widgets/widget_frame.h"
#include "widgets/rd_crop_tmp_view.h"

namespace kestrel::editor {

namespace {
constexpr double kMinBox = 60;
const QColor kHandleColor = QColor::fromRgbF(90 / 255.0, 216 / 255.0, 238 / 255.0, 1.0);

kestrel::widgets::RDCropTmpView* makeVeil(QWidget* parent) {
    auto* v = new kestrel::widgets::RDCropTmpView(parent);
    v->setBackgroundColor(QColor::fromRgbF(0, 0, 0, 0.5));
    v->setAttribute(Qt::WA_TransparentForMouseEvents);
    v->show();
    return v;
}
}  // namespace

RDUICliper::RDUICliper(const QRectF& frame, QWidget* parent) : QWidget(parent), oFrame_(frame) {
    widgets::setFrame(this, frame);
    cliprect_ = QRectF(0, 0, frame.width(), frame.height());
    leftView_ = makeVeil(this);
    topView_ = makeVeil(this);
    rightView_ = makeVeil(this);
    bottomView_ = makeVeil(this);
    // Thin strips until a box is set.
    layVeils(1, 1, frame.width() - 1, frame.height() - 1);
}

void RDUICliper::layVeils(double l, double b, double r, double t) {
    edgeLeft_ = l;
    edgeBottom_ = b;
    edgeRight_ = r;
    edgeTop_ = t;
    const double w = W(), h = H();
    widgets::setFrame(leftView_, QRectF(0, 0, std::max(0.0, l), h));
    widgets::setFrame(rightView_, QRectF(r, 0, std::max(0.0, w - r), h));
    widgets::setFrame(topView_, QRectF(l, t, std::max(0.0, r - l), std::max(0.0, h - t)));
    widgets::setFrame(bottomView_, QRectF(l, 0, std::max(0.0, r - l), std::max(0.0, b)));
}

void RDUICliper::layVeilsFor(const QRectF& r) { layVeils(r.x(), r.y(), r.x() + r.width(), r.y() + r.height()); }

QRectF RDUICliper::veilRect() const {
    return QRectF(float(edgeLeft_), float(edgeBottom_), float(edgeRight_ - edgeLeft_), float(edgeTop_ - edgeBottom_));
}

void RDUICliper::resizeEvent(QResizeEvent*) { layVeils(edgeLeft_, edgeBottom_, edgeRight_, edgeTop_); }

void RDUICliper::setFrameRect(const QRectF& frame) {
    oFrame_ = frame;
    widgets::setFrame(this, frame);
    cliprect_ = frame;
    update();
}

void RDUICliper::setVideoSize(const QSizeF& size) {
    videoSize_ = size;
    cliprect_ = oFrame_;
    update();
}

void RDUICliper::setCropType(int32_t type) {
    isMoving_ = false;
    cropType_ = type;
    cliprect_ = cropTypeRect(type, oFrame_.size(), cliprect_);
    update();
}

void RDUICliper::setClipRect(const QRectF& rect) {
    QRectF r = rect;
    r.setHeight(std::max(kMinBox, std::min(r.height(), H())));
    r.setWidth(std::max(kMinBox, std::min(r.width(), W())));
    cliprect_ = r;
    layVeilsFor(r);
    update();
}

void RDUICliper::setclipEDGE(const QRectF& rect) {
    cliprect_ = rect;
    update();
}

void RDUICliper::ChangeclipEDGE(float dx1, float dx2, float dy1, float dy2) {
    QRectF r = cliprect_;
    r = QRectF(r.x() + dx1, r.y() + dy1, r.width() - dx1 + dx2, r.height() - dy1 + dy2);
    bool limited = false;
    if (r.x() < 0) { r.moveLeft(0); limited = true; }
    if (r.y() < 0) { r.moveTop(0); limited = true; }
    if (r.x() + r.width() > oFrame_.width()) { r.setWidth(oFrame_.width() - r.x() - 0.1); limited = true; }
    if (r.y() + r.height() > oFrame_.height()) { r.setHeight(oFrame_.height() - r.y() - 0.1); limited = true; }
    cliprect_ = r;
    if (!limited) update();
}

double RDUICliper::getclipRectScale() const {
    if (oFrame_.width() <= 0) return 0;
    return float(videoSize_.width()) / float(oFrame_.width());
}

QRectF RDUICliper::getclipRect() const {
    const double s = getclipRectScale();
    return {cliprect_.x() * s, cliprect_.y() * s, cliprect_.width() * s, cliprect_.height() * s};
}

QRectF RDUICliper::getPercentClipRect() const {
    if (W() <= 0 || H() <= 0) return {};
    return {cliprect_.x() / W(), cliprect_.y() / H(), cliprect_.width() / W(), cliprect_.height() / H()};
}

void RDUICliper::paintEvent(QPaintEvent*) {
    // The box the user sees is the one the veils leave open.
    cliprect_ = veilRect();
    const QRectF r = cliprect_;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    auto qt = [&](const QRectF& f) { return QRectF(f.x(), H() - f.y() - f.height(), f.width(), f.height()); };
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    for (const QRectF& hnd : {QRectF(x, y, 10, 10), QRectF(x, y + h - 10, 10, 10), QRectF(x + w - 10, y, 10, 10),
                              QRectF(x + w - 10, y + h - 10, 10, 10)})
        p.fillRect(qt(hnd), kHandleColor);
    if (cropType_ != 2) {
        for (const QRectF& hnd : {QRectF(x, y + h / 2 - 5, 10, 10), QRectF(x + w - 10, y + h / 2 - 5, 10, 10),
                                  QRectF(x + w / 2 - 5, y + h - 10, 10, 10), QRectF(x + w / 2 - 5, y, 10, 10)})
            p.fillRect(qt(hnd), kHandleColor);
    }
    QPen pen(kHandleColor);
    pen.setDashPattern({10, 5});
    p.setPen(pen);
    p.drawRect(qt(r));
}

QPointF RDUICliper::eventPoint(const QPointF& qtPoint) const { return platform::pointFromQt(qtPoint, H()); }

void RDUICliper::mousePressEvent(QMouseEvent* e) { pressAt(eventPoint(e->position())); }
void RDUICliper::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton) dragTo(eventPoint(e->position()));
}
void RDUICliper::mouseReleaseEvent(QMouseEvent* e) { releaseAt(eventPoint(e->position())); }

void RDUICliper::pressAt(const QPointF& point) {
    if (delegate_) delegate_->actionMoveBeginForRDUICliperBlock(this, QRectF());
    touchPoint_ = touchBeginPoint_ = point;
    cliprect_ = veilRect();
    const float px = float(point.x()), py = float(point.y());
    const double x = cliprect_.x(), y = cliprect_.y(), w = cliprect_.width(), h = cliprect_.height();
    const bool inMiddleY = y + h / 2 - 20 < py && py < y + h / 2 + 20;
    const bool inMiddleX = x + w / 2 - 20 < px && px < x + w / 2 + 20;
    if (std::abs(px - x) < 20) {
        if (std::abs(py - (y + h)) < 30) cropTouchPoint_ = kTopLeft;
        else if (std::abs(py - y) < 30) cropTouchPoint_ = kBottomLeft;
        else if (inMiddleY) cropTouchPoint_ = kLeft;
    } else if (std::abs(px - (x + w)) < 20) {
        if (std::abs(py - (y + h)) < 30) cropTouchPoint_ = kTopRight;
        else if (std::abs(py - y) < 30) cropTouchPoint_ = kBottomRight;
        else if (inMiddleY) cropTouchPoint_ = kRight;
    } else if (std::abs(py - y) < 30) {
        if (inMiddleX) cropTouchPoint_ = kBottom;
    } else if (std::abs(py - (y + h)) < 30) {
        if (inMiddleX) cropTouchPoint_ = kTop;
    } else if (x < px && px < x + w && y < py && py < y + h) {
        cropTouchPoint_ = kInside;
        left_ = float(px - x);
        bottom_ = float(py - y);
    }
}

void RDUICliper::moveBox(const QPointF& p) {
    const double w = edgeRight_ - edgeLeft_, h = edgeTop_ - edgeBottom_;
    const double x = std::clamp(p.x() - left_, 0.0, std::max(0.0, W() - w));
    const double y = std::clamp(p.y() - bottom_, 0.0, std::max(0.0, H() - h));
    cliprect_ = QRectF(x, y, w, h);
    layVeilsFor(cliprect_);
}

void RDUICliper::dragTo(const QPointF& point) {
    const QPointF p(std::clamp(point.x(), 0.0, W()), std::clamp(point.y(), 0.0, H()));
    if (cropType_ == 2) {
        keepRatioMove(p);
        return;
    }
    double l = edgeLeft_, b = edgeBottom_, r = edgeRight_, t = edgeTop_;
    switch (cropTouchPoint_) {
    case kTopLeft: l = std::min(p.x(), r - 20); t = std::max(p.y(), b + 20); break;
    case kTopRight: r = std::max(p.x(), l + 20); t = std::max(p.y(), b + 20); break;
    case kBottomLeft: l = std::min(p.x(), r - 20); b = std::min(p.y(), t - 20); break;
    case kBottomRight: r = std::max(p.x(), l + 20); b = std::min(p.y(), t - 20); break;
    case kLeft: l = std::min(p.x(), r - 40); break;
    case kRight: r = std::max(p.x(), l + 20); break;
    case kTop: t = std::max(p.y(), b + 20); break;
    case kBottom: b = std::min(p.y(), t - 20); break;
    case kInside: moveBox(p); break;
    default: break;
    }
    if (cropTouchPoint_ != kInside) {
        layVeils(l, b, r, t);
        cliprect_ = veilRect();
    }
    isMoving_ = true;
    touchPoint_ = p;
    update();
    if (delegate_) delegate_->actionMovedForRDUICliperBlock(this, cliprect_);
}

void RDUICliper::keepRatioMove(const QPointF& p) {
    double l = edgeLeft_, b = edgeBottom_, r = edgeRight_, t = edgeTop_;
    const float ratio = videoSize_.height() > 0 ? float(videoSize_.width() / videoSize_.height()) : 1.0f;
    switch (cropTouchPoint_) {
    case kTopLeft: case kTopRight: {
        const float h = float(p.y() - b);
        const float w = h * ratio;
        t = std::min(std::max(b + h, b + 20), H());
        if (cropTouchPoint_ == kTopLeft) l = std::min(r - w, r - 20);
        else r = std::max(l + w, l + 20);
        break;
    }
    case kBottomLeft: case kBottomRight: {
        const float h = float(t - p.y());
        const float w = h * ratio;
        b = std::min(t - h, t - 20);
        if (cropTouchPoint_ == kBottomLeft) l = std::min(r - w, r - 20);
        else r = std::max(l + w, l + 20);
        break;
    }
    case kInside: moveBox(p); break;
    default: break;
    }
    if (cropTouchPoint_ >= kTopLeft && cropTouchPoint_ <= kBottomRight) {
        layVeils(l, b, r, t);
        cliprect_ = veilRect();
    }
    isMoving_ = true;
    update();
    if (delegate_) delegate_->actionMovedForRDUICliperBlock(this, cliprect_);
}

void RDUICliper::releaseAt(const QPointF& p) {
    cropTouchPoint_ = kNone;
    if (p == touchBeginPoint_ && fileType_ == 1 && delegate_)
        delegate_->actionMoveEndForRDUICliperBlock(this, getPercentClipRect());
}

}  // namespace kestrel::editor

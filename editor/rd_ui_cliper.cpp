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
    layVeilsFor(cliprect_);
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

void RDUICliper::resizeEvent(QResizeEvent*) { layVeilsFor(cliprect_); }

void RDUICliper::setBox(const QRectF& r) {
    cliprect_ = r;
    layVeilsFor(r);
    update();
}

QRectF RDUICliper::fitted(const QRectF& rect) const {
    // Never smaller than 60 points, unless the overlay itself is; never larger than the overlay,
    // and always on it.
    const double w = std::clamp(rect.width(), std::min(kMinBox, W()), std::max(0.0, W()));
    const double h = std::clamp(rect.height(), std::min(kMinBox, H()), std::max(0.0, H()));
    const double x = std::clamp(rect.x(), 0.0, std::max(0.0, W() - w));
    const double y = std::clamp(rect.y(), 0.0, std::max(0.0, H() - h));
    return {x, y, w, h};
}

void RDUICliper::setFrameRect(const QRectF& frame) {
    oFrame_ = frame;
    widgets::setFrame(this, frame);
    // The box is in the overlay's own points: the whole overlay.
    setBox(QRectF(0, 0, frame.width(), frame.height()));
}

void RDUICliper::setVideoSize(const QSizeF& size) {
    videoSize_ = size;
    setBox(QRectF(0, 0, W(), H()));
}

void RDUICliper::setCropType(int32_t type) {
    isMoving_ = false;
    cropType_ = type;
    // Types 1 and 2 are drag modes: the box the user sees stays. A ratio is shown at once and
    // is what the next press grabs.
    if (type >= 3 && type <= 7) setBox(cropTypeRect(type, QSizeF(W(), H()), cliprect_));
    else update();
}

void RDUICliper::setClipRect(const QRectF& rect) { setBox(fitted(rect)); }

void RDUICliper::setclipEDGE(const QRectF& rect) { setBox(rect); }

void RDUICliper::ChangeclipEDGE(float dx1, float dx2, float dy1, float dy2) {
    QRectF r = cliprect_;
    r = QRectF(r.x() + dx1, r.y() + dy1, r.width() - dx1 + dx2, r.height() - dy1 + dy2);
    if (r.x() < 0) r.moveLeft(0);
    if (r.y() < 0) r.moveTop(0);
    if (r.x() + r.width() > W()) r.setWidth(W() - r.x());
    if (r.y() + r.height() > H()) r.setHeight(H() - r.y());
    setBox(r);
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
    cropTouchPoint_ = zoneAt(point);
    if (cropTouchPoint_ == kInside) {
        left_ = float(float(point.x()) - cliprect_.x());
        bottom_ = float(float(point.y()) - cliprect_.y());
    }
}

int32_t RDUICliper::zoneAt(const QPointF& point) const {
    const float px = float(point.x()), py = float(point.y());
    const double x = cliprect_.x(), y = cliprect_.y(), w = cliprect_.width(), h = cliprect_.height();
    // A small box keeps its middle third for moving.
    const double tx = std::min(20.0, w / 3), ty = std::min(30.0, h / 3);
    const double dl = std::abs(px - x), dr = std::abs(px - (x + w));
    const double db = std::abs(py - y), dt = std::abs(py - (y + h));
    const bool alongX = x - tx < px && px < x + w + tx;  // within the span of the top and bottom edges
    const bool alongY = y - ty < py && py < y + h + ty;  // within the span of the left and right edges
    const bool nearLeft = alongY && dl < tx && dl <= dr, nearRight = alongY && dr < tx && dr < dl;
    const bool nearBottom = alongX && db < ty && db <= dt, nearTop = alongX && dt < ty && dt < db;
    if (nearLeft && nearTop) return kTopLeft;
    if (nearRight && nearTop) return kTopRight;
    if (nearLeft && nearBottom) return kBottomLeft;
    if (nearRight && nearBottom) return kBottomRight;
    if (nearLeft) return kLeft;
    if (nearRight) return kRight;
    if (nearTop) return kTop;
    if (nearBottom) return kBottom;
    if (x < px && px < x + w && y < py && py < y + h) return kInside;
    return kNone;
}

void RDUICliper::moveBox(const QPointF& p) {
    const double w = cliprect_.width(), h = cliprect_.height();
    const double x = std::clamp(p.x() - left_, 0.0, std::max(0.0, W() - w));
    const double y = std::clamp(p.y() - bottom_, 0.0, std::max(0.0, H() - h));
    setBox(QRectF(x, y, w, h));
}

void RDUICliper::dragTo(const QPointF& point) {
    // A press that grabbed nothing moves nothing and reports nothing.
    if (cropTouchPoint_ == kNone) return;
    const QPointF p(std::clamp(point.x(), 0.0, W()), std::clamp(point.y(), 0.0, H()));
    if (cropType_ == 2) {
        keepRatioMove(p);
        return;
    }
    double l = cliprect_.left(), b = cliprect_.top(), r = cliprect_.right(), t = cliprect_.bottom();
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
    if (cropTouchPoint_ != kInside)
        setBox(QRectF(QPointF(std::max(0.0, l), std::max(0.0, b)), QPointF(std::min(W(), r), std::min(H(), t))));
    isMoving_ = true;
    touchPoint_ = p;
    update();
    if (delegate_) delegate_->actionMovedForRDUICliperBlock(this, cliprect_);
}

void RDUICliper::keepRatioMove(const QPointF& p) {
    double l = cliprect_.left(), b = cliprect_.top(), r = cliprect_.right(), t = cliprect_.bottom();
    double ratio = videoSize_.height() > 0 ? videoSize_.width() / videoSize_.height() : 0;
    if (!(ratio > 0)) ratio = H() > 0 ? W() / H() : 1.0;
    const bool top = cropTouchPoint_ == kTopLeft || cropTouchPoint_ == kTopRight;
    const bool left = cropTouchPoint_ == kTopLeft || cropTouchPoint_ == kBottomLeft;
    if (cropTouchPoint_ >= kTopLeft && cropTouchPoint_ <= kBottomRight) {
        // The corner diagonally opposite stays; the box keeps the picture's shape and stays on it.
        const double roomX = left ? r : W() - l;
        const double roomY = top ? H() - b : t;
        const double most = std::min(roomY, roomX / ratio);
        const double least = std::min(most, std::max(20.0, 20.0 / ratio));
        const double h = std::clamp(top ? p.y() - b : t - p.y(), least, most);
        const double w = h * ratio;
        if (top) t = std::min(H(), b + h);
        else b = std::max(0.0, t - h);
        if (left) l = std::max(0.0, r - w);
        else r = std::min(W(), l + w);
        setBox(QRectF(QPointF(l, b), QPointF(r, t)));
    } else if (cropTouchPoint_ == kInside) {
        moveBox(p);
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

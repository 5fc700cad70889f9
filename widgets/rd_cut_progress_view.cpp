#include "widgets/rd_cut_progress_view.h"

#include <QMouseEvent>

#include "widgets/cut_progress_geometry.h"
#include "widgets/widget_frame.h"
#include "widgets/value_math.h"
#include "widgets/view_extension.h"
#include "widgets/view_frame.h"
#include "widgets/widget_log.h"

namespace kestrel::widgets {
namespace {
constexpr qreal kTrackCornerRadius = 5;
// The platform's green, behind the music band of bars from interface files.
const QColor kSystemGreen(52, 199, 89);

constexpr const char* kClassicTrack = "Resources/play_notplayed_bkg.png";
constexpr const char* kClassicTint = "Resources/edit_trim_focus.png";
constexpr const char* kCutTrack = "Cut/imgBack.bmp";
constexpr const char* kCutTint = "Cut/imgTop.bmp";
constexpr const char* kClassicLeft = "Resources/edit_trimleft_normal.png";
constexpr const char* kClassicRight = "Resources/edit_trimright_normal.png";
constexpr const char* kKnob = "Resources/edit_trimknob_normal.png";
constexpr const char* kSlipKnob = "Cut/btnSlip_Normal.png";
constexpr const char* kNewTick = "ZantImage/Join/imgSlip_Normal@2x.png";
constexpr const char* kNewTickKeepOutside = "ZantImage/Join/imgSlip_Normal.png";
constexpr const char* kNewBack = "ZantImage/Reverse/imgBack.png";
constexpr const char* kNewTop = "ZantImage/Reverse/imgTop.bmp";
constexpr const char* kNewLeft = "ZantImage/Reverse/btnCutLeft_Normal.png";
constexpr const char* kNewRight = "ZantImage/Reverse/btnCutRight_Normal.png";

bool usesSlipTick(int64_t type) { return type == 1 || type == 2; }

NamedImageView* makePicture(QWidget* parent, const QString& name) {
    auto* view = new NamedImageView(parent);
    view->setImageScaling(ImageScaling::AxesIndependently);
    if (!name.isEmpty()) view->setImageNamed(name);
    return view;
}

void moveX(QWidget* view, double x) {
    QRectF frame = viewFrame(view);
    frame.moveLeft(x);
    setViewFrame(view, frame);
}

void moveY(QWidget* view, double y) {
    QRectF frame = viewFrame(view);
    frame.moveTop(y);  // QRectF's "top" is the frame's y; in a bottom-left frame that is its bottom
    setViewFrame(view, frame);
}
}  // namespace

RDCutProgressView::RDCutProgressView(const QRectF& frame, QWidget* parent, Construction how) : QWidget(parent) {
    setViewFrame(this, frame);
    buildParts(how);
    laidOutSize_ = size();
}

void RDCutProgressView::buildParts(Construction how) {
    const bool fromFile = how == Construction::FromInterfaceFile;
    const double w = barWidth(), h = barHeight();
    const QRectF trackFrame = fromFile ? QRectF(9, (h - 10) / 2, w - 18, 10) : QRectF(9, (h - 6) / 2, w - 18, 6);

    // Created in drawing order: later parts lie on top.
    progressBackView_ = makePicture(this, kClassicTrack);
    progressTintView_ = makePicture(this, kClassicTint);
    videoPositionView_ = new ZorDraggedView(this);
    videoPositionView_->setImageScaling(ImageScaling::AxesIndependently);
    // The strip only shows repeat marks here; presses belong to the bar.
    videoPositionView_->setAttribute(Qt::WA_TransparentForMouseEvents);
    musicRangeView_ = makePicture(this, QString());
    tickMarkView_ = makePicture(this, (!fromFile && usesSlipTick(type_)) ? kSlipKnob : kKnob);
    handLeftView_ = makePicture(this, kClassicLeft);
    handRightView_ = makePicture(this, kClassicRight);

    for (NamedImageView* v : {progressBackView_, progressTintView_}) {
        v->setLayerCornerRadius(kTrackCornerRadius);
        v->setMasksToBounds(true);
        setViewFrame(v, trackFrame);
    }
    setViewFrame(videoPositionView_, trackFrame);
    setViewFrame(musicRangeView_, trackFrame);
    setViewFrame(tickMarkView_, QRectF(0, h - 24, 15, 24));
    setViewFrame(handLeftView_, QRectF(0, 0, 9, 12));
    setViewFrame(handRightView_, QRectF(trackFrame.width() + 9, 0, 9, 12));
    videoPositionView_->hide();
    musicRangeView_->hide();

    if (fromFile) {
        isNew_ = true;
        setBackgroundColor(videoPositionView_, kSystemGreen);
        setBackgroundColor(musicRangeView_, kSystemGreen);
        tickMark_ = true;
    }
}

void RDCutProgressView::setFrame(const QRectF& frame) {
    setViewFrame(this, frame);
    layOutForSize();
}

void RDCutProgressView::resizeEvent(QResizeEvent*) {
    // Someone else resized the bar (a layout, widgets::setFrame): lay it out as setFrame does.
    if (size() != laidOutSize_) layOutForSize();
}

void RDCutProgressView::layOutForSize() {
    reapplyChildFrames(this);
    const double w = barWidth(), h = barHeight();
    if (isNew_)
        layOutNewLook(w, h);
    else
        layOutClassicLook(w, h);
    setProgress(progress_);
    setUpperValue(upperValue_);
    setLowerValue(lowerValue_);
    laidOutSize_ = size();
}

void RDCutProgressView::layOutNewLook(double w, double h) {
    const QRectF trackFrame(11, (h - 6) / 2 + 10, w - 22, 6);
    for (QWidget* v : {static_cast<QWidget*>(progressBackView_), static_cast<QWidget*>(progressTintView_),
                       static_cast<QWidget*>(videoPositionView_), static_cast<QWidget*>(musicRangeView_)})
        setViewFrame(v, trackFrame);
    const double tickSize = usesSlipTick(type_) ? 12 : 17;
    setViewFrame(tickMarkView_, QRectF(0, (h - tickSize) / 2 + 10, tickSize, tickSize));
    setViewFrame(handLeftView_, QRectF(0, 0, 14, 24));
    setViewFrame(handRightView_, QRectF(trackFrame.width() + 14, 0, 14, 24));
}

void RDCutProgressView::layOutClassicLook(double w, double h) {
    const QRectF trackFrame(9, (h - 10) / 2, w - 18, 10);
    setViewFrame(progressBackView_, trackFrame);
    setViewFrame(progressTintView_, trackFrame);
    if (usesSlipTick(type_))
        setViewFrame(tickMarkView_, QRectF(0, trackFrame.y() + trackFrame.height() / 2 - 6, 12, 12));
    else
        setViewFrame(tickMarkView_, QRectF(0, h - 17, 17, 17));
    setViewFrame(handLeftView_, QRectF(0, 0, 9, 12));
    setViewFrame(handRightView_, QRectF(trackFrame.width() + 9, 0, 9, 12));
}

void RDCutProgressView::setType(int64_t type) {
    type_ = type;
    setIsFanxuan(isFanxuan_);
}

void RDCutProgressView::setIsFanxuan(bool keepOutside) {
    isFanxuan_ = keepOutside;
    const double h = barHeight();
    if (isNew_) {
        for (QWidget* v : {static_cast<QWidget*>(progressBackView_), static_cast<QWidget*>(progressTintView_)})
            moveY(v, (h - viewFrame(v).height()) / 2);
        const QRectF t = track();
        for (QWidget* v : {static_cast<QWidget*>(handLeftView_), static_cast<QWidget*>(handRightView_)})
            moveY(v, t.y() - viewFrame(v).height());
    }
    const QRectF t = track();
    const double tickX = viewFrame(tickMarkView_).x();
    if (usesSlipTick(type_))
        setViewFrame(tickMarkView_, QRectF(tickX, t.y() + t.height() / 2 - 6, 12, 12));
    else if (isNew_)
        setViewFrame(tickMarkView_, QRectF(tickX, t.y(), 12, 20));
    else
        setViewFrame(tickMarkView_, QRectF(tickX, t.y(), 17, 17));
    applyLookPictures();
    setUpperValue(upperValue_);
    setLowerValue(lowerValue_);
    update();
}

void RDCutProgressView::applyLookPictures() {
    QString tick = usesSlipTick(type_) ? kSlipKnob : kKnob;
    QString back, top, left, right;
    if (isNew_) {
        tick = isFanxuan_ ? kNewTickKeepOutside : kNewTick;
        back = kNewBack;
        top = kNewTop;
        left = kNewLeft;
        right = kNewRight;
    } else {
        back = type_ == 1 ? kCutTrack : kClassicTrack;
        top = type_ == 1 ? kCutTint : kClassicTint;
        left = kClassicLeft;
        right = kClassicRight;
    }
    // Keep outside: the span between the handles shows what is cut away, the handles face inward.
    if (isFanxuan_) {
        std::swap(back, top);
        std::swap(left, right);
    }
    tickMarkView_->setImageNamed(tick);
    progressBackView_->setImageNamed(back);
    progressTintView_->setImageNamed(top);
    handLeftView_->setImageNamed(left);
    handRightView_->setImageNamed(right);
}

void RDCutProgressView::applySpan() {
    cutbar::SpanFrames span{viewFrame(progressTintView_), viewFrame(videoPositionView_), viewFrame(musicRangeView_)};
    span = cutbar::spanUpdate(viewFrame(handLeftView_), viewFrame(handRightView_), span, isFanxuan_);
    setViewFrame(progressTintView_, span.tint);
    setViewFrame(videoPositionView_, span.strip);
    setViewFrame(musicRangeView_, span.band);
}

void RDCutProgressView::placeTickX(double x) { moveX(tickMarkView_, x); }

void RDCutProgressView::setProgress(float progress) {
    progress_ = progress;
    placeTickX(cutbar::tickXForProgress(progress, track(), barWidth(), tickWidth()));
}

void RDCutProgressView::setLowerValue(float value) {
    handleType_ = kLeftHandle;
    moveX(handLeftView_, cutbar::lowerHandleX(value, track(), viewFrame(handRightView_).x(),
                                              viewFrame(handLeftView_).width(), isFanxuan_));
    applySpan();
    lowerValue_ = value;
    setProgress(value);
}

void RDCutProgressView::setUpperValue(float value) {
    handleType_ = kRightHandle;
    moveX(handRightView_, cutbar::upperHandleX(value, track(), barWidth(), tickWidth(),
                                               viewFrame(handRightView_).width(), isFanxuan_));
    applySpan();
    upperValue_ = value;
    setProgress(value);
}

void RDCutProgressView::setLowerValue(float lower, float upper) {
    const double w = barWidth(), h = barHeight();
    const QRectF oldTrack = track();
    setViewFrame(progressBackView_, isNew_ ? QRectF(14, oldTrack.y(), w - 28, 6) : QRectF(9, (h - 10) / 2, w - 18, 10));
    qCDebug(lcWidgets) << "_progressBackView.frame:" << track();
    if (upper == 0) upper = 1;
    handleType_ = kLeftHandle;
    const QRectF t = track();
    const double tw = tickWidth();
    moveX(handRightView_, cutbar::upperHandleX(upper, t, w, tw, viewFrame(handRightView_).width(), isFanxuan_));
    upperValue_ = upper;
    // The same place setLowerValue gives: owners read both values back on every handle drag, so
    // a start drawn anywhere else would move each time only the end is dragged.
    moveX(handLeftView_, cutbar::lowerHandleX(lower, t, viewFrame(handRightView_).x(),
                                              viewFrame(handLeftView_).width(), isFanxuan_));
    applySpan();
    lowerValue_ = lower;
    setProgress(lower);
}

void RDCutProgressView::setMusicRangeLowerValue(float lower, float duration) {
    musicLeftValue_ = std::max(lower, 0.0f);
    musicRightValue_ = std::min(duration, 1.0f);
    const QRectF t = track();
    const float bandWidth = cutbar::musicBandWidth(duration, lowerValue_, upperValue_, t);
    setViewFrame(musicRangeView_, QRectF(viewFrame(videoPositionView_).x(), t.y(), bandWidth, t.height()));
    videoPositionView_->setRepeatWidth(isRepeat_ ? bandWidth : 0);
    videoPositionView_->update();
}

void RDCutProgressView::setIsRepeat(bool repeat) {
    isRepeat_ = repeat;
    videoPositionView_->setRepeatWidth(repeat ? float(viewFrame(musicRangeView_).width()) : 0);
    videoPositionView_->setVisible(repeat);
    musicRangeView_->setVisible(!repeat);
    videoPositionView_->update();
}

void RDCutProgressView::setDisable(bool disable) {
    disable_ = disable;
    tickMark_ = true;
    handLeftView_->setHidden(disable);
    handRightView_->setHidden(disable);
    update();
}

void RDCutProgressView::setTickHidden(bool hidden) {
    tickHidden_ = hidden;
    tickMarkView_->setHidden(hidden);
}

QPointF RDCutProgressView::pointerPoint(const QMouseEvent* event) const {
    // Children are placed against the widget's whole-pixel height; the pointer must be too.
    return QPointF(event->position().x(), height() - event->position().y());
}

void RDCutProgressView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPointF p = pointerPoint(event);
    const QRectF t = track();
    const double tw = tickWidth();
    handtick_ = false;
    if (cutbar::handleHit(p, viewFrame(handLeftView_), t, handLeftView_->isHidden())) {
        handLeft_ = true;
        handRight_ = false;
    } else if (cutbar::handleHit(p, viewFrame(handRightView_), t, handRightView_->isHidden())) {
        handRight_ = true;
        handLeft_ = false;
    } else {
        handLeft_ = handRight_ = false;
        handtick_ = true;
        const double tickX = cutbar::pressTickX(p.x(), t, tw);
        placeTickX(tickX);
        // A press at the far right would otherwise ask for a seek past the end.
        if (delegate_)
            delegate_->actionSeekToTimeForCutProgressViewBlock(this, limitedUnit(cutbar::seekFraction(tickX, t, tw)));
    }
    const float pressed = cutbar::tickCentreFraction(viewFrame(tickMarkView_).x(), t, tw);
    qCDebug(lcWidgets, "progress : %f", pressed);
    if (delegate_) delegate_->actionMouseDownForCutProgressViewBlock(this, pressed);
}

void RDCutProgressView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const double pointerX = pointerPoint(event).x();
    if (handtick_) {
        if (tickMark_) dragTick(pointerX);
    } else if (handLeft_ || handRight_) {
        dragHandle(pointerX);
    }
}

void RDCutProgressView::dragTick(double pointerX) {
    const QRectF t = track();
    const double tw = tickWidth();
    const double tickX = cutbar::dragTickX(pointerX, t, tw);
    placeTickX(tickX);
    progress_ = cutbar::seekFraction(tickX, t, tw);
    if (delegate_) delegate_->actionSeekToTimeForCutProgressViewBlock(this, limitedUnit(progress_));
}

void RDCutProgressView::dragHandle(double pointerX) {
    const QRectF t = track();
    const double tw = tickWidth();
    const QRectF left = viewFrame(handLeftView_), right = viewFrame(handRightView_);
    if (handLeft_) {
        const float x = float(cutbar::dragLeftHandleX(pointerX, t, left.width(), right.x()));
        moveX(handLeftView_, x);
        placeTickX(cutbar::tickXAfterLeftDrag(x, left.width(), tw, isFanxuan_));
        handleType_ = kLeftHandle;
    } else {
        const float x = float(cutbar::dragRightHandleX(pointerX, t, right.width(), left.x(), left.width()));
        moveX(handRightView_, x);
        placeTickX(cutbar::tickXAfterRightDrag(x, right.width(), tw, isFanxuan_));
        handleType_ = kRightHandle;
    }
    applySpan();
    const QRectF tint = viewFrame(progressTintView_);
    lowerValue_ = cutbar::edgeFraction(tint.x(), t);
    upperValue_ = cutbar::edgeFraction(tint.x() + tint.width(), t);
    if (delegate_) delegate_->actionMouseMovedForCutProgressViewBlock(this, lowerValue_, upperValue_, handleType_);
}

void RDCutProgressView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    handLeft_ = handRight_ = handtick_ = false;
    const float released = cutbar::tickCentreFraction(viewFrame(tickMarkView_).x(), track(), tickWidth());
    qCDebug(lcWidgets, "progress : %f", released);
    if (delegate_) delegate_->actionMouseUpForCutProgressViewBlock(this, released);
}

QRectF RDCutProgressView::track() const { return viewFrame(progressBackView_); }
double RDCutProgressView::barWidth() const { return viewSize(this).width(); }
double RDCutProgressView::barHeight() const { return viewSize(this).height(); }
double RDCutProgressView::tickWidth() const { return viewFrame(tickMarkView_).width(); }

}  // namespace kestrel::widgets

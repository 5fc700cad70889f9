#include "widgets/music_range_slider.h"

#include <algorithm>

#include "widgets/value_math.h"
#include "widgets/view_frame.h"

namespace kestrel::widgets {
namespace {
constexpr double kInset = 5;
constexpr double kBarHeight = 12;
constexpr double kHandleWidth = 10;
constexpr double kKnobSize = 21;
constexpr const char* kTrack = "Cut/imgBack.bmp";
constexpr const char* kRange = "Cut/imgTop.bmp";
constexpr const char* kMusic = "Cut/pbTop.bmp";
constexpr const char* kKnob = "Cut/btnSlip_Normal.png";

template <typename View>
View* makePart(QWidget* parent, const QRectF& frame, const QString& picture) {
    auto* view = new View(parent);
    view->setImageScaling(ImageScaling::AxesIndependently);
    if (!picture.isEmpty()) view->setImageNamed(picture);
    setViewFrame(view, frame);
    return view;
}
}  // namespace

MusicRangeSlider::MusicRangeSlider(const QRectF& frame, QWidget* parent, Construction) : QWidget(parent) {
    setViewFrame(this, frame);
    setUI(frame.width(), frame.height());
    laidOutSize_ = viewSize(this);
}

void MusicRangeSlider::setUI(double w, double h) {
    const QRectF bar(kInset, kInset, w - 2 * kInset, kBarHeight);
    backGroundView_ = makePart<NamedImageView>(this, bar, kTrack);
    videoPositionView_ = makePart<ZorDraggedView>(this, bar, kRange);
    musicRangeView_ = makePart<NamedImageView>(this, bar, kMusic);
    // A press on the music drawn over the span takes hold of the span below it.
    musicRangeView_->setAttribute(Qt::WA_TransparentForMouseEvents);
    leftMoveView_ = makePart<ZorDraggedView>(this, QRectF(0, kInset, kHandleWidth, h - kInset), QString());
    rightMoveView_ = makePart<ZorDraggedView>(this, QRectF(w - kHandleWidth, kInset, kHandleWidth, h - kInset), QString());
    leftMoveView_->setIsDraw(true);
    rightMoveView_->setIsDraw(true);
    tickMarkView_ = makePart<ZorDraggedView>(this, QRectF(0, 0, kKnobSize, kKnobSize), kKnob);
    for (ZorDraggedView* part : {leftMoveView_, rightMoveView_, videoPositionView_, tickMarkView_})
        part->setDelegate(this);
    // The span and the knob stand for values up to 1: their drags may reach the right edge.
    videoPositionView_->setDragRightMargin(0);
    tickMarkView_->setDragRightMargin(0);
    setVideoRangeLowerValue(0, 1);
    setMusicRangeLowerValue(0, 0);
}

double MusicRangeSlider::trackWidth() const { return viewFrame(backGroundView_).width(); }

double MusicRangeSlider::rangeX() const { return float(positionLeftValue_ * trackWidth() + kInset); }

double MusicRangeSlider::rangeWidth() const {
    return float((double(positionRightValue_) - positionLeftValue_) * trackWidth());
}

void MusicRangeSlider::placeHandles(double y) {
    const double x = rangeX(), w = rangeWidth();
    setViewFrame(leftMoveView_, QRectF(x - kInset, y, kHandleWidth, viewFrame(leftMoveView_).height()));
    setViewFrame(rightMoveView_, QRectF(x + w - kInset, y, kHandleWidth, viewFrame(rightMoveView_).height()));
}

void MusicRangeSlider::setVideoRangeLowerValue(float lower, float upper) {
    positionLeftValue_ = std::max(0.0f, lower);
    positionRightValue_ = std::min(upper, 1.0f);
    setViewFrame(videoPositionView_, QRectF(rangeX(), kInset, rangeWidth(), kBarHeight));
    placeHandles(0);
    refreshRepeatLook();
}

void MusicRangeSlider::setMusicRangeLowerValue(float lower, float duration) {
    musicLeftValue_ = std::max(0.0f, lower);
    musicRightValue_ = std::min(1.0f, duration);
    // The music never looks longer than its span and always starts at the span's left end.
    const double span = double(positionRightValue_) - positionLeftValue_;
    const float width = float(std::min(placeable(duration), span) * trackWidth());
    setViewFrame(musicRangeView_, QRectF(viewFrame(videoPositionView_).x(), kInset, width, kBarHeight));
    refreshRepeatLook();
}

void MusicRangeSlider::refreshRepeatLook() {
    videoPositionView_->setRepeatWidth(isRepeat_ ? float(viewFrame(musicRangeView_).width()) : 0.0f);
    videoPositionView_->setImageNamed(isRepeat_ ? kMusic : kRange);
}

void MusicRangeSlider::setIsRepeat(bool repeat) {
    isRepeat_ = repeat;
    refreshRepeatLook();
}

void MusicRangeSlider::setProgress(float progress) {
    progress_ = progress;
    QRectF knob = viewFrame(tickMarkView_);
    knob.moveLeft(placeable(progress) * (viewSize(this).width() - knob.width()));
    setViewFrame(tickMarkView_, knob);
}

void MusicRangeSlider::setEnable(bool enable) {
    enable_ = enable;
    for (ZorDraggedView* part : {videoPositionView_, leftMoveView_, rightMoveView_}) part->setEnabled(enable);
    leftMoveView_->setHidden(!enable);
    rightMoveView_->setHidden(!enable);
    tickMarkView_->setHidden(enable);
    if (!enable) tickMarkView_->setEnabled(true);
}

void MusicRangeSlider::setFrame(const QRectF& frame) {
    setViewFrame(this, frame);
    followNewSize();
}

void MusicRangeSlider::resizeEvent(QResizeEvent*) {
    if (viewSize(this) != laidOutSize_) followNewSize();
}

void MusicRangeSlider::followNewSize() {
    reapplyChildFrames(this);
    const QSizeF size = viewSize(this);
    setViewFrame(backGroundView_, QRectF(kInset, kInset, size.width() - 2 * kInset, kBarHeight));
    setVideoRangeLowerValue(positionLeftValue_, positionRightValue_);
    setMusicRangeLowerValue(musicLeftValue_, musicRightValue_);
    placeHandles(kInset);
    refreshRepeatLook();
    laidOutSize_ = size;
}

void MusicRangeSlider::mouseDraggedWithSender(ZorDraggedView* sender) {
    const double bw = trackWidth();
    if (sender == tickMarkView_) {
        progress_ = float(safeRatio(viewFrame(tickMarkView_).x(), viewSize(this).width() - viewFrame(tickMarkView_).width()));
        if (delegate_) delegate_->changeProgress(this);
    } else if (sender == leftMoveView_) {
        // The handles meet but never cross: a start after the end is no music span.
        const float newLeft = std::min(float(safeRatio(viewFrame(leftMoveView_).x(), bw)), positionRightValue_);
        const float musicLength = musicRightValue_;
        setVideoRangeLowerValue(newLeft, positionRightValue_);
        setMusicRangeLowerValue(newLeft, musicLength);
    } else if (sender == rightMoveView_) {
        const float newRight = std::max(float(safeRatio(viewFrame(rightMoveView_).x(), bw)), positionLeftValue_);
        setVideoRangeLowerValue(positionLeftValue_, newRight);
        setMusicRangeLowerValue(musicLeftValue_, musicRightValue_);
    } else if (sender == videoPositionView_) {
        // The span keeps its length and stays on the track: its start is read from where the
        // track begins, so a press that does not move leaves the music where it was.
        const float length = positionRightValue_ - positionLeftValue_;
        const float newLeft = std::clamp(float(safeRatio(viewFrame(videoPositionView_).x() - kInset, bw)), 0.0f,
                                         std::max(0.0f, 1.0f - length));
        setVideoRangeLowerValue(newLeft, newLeft + length);
        setMusicRangeLowerValue(newLeft, std::min(musicRightValue_, positionRightValue_ - positionLeftValue_));
        placeHandles(0);
    }
    if (delegate_) delegate_->changeRangeValue(this);
}

}  // namespace kestrel::widgets

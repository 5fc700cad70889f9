#pragma once
// The trim range bar: a track with two handles for the range start and end and a play tick.
// It carries three fractions of a clip's duration (lowerValue, upperValue, progress) and knows no
// times. It reports presses, handle and tick drags and releases to its delegate; values the
// owner sets are never reported back.
#include <QRectF>
#include <cstdint>

#include "widgets/construction.h"
#include "widgets/named_image_view.h"
#include "widgets/zor_dragged_view.h"

namespace kestrel::widgets {

class RDCutProgressView;

class RDCutProgressViewDelegate {
public:
    virtual ~RDCutProgressViewDelegate() = default;
    // Every press, last; the tick centre's fraction of the track.
    virtual void actionMouseDownForCutProgressViewBlock(RDCutProgressView* view, float progress) {}
    // A press off the handles and each tick drag step; limited to [0, 1].
    virtual void actionSeekToTimeForCutProgressViewBlock(RDCutProgressView* view, float progress) {}
    // Each handle drag step; handleType 1 left, 2 right.
    virtual void actionMouseMovedForCutProgressViewBlock(RDCutProgressView* view, float startvalue,
                                                         float stopvalue, int64_t handleType) {}
    // Every release; the tick centre's fraction of the track.
    virtual void actionMouseUpForCutProgressViewBlock(RDCutProgressView* view, float progress) {}
};

class RDCutProgressView : public QWidget {
public:
    static constexpr int64_t kLeftHandle = 1;
    static constexpr int64_t kRightHandle = 2;

    RDCutProgressView(const QRectF& frame, QWidget* parent = nullptr,
                      Construction how = Construction::InCode);

    // Resizes and lays the parts out for the new size, then re-applies the three values.
    void setFrame(const QRectF& frame);

    void setIsNew(bool isNew) { isNew_ = isNew; }
    bool isNew() const { return isNew_; }
    // Keep-outside look: the part outside the handles is the one kept.
    void setIsFanxuan(bool keepOutside);
    bool isFanxuan() const { return isFanxuan_; }
    // Picture variant: 0 default; 1 the "Cut/" pictures; 1 and 2 the alternative tick.
    void setType(int64_t type);
    int64_t type() const { return type_; }

    void setLowerValue(float value);
    void setUpperValue(float value);
    // The owner's call for a new clip or range: both ends placed as the single setters place
    // them; an upper value of exactly 0 means 1.
    void setLowerValue(float lower, float upper);
    void setProgress(float progress);
    float lowerValue() const { return lowerValue_; }
    float upperValue() const { return upperValue_; }
    float progress() const { return progress_; }
    int64_t handleType() const { return handleType_; }

    void setMusicRangeLowerValue(float lower, float duration);
    float musicLeftValue() const { return musicLeftValue_; }
    float musicRightValue() const { return musicRightValue_; }
    void setIsRepeat(bool repeat);
    bool isRepeat() const { return isRepeat_; }
    void setIsMusicPosition(bool value) { isMusicPosition_ = value; }
    bool isMusicPosition() const { return isMusicPosition_; }

    // Hides the handles (and lets the tick be dragged).
    void setDisable(bool disable);
    bool disable() const { return disable_; }
    void setTickHidden(bool hidden);
    bool tickHidden() const { return tickHidden_; }
    // Whether the play tick may be dragged.
    void setTickMark(bool tickMark) { tickMark_ = tickMark; }
    bool tickMark() const { return tickMark_; }

    // What the current press grabbed.
    bool handLeft() const { return handLeft_; }
    bool handRight() const { return handRight_; }
    bool handtick() const { return handtick_; }

    // Not owned; the owner clears it before the delegate goes away.
    void setDelegate(RDCutProgressViewDelegate* delegate) { delegate_ = delegate; }
    RDCutProgressViewDelegate* delegate() const { return delegate_; }

    NamedImageView* progressBackView() const { return progressBackView_; }
    NamedImageView* progressTintView() const { return progressTintView_; }
    NamedImageView* tickMarkView() const { return tickMarkView_; }
    NamedImageView* handLeftView() const { return handLeftView_; }
    NamedImageView* handRightView() const { return handRightView_; }
    ZorDraggedView* videoPositionView() const { return videoPositionView_; }
    NamedImageView* musicRangeView() const { return musicRangeView_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildParts(Construction how);
    void layOutForSize();
    void layOutNewLook(double w, double h);
    void layOutClassicLook(double w, double h);
    void applyLookPictures();
    void applySpan();
    void placeTickX(double x);
    void dragTick(double pointerX);
    void dragHandle(double pointerX);
    QPointF pointerPoint(const QMouseEvent* event) const;
    QRectF track() const;
    double barWidth() const;
    double barHeight() const;
    double tickWidth() const;

    bool isNew_ = false;
    bool disable_ = false;
    bool tickMark_ = false;
    bool tickHidden_ = false;
    bool isFanxuan_ = false;
    bool isMusicPosition_ = false;
    bool isRepeat_ = false;
    bool handLeft_ = false;
    bool handRight_ = false;
    bool handtick_ = false;
    float progress_ = 0;
    float lowerValue_ = 0;
    float upperValue_ = 0;
    float musicLeftValue_ = 0;
    float musicRightValue_ = 0;
    int64_t type_ = 0;
    int64_t handleType_ = 0;
    QSize laidOutSize_;
    RDCutProgressViewDelegate* delegate_ = nullptr;

    NamedImageView* progressBackView_ = nullptr;
    NamedImageView* progressTintView_ = nullptr;
    ZorDraggedView* videoPositionView_ = nullptr;
    NamedImageView* musicRangeView_ = nullptr;
    NamedImageView* tickMarkView_ = nullptr;
    NamedImageView* handLeftView_ = nullptr;
    NamedImageView* handRightView_ = nullptr;
};

}  // namespace kestrel::widgets

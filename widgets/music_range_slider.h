#pragma once
// The editor's background-music bar. Over the video's time line it shows the span during which
// a music item plays (the video range, with a handle at each end), how much of that span the
// music fills (the music range) and a play-position knob. With enable on the user drags the
// handles or the whole span; with enable off only the knob. All values are fractions 0 to 1.
#include <QRectF>

#include "widgets/construction.h"
#include "widgets/named_image_view.h"
#include "widgets/zor_dragged_view.h"

namespace kestrel::widgets {

class MusicRangeSlider;

class MusicRangeSliderDelegate {
public:
    virtual ~MusicRangeSliderDelegate() = default;
    // The knob was dragged; read progress().
    virtual void changeProgress(MusicRangeSlider* slider) {}
    // After every drag report; read the four range values.
    virtual void changeRangeValue(MusicRangeSlider* slider) {}
};

class MusicRangeSlider : public QWidget, public ZorDraggedViewDelegate {
public:
    MusicRangeSlider(const QRectF& frame, QWidget* parent = nullptr, Construction how = Construction::InCode);

    void setVideoRangeLowerValue(float lower, float upper);
    void setMusicRangeLowerValue(float lower, float duration);
    // Places the knob for the owner; reports nothing.
    void setProgress(float progress);
    float progress() const { return progress_; }
    void setEnable(bool enable);
    bool enable() const { return enable_; }
    void setIsRepeat(bool repeat);
    bool isRepeat() const { return isRepeat_; }
    // Lays everything out again for the stored values; the knob is not moved.
    void setFrame(const QRectF& frame);

    // Plain accessors: setting one only stores it until the next range setter or setFrame.
    float positionLeftValue() const { return positionLeftValue_; }
    void setPositionLeftValue(float v) { positionLeftValue_ = v; }
    float positionRightValue() const { return positionRightValue_; }
    void setPositionRightValue(float v) { positionRightValue_ = v; }
    float musicLeftValue() const { return musicLeftValue_; }
    void setMusicLeftValue(float v) { musicLeftValue_ = v; }
    float musicRightValue() const { return musicRightValue_; }
    void setMusicRightValue(float v) { musicRightValue_ = v; }

    // Not owned; the owner clears it before the delegate goes away.
    void setDelegate(MusicRangeSliderDelegate* delegate) { delegate_ = delegate; }
    MusicRangeSliderDelegate* delegate() const { return delegate_; }

    NamedImageView* backGroundView() const { return backGroundView_; }
    ZorDraggedView* videoPositionView() const { return videoPositionView_; }
    NamedImageView* musicRangeView() const { return musicRangeView_; }
    ZorDraggedView* leftMoveView() const { return leftMoveView_; }
    ZorDraggedView* rightMoveView() const { return rightMoveView_; }
    ZorDraggedView* tickMarkView() const { return tickMarkView_; }

    // A part moved under the pointer.
    void mouseDraggedWithSender(ZorDraggedView* sender) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setUI(double width, double height);
    void placeHandles(double y);
    void refreshRepeatLook();
    void followNewSize();
    double trackWidth() const;
    double rangeX() const;
    double rangeWidth() const;

    float positionLeftValue_ = 0;
    float positionRightValue_ = 0;
    float musicLeftValue_ = 0;
    float musicRightValue_ = 0;
    float progress_ = 0;
    bool enable_ = false;
    bool isRepeat_ = false;
    QSizeF laidOutSize_;
    MusicRangeSliderDelegate* delegate_ = nullptr;

    NamedImageView* backGroundView_ = nullptr;
    ZorDraggedView* videoPositionView_ = nullptr;
    NamedImageView* musicRangeView_ = nullptr;
    ZorDraggedView* leftMoveView_ = nullptr;
    ZorDraggedView* rightMoveView_ = nullptr;
    ZorDraggedView* tickMarkView_ = nullptr;
};

}  // namespace kestrel::widgets

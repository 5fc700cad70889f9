#pragma once
// The general value slider (volume, speed, colour values, positions): a thin track, a fill from
// the track's start to the knob, and a square knob. It lies horizontally when its frame is wider
// than high and vertically otherwise (value 0 at the bottom). It reports the press, each drag
// step and the release; values the owner sets are never reported.
#include "widgets/construction.h"
#include "widgets/knob_slider.h"
#include "widgets/xj_flipped_view.h"

namespace widgets {

class VolumeProgressSlider;

class VolumeProgressSliderDelegate {
public:
    virtual ~VolumeProgressSliderDelegate() = default;
    // The button was released; the current value.
    virtual void actionMouseUpForProgressSliderBlock(VolumeProgressSlider* slider, float progress) {}
    // The button was pressed; the value from before the press.
    virtual void actionMouseDownForProgressSliderBlock(VolumeProgressSlider* slider, float progress) {}
    // The value changed by the press or a drag step.
    virtual void actionProgressForProgressSliderBlock(VolumeProgressSlider* slider, float progress) {}
};

class VolumeProgressSlider : public KnobSlider {
public:
    VolumeProgressSlider(const QRectF& frame, QWidget* parent = nullptr, Construction how = Construction::InCode);
    ~VolumeProgressSlider() override;

    void setTickrefresh(bool refresh) override;

    // Stored and returned only: the value range is always 0 to 1.
    void setIsver(bool isver) { isver_ = isver; }
    bool isver() const { return isver_; }
    void setMinValue(float value) { minValue_ = value; }
    float minValue() const { return minValue_; }
    void setMaxValue(float value) { maxValue_ = value; }
    float maxValue() const { return maxValue_; }

    // Not owned; the owner clears it before the delegate goes away.
    void setDelegate(VolumeProgressSliderDelegate* delegate) { delegate_ = delegate; }
    VolumeProgressSliderDelegate* delegate() const { return delegate_; }

    XJFlippedView* progressBackView() const { return static_cast<XJFlippedView*>(track_); }
    XJFlippedView* progressTintView() const { return static_cast<XJFlippedView*>(fill_); }
    NamedImageView* tickMarkView() const { return knob_; }

protected:
    bool horizontal() const override;
    void resizeParts(const QSizeF& oldSize, const QSizeF& newSize) override;
    void reportPress(float value) override;
    void reportProgress(float value) override;
    void reportRelease(float value) override;

private:
    bool isver_ = false;
    float minValue_ = 0;
    float maxValue_ = 0;
    VolumeProgressSliderDelegate* delegate_ = nullptr;
};

}  // namespace widgets

#pragma once
// The general value slider (volume, speed, colour values, positions): a thin track, a fill from
// the track's start to the knob, and a square knob. It lies horizontally when its frame is wider
// than high and vertically otherwise (value 0 at the bottom). It reports the press, each drag
// step and the release; values the owner sets are never reported.
#include "widgets/construction.h"
#include "widgets/progress_slider_delegate.h"
#include "widgets/xj_flipped_view.h"

namespace kestrel::widgets {

class VolumeProgressSlider;

using VolumeProgressSliderDelegate = ProgressSliderDelegate<VolumeProgressSlider>;

class VolumeProgressSlider : public ReportingKnobSlider<VolumeProgressSlider> {
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

    XJFlippedView* progressBackView() const { return static_cast<XJFlippedView*>(track_); }
    XJFlippedView* progressTintView() const { return static_cast<XJFlippedView*>(fill_); }
    NamedImageView* tickMarkView() const { return knob_; }

protected:
    bool horizontal() const override;
    void resizeParts(const QSizeF& oldSize, const QSizeF& newSize) override;

private:
    bool isver_ = false;
    float minValue_ = 0;
    float maxValue_ = 0;
};

}  // namespace kestrel::widgets

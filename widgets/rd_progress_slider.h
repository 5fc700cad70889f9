#pragma once
// The splitter's horizontal slider (preview position, volume): the volume slider's value model,
// mouse handling and reports, with an 8-point track of plain pictures whose parts follow the
// slider's size by their autoresizing masks.
#include "widgets/construction.h"
#include "widgets/progress_slider_delegate.h"

namespace kestrel::widgets {

class RDProgressSlider;

using RDProgressSliderDelegate = ProgressSliderDelegate<RDProgressSlider>;

class RDProgressSlider : public ReportingKnobSlider<RDProgressSlider> {
public:
    RDProgressSlider(const QRectF& frame, QWidget* parent = nullptr, Construction how = Construction::InCode);
    ~RDProgressSlider() override;

    // YES gives the knob its picture's size, centred vertically; its x is kept.
    void setTickrefresh(bool refresh) override;

    NamedImageView* progressBackView() const { return track_; }
    NamedImageView* progressTintView() const { return fill_; }
    NamedImageView* tickMarkView() const { return knob_; }

protected:
    bool horizontal() const override { return true; }
    void resizeParts(const QSizeF& oldSize, const QSizeF& newSize) override;

private:
    int knobMask_ = 0;
};

}  // namespace kestrel::widgets

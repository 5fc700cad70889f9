#pragma once
// The splitter's horizontal slider (preview position, volume): the volume slider's value model,
// mouse handling and reports, with an 8-point track of plain pictures whose parts follow the
// slider's size by their autoresizing masks.
#include "widgets/construction.h"
#include "widgets/knob_slider.h"

namespace widgets {

class RDProgressSlider;

class RDProgressSliderDelegate {
public:
    virtual ~RDProgressSliderDelegate() = default;
    virtual void actionMouseUpForProgressSliderBlock(RDProgressSlider* slider, float progress) {}
    virtual void actionMouseDownForProgressSliderBlock(RDProgressSlider* slider, float progress) {}
    virtual void actionProgressForProgressSliderBlock(RDProgressSlider* slider, float progress) {}
};

class RDProgressSlider : public KnobSlider {
public:
    RDProgressSlider(const QRectF& frame, QWidget* parent = nullptr, Construction how = Construction::InCode);
    ~RDProgressSlider() override;

    // YES gives the knob its picture's size, centred vertically; its x is kept.
    void setTickrefresh(bool refresh) override;

    // Not owned; the owner clears it before the delegate goes away.
    void setDelegate(RDProgressSliderDelegate* delegate) { delegate_ = delegate; }
    RDProgressSliderDelegate* delegate() const { return delegate_; }

    NamedImageView* progressBackView() const { return track_; }
    NamedImageView* progressTintView() const { return fill_; }
    NamedImageView* tickMarkView() const { return knob_; }

protected:
    bool horizontal() const override { return true; }
    void resizeParts(const QSizeF& oldSize, const QSizeF& newSize) override;
    void reportPress(float value) override;
    void reportProgress(float value) override;
    void reportRelease(float value) override;

private:
    int knobMask_ = 0;
    RDProgressSliderDelegate* delegate_ = nullptr;
};

}  // namespace widgets

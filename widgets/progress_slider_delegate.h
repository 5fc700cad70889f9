#pragma once
// The reports of the value sliders (VolumeProgressSliderDelegate, RDProgressSliderDelegate):
// one protocol shape, each taking its own slider class, and the slider base that sends them.
#include "widgets/knob_slider.h"

namespace kestrel::widgets {

template <typename Slider>
class ProgressSliderDelegate {
public:
    virtual ~ProgressSliderDelegate() = default;
    // The button was released; the current value.
    virtual void actionMouseUpForProgressSliderBlock(Slider* slider, float progress) {}
    // The button was pressed; the value from before the press.
    virtual void actionMouseDownForProgressSliderBlock(Slider* slider, float progress) {}
    // The value changed by the press or a drag step.
    virtual void actionProgressForProgressSliderBlock(Slider* slider, float progress) {}
};

template <typename Slider>
class ReportingKnobSlider : public KnobSlider {
public:
    using Delegate = ProgressSliderDelegate<Slider>;
    // Not owned; the owner clears it before the delegate goes away.
    void setDelegate(Delegate* delegate) { delegate_ = delegate; }
    Delegate* delegate() const { return delegate_; }

protected:
    explicit ReportingKnobSlider(QWidget* parent) : KnobSlider(parent) {}

    void reportPress(float value) override {
        if (delegate_) delegate_->actionMouseDownForProgressSliderBlock(self(), value);
    }
    void reportProgress(float value) override {
        if (delegate_) delegate_->actionProgressForProgressSliderBlock(self(), value);
    }
    void reportRelease(float value) override {
        if (delegate_) delegate_->actionMouseUpForProgressSliderBlock(self(), value);
    }

private:
    Slider* self() { return static_cast<Slider*>(this); }
    Delegate* delegate_ = nullptr;
};

}  // namespace kestrel::widgets

#pragma once
// The value sliders' arithmetic, apart from any widget: knob placing for a value and the value a
// pointer position gives. Positions run along the slider's long axis in points.

namespace kestrel::widgets::slider {

// Knob start for a value: (length - knob) * value, rounded to single precision, kept in the bar.
double knobOffsetForValue(float value, double length, double knobLength);

struct KnobDrag {
    double knobOffset;   // the knob's start along the axis
    double fillLength;   // the fill reaches the knob's centre
    float value;         // the knob's place over the track less one knob length, in [0, 1]
};

// The knob's centre follows the pointer within half a knob of each end of the track.
KnobDrag dragKnob(double pointer, double trackStart, double trackLength, double knobLength);

}  // namespace kestrel::widgets::slider

#include "widgets/slider_geometry.h"

#include <algorithm>

#include "widgets/value_math.h"

namespace kestrel::widgets::slider {

double knobOffsetForValue(float value, double length, double knobLength) {
    const double room = length - knobLength;
    const float product = float(room * placeable(value));
    return std::min(std::max(0.0, double(product)), room);
}

KnobDrag dragKnob(double pointer, double trackStart, double trackLength, double knobLength) {
    const double centre = limited(pointer, trackStart + knobLength / 2, trackStart + trackLength - knobLength / 2);
    const double knob = centre - knobLength / 2;
    const float value = limitedUnit(float(safeRatio(knob - trackStart, trackLength - knobLength)));
    return {knob, knob + knobLength / 2, value};
}

}  // namespace kestrel::widgets::slider

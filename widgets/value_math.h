#pragma once
// Small numeric guards shared by the bars and sliders.
#include <algorithm>
#include <cmath>

namespace kestrel::widgets {

// A value given by an owner, usable for placing: NaN and infinities place as 0.
inline double placeable(double v) { return std::isfinite(v) ? v : 0.0; }

// num / den, or 0 when the denominator is not positive (a bar with no room to move in).
inline double safeRatio(double num, double den) { return (den > 0 && std::isfinite(num)) ? num / den : 0.0; }

// v limited to [lo, hi]; lo wins when the range is empty.
inline double limited(double v, double lo, double hi) { return std::max(lo, std::min(v, hi)); }

inline float limitedUnit(float v) { return std::max(0.0f, std::min(v, 1.0f)); }

}  // namespace kestrel::widgets

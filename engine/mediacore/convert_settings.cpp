#include "engine/mediacore/convert_settings.h"

#include <cmath>

namespace kestrel::mediacore {

AVRational frameRateFromDouble(double fps) {
    if (!(fps > 0)) return AVRational{0, 1};
    for (int base : {24, 30, 48, 60, 120}) {
        double ntsc = base * 1000.0 / 1001.0;
        if (std::abs(fps - ntsc) < 0.005) return AVRational{base * 1000, 1001};
    }
    if (std::abs(fps - std::round(fps)) < 1e-6) return AVRational{static_cast<int>(std::lround(fps)), 1};
    return av_d2q(fps, 1000000);
}

}  // namespace kestrel::mediacore

#include "session/export/gif/gif_limits.h"

#include <algorithm>
#include <cmath>

namespace kestrel::session {

double clampGifFps(double fps) {
    if (!std::isfinite(fps)) return kGifMinFps;
    return std::clamp(fps, kGifMinFps, kGifMaxFps);
}

int clampGifSide(int64_t side) {
    int64_t even = side + (side & 1);
    return int(std::clamp<int64_t>(even, 2, kGifMaxSide));
}

}  // namespace kestrel::session

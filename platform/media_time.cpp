#include "platform/media_time.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>

namespace platform {
namespace {

// a * b / c rounded half away from zero, without intermediate overflow for media-sized values.
int64_t rescale(int64_t a, int64_t b, int64_t c) {
    const __int128 num = static_cast<__int128>(a) * b;
    const __int128 half = c / 2;
    const __int128 q = num >= 0 ? (num + half) / c : (num - half) / c;
    return static_cast<int64_t>(q);
}

}  // namespace

int64_t MediaTime::microseconds() const {
    return isValid() ? rescale(value, 1000000, timescale) : 0;
}

MediaTime MediaTime::fromSeconds(double seconds, int32_t timescale) {
    if (timescale <= 0 || !std::isfinite(seconds)) return invalid();
    return {static_cast<int64_t>(std::llround(seconds * double(timescale))), timescale};
}

int compare(const MediaTime& a, const MediaTime& b) {
    if (!a.isValid() || !b.isValid()) return int(a.isValid()) - int(b.isValid());
    const __int128 l = static_cast<__int128>(a.value) * b.timescale;
    const __int128 r = static_cast<__int128>(b.value) * a.timescale;
    return l < r ? -1 : (l > r ? 1 : 0);
}

MediaTime convertScale(const MediaTime& t, int32_t timescale) {
    if (!t.isValid() || timescale <= 0) return MediaTime::invalid();
    return {rescale(t.value, timescale, t.timescale), timescale};
}

MediaTime add(const MediaTime& a, const MediaTime& b) {
    if (!a.isValid() || !b.isValid()) return MediaTime::invalid();
    if (a.timescale == b.timescale) return {a.value + b.value, a.timescale};
    // The least common timescale keeps both exact; past int32 fall back to the finer one.
    const int64_t common = std::lcm<int64_t>(a.timescale, b.timescale);
    const int32_t scale = common <= INT32_MAX ? int32_t(common) : std::max(a.timescale, b.timescale);
    return {convertScale(a, scale).value + convertScale(b, scale).value, scale};
}

MediaTime subtract(const MediaTime& a, const MediaTime& b) {
    return add(a, {-b.value, b.timescale});
}

}  // namespace platform

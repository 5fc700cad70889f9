#include "tools/shared/clip_range.h"

#include <algorithm>

namespace kestrel::tools::shared {

int64_t minimumRangeUs(int64_t total_us) { return std::clamp<int64_t>(total_us, 0, kMinimumRangeUs); }

ClipRange withStart(ClipRange range, int64_t start_us, int64_t total_us) {
    const int64_t least = minimumRangeUs(total_us);
    range.end_us = std::clamp<int64_t>(range.end_us, least, std::max<int64_t>(0, total_us));
    range.start_us = std::clamp<int64_t>(start_us, 0, range.end_us - least);
    return range;
}

ClipRange withEnd(ClipRange range, int64_t end_us, int64_t total_us) {
    const int64_t least = minimumRangeUs(total_us);
    total_us = std::max<int64_t>(0, total_us);
    range.start_us = std::clamp<int64_t>(range.start_us, 0, total_us - least);
    range.end_us = std::clamp<int64_t>(end_us, range.start_us + least, total_us);
    return range;
}

ClipRange startAtPlayHead(ClipRange range, int64_t position_us, int64_t total_us) {
    if (total_us <= 0) return {};
    const double p = double(position_us) / double(total_us);
    if (p >= double(range.end_us) / double(total_us) - kSnapFraction) range.end_us = total_us;
    return withStart(range, position_us, total_us);
}

ClipRange endAtPlayHead(ClipRange range, int64_t position_us, int64_t total_us) {
    if (total_us <= 0) return {};
    const double p = double(position_us) / double(total_us);
    if (double(range.start_us) / double(total_us) + kSnapFraction >= p) range.start_us = 0;
    return withEnd(range, position_us, total_us);
}

}  // namespace kestrel::tools::shared

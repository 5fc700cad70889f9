#pragma once
// The cut range of the single-clip tools and the rules every control that moves it follows: a
// range is never empty (it keeps at least kMinimumRangeUs, or the whole clip when that is
// shorter) and lies inside the clip. "Set start" close to the end (within 2 % of the clip)
// takes the rest of the clip; "Set end" close to the start takes the clip from its beginning.
#include <cstdint>

namespace kestrel::tools::shared {

struct ClipRange {
    int64_t start_us = 0, end_us = 0;
    bool operator==(const ClipRange&) const = default;
};

constexpr int64_t kMinimumRangeUs = 100'000;
constexpr double kSnapFraction = 0.02;

// The shortest range a clip of total_us allows.
int64_t minimumRangeUs(int64_t total_us);
// The range with its start moved to start_us; the end stays unless the clip is too short.
ClipRange withStart(ClipRange range, int64_t start_us, int64_t total_us);
// The range with its end moved to end_us; the start stays unless the clip is too short.
ClipRange withEnd(ClipRange range, int64_t end_us, int64_t total_us);
// "Set start" and "Set end" at the play head.
ClipRange startAtPlayHead(ClipRange range, int64_t position_us, int64_t total_us);
ClipRange endAtPlayHead(ClipRange range, int64_t position_us, int64_t total_us);

}  // namespace kestrel::tools::shared

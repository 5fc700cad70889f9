#include "engine/core/range_edges.h"

#include <algorithm>

namespace kestrel::engine {

namespace {

// The picture grid of a constant-rate stream on the file time line.
struct PictureGrid {
    int64_t first_us = 0;
    AVRational rate{0, 1};

    // Start of picture n, rounded down so that the picture's own time is never before it.
    int64_t startUs(int64_t n) const { return first_us + av_rescale_rnd(n, int64_t(rate.den) * 1000000, rate.num, AV_ROUND_DOWN); }
    // The first picture starting at or after time_us (less the slack).
    int64_t firstAtOrAfter(int64_t time_us) const {
        const int64_t from = time_us - kRangeEdgeSlackUs - first_us;
        if (from <= 0) return 0;
        return av_rescale_rnd(from, rate.num, int64_t(rate.den) * 1000000, AV_ROUND_UP);
    }
    int64_t lastAtOrBefore(int64_t time_us) const {
        const int64_t from = time_us + kRangeEdgeSlackUs - first_us;
        if (from <= 0) return 0;
        return av_rescale_rnd(from, rate.num, int64_t(rate.den) * 1000000, AV_ROUND_DOWN);
    }
};

bool constantRate(const AVStream* st) {
    const AVRational avg = st->avg_frame_rate, real = st->r_frame_rate;
    return avg.num > 0 && avg.den > 0 && real.num > 0 && real.den > 0 && av_cmp_q(avg, real) == 0;
}

}  // namespace

RangeEdges pictureEdges(const MediaInput& input, int64_t start_us, int64_t end_us) {
    RangeEdges edges{start_us, end_us};
    const int index = input.bestVideoStream();
    const AVStream* st = input.stream(index);
    if (!st || !constantRate(st)) return edges;
    PictureGrid grid;
    grid.rate = st->avg_frame_rate;
    if (st->start_time != AV_NOPTS_VALUE && input.countedPictureLength(index) == 0)
        grid.first_us = std::max<int64_t>(input.toFileTimeUs(index, st->start_time), 0);
    const bool moved_start = start_us > grid.first_us;
    int64_t first = moved_start ? grid.firstAtOrAfter(start_us) : 0;
    if (end_us > 0) {
        int64_t end = grid.firstAtOrAfter(end_us);
        if (end <= first) {  // no picture starts inside: the one shown at the start is taken
            first = moved_start ? grid.lastAtOrBefore(start_us) : 0;
            end = first + 1;
        }
        edges.end_us = grid.startUs(end);
    }
    if (moved_start) edges.start_us = grid.startUs(first);
    return edges;
}

}  // namespace kestrel::engine

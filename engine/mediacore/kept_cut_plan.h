#pragma once
// Where a cut that keeps the source's video packets can copy them, and which pictures at its
// two ends must be decoded and coded again because the packets that show them refer to
// pictures outside what is copied. Both ends follow one rule: packets are copied from a key
// frame up to (not including) a key frame, and the pictures shown between the cut point and
// the copied stretch form a stretch of their own, coded again.
//
// The decision reads only time stamps and key flags, so it holds for any codec: every packet
// before a key frame in decoding order is shown before the pictures after it. Splicing coded-
// again stretches into copied packets needs the stream's NAL framing (H.264, HEVC).
#include <cstdint>

#include "engine/core/media_input.h"
#include "engine/mediacore/nal_stream.h"

namespace kestrel::mediacore {

enum class KeptCut {
    Copy,    // every packet of the range can be copied: it starts and ends where the pictures do
    Splice,  // copy in the middle, code the ends again (see KeptCutPlan)
    Encode,  // nothing can be copied exactly: code the whole range again
};

// Key frames are named by the time their picture is shown, on the file time line (µs).
struct KeptCutPlan {
    // The pictures from the cut start up to copy_from_us are coded again (decoding starts at the
    // key frame at or before the cut start), those that follow the key frame in decoding order
    // (HEVC's leading pictures) too.
    bool head = false;
    int64_t copy_from_us = 0;     // the key frame the copied packets start with
    int64_t head_dts_delay = 0;   // its show time minus its decoding time, in the stream's time base
    // The pictures from tail_first_us up to the cut end are coded again; copying stops before
    // the key frame at copy_until_us, and the tail's decoding starts at tail_decode_from_us (the
    // key frame before it when pictures after it refer to pictures before it).
    bool tail = false;
    int64_t copy_until_us = INT64_MAX;
    int64_t tail_decode_from_us = INT64_MAX;
    int64_t tail_first_us = INT64_MAX;
};

// Whether the packet holds the key frame shown at shown_us (file time line): how a plan names
// its key frames.
bool isKeyFrameShownAt(const engine::MediaInput& input, int stream_index, const AVPacket* packet, int64_t shown_us);

// Plans a cut of [start_us, end_us) of the stream (end_us 0: to the end of the file). nal is the
// stream's framing, null when stretches cannot be spliced into it. Leaves the input seeked to 0.
KeptCut planKeptCut(engine::MediaInput& input, int stream_index, int64_t start_us, int64_t end_us,
                    const NalStream* nal, KeptCutPlan* plan);

}  // namespace kestrel::mediacore

#include "engine/mediacore/kept_cut_plan.h"

#include <algorithm>
#include <vector>

namespace kestrel::mediacore {

using namespace kestrel::engine;

namespace {

// A picture on the cut's border counts when it is shown at most this long before it (time
// stamps rounded to milliseconds by some containers).
constexpr int64_t kSlackUs = 1000;

struct SeenPacket {
    int64_t shown_us = AV_NOPTS_VALUE;    // file time line
    int64_t decoded_us = AV_NOPTS_VALUE;
    int64_t pts = AV_NOPTS_VALUE, dts = AV_NOPTS_VALUE;  // stream time base
    bool key = false;
    bool fresh = false;  // copying may start here after pictures coded again
};

// The next packet of the stream; false at the end of the file.
bool nextPacket(MediaInput& input, int stream_index, const NalStream* nal, SeenPacket* seen) {
    PacketPtr packet = makePacket();
    while (input.readPacket(packet.get()) >= 0) {
        if (packet->stream_index != stream_index) {
            av_packet_unref(packet.get());
            continue;
        }
        seen->pts = packet->pts;
        seen->dts = packet->dts;
        seen->shown_us = input.toFileTimeUs(stream_index, packet->pts);
        seen->decoded_us = packet->dts != AV_NOPTS_VALUE ? input.toFileTimeUs(stream_index, packet->dts) : seen->shown_us;
        seen->key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
        seen->fresh = seen->key && nal && nal->startsAfresh(packet.get());
        av_packet_unref(packet.get());
        return true;
    }
    return false;
}

// Where copying starts: the key frame the demuxer lands on at the cut start when it is shown
// there, else the first key frame after the start when no picture is shown between the start
// and it, else the first key frame after the start where copying may start afresh (H.264: an
// IDR picture; HEVC: a random access point), the pictures shown before it being coded again.
bool planStart(MediaInput& input, int stream_index, int64_t start_us, int64_t end_us, const NalStream* nal,
               KeptCutPlan* plan) {
    SeenPacket seen;
    input.seekUs(start_us);
    if (!nextPacket(input, stream_index, nal, &seen) || seen.shown_us == AV_NOPTS_VALUE) return false;
    if (start_us <= 0 || (seen.key && seen.shown_us >= start_us - kSlackUs)) {
        plan->copy_from_us = seen.shown_us;
        return true;
    }
    const bool can_head = nal != nullptr;
    // Pictures shown from the start on, before the key frame looked at; a key frame's leading
    // pictures follow it in decoding order.
    int64_t first_shown_us = INT64_MAX;
    const SeenPacket* key = nullptr;
    SeenPacket candidate;
    while (nextPacket(input, stream_index, nal, &seen)) {
        if (seen.shown_us == AV_NOPTS_VALUE || (end_us > 0 && seen.decoded_us >= end_us)) return false;
        if (key && seen.shown_us > key->shown_us) {
            // Past the key frame's leading pictures: copy from it when nothing before it is
            // shown from the start on, or code those pictures again when it starts afresh.
            if (first_shown_us >= key->shown_us) {
                plan->copy_from_us = key->shown_us;
                return true;
            }
            if (can_head && key->fresh) {
                plan->head = true;
                plan->copy_from_us = key->shown_us;
                if (key->pts != AV_NOPTS_VALUE && key->dts != AV_NOPTS_VALUE) plan->head_dts_delay = key->pts - key->dts;
                return true;
            }
            if (!can_head) return false;
            key = nullptr;
        }
        if (!key && seen.key && seen.shown_us >= start_us - kSlackUs) {
            candidate = seen;
            key = &candidate;
            continue;
        }
        if (seen.shown_us >= start_us - kSlackUs) first_shown_us = std::min(first_shown_us, seen.shown_us);
    }
    return false;
}

// Where copying stops: at the latest key frame after the copy start before which every packet
// shows a picture inside the range. The pictures inside the range that packets from that key
// frame on show are the tail.
KeptCut planEnd(MediaInput& input, int stream_index, int64_t end_us, const NalStream* nal, KeptCutPlan* plan) {
    auto inside = [&](int64_t shown_us) { return shown_us < end_us - kSlackUs / 2; };
    // Packets decoded from the last key frame before the end until one is decoded at the end:
    // none after it can be shown before the end.
    std::vector<SeenPacket> packets;
    SeenPacket seen;
    input.seekUs(end_us);
    while (nextPacket(input, stream_index, nal, &seen)) {
        if (seen.shown_us == AV_NOPTS_VALUE) return KeptCut::Encode;
        if (seen.decoded_us >= end_us) break;
        packets.push_back(seen);
    }
    int stop = -1;
    bool all_inside = true;
    for (size_t i = 0; i < packets.size(); ++i) {
        if (packets[i].key && packets[i].shown_us > plan->copy_from_us && all_inside) stop = int(i);
        all_inside = all_inside && inside(packets[i].shown_us);
    }
    if (stop < 0) {
        // No key frame after the copy start: copied packets reach the end only when every one
        // decoded before the end shows a picture inside the range.
        if (!all_inside) return KeptCut::Encode;
        return plan->head ? KeptCut::Splice : KeptCut::Copy;
    }
    const SeenPacket& key = packets[size_t(stop)];
    plan->copy_until_us = key.shown_us;
    bool leading = false;
    for (size_t i = size_t(stop); i < packets.size(); ++i) {
        if (!inside(packets[i].shown_us)) continue;
        plan->tail = true;
        plan->tail_first_us = std::min(plan->tail_first_us, packets[i].shown_us);
        leading = leading || packets[i].shown_us < key.shown_us;
    }
    if (!plan->tail) return plan->head ? KeptCut::Splice : KeptCut::Copy;
    if (!nal) return KeptCut::Encode;
    plan->tail_decode_from_us = key.shown_us;
    if (leading) {
        // Pictures shown before the key frame refer to the group before it: the tail's decoding
        // starts at that group's key frame.
        plan->tail_decode_from_us = AV_NOPTS_VALUE;
        for (int i = stop - 1; i >= 0; --i)
            if (packets[size_t(i)].key) {
                plan->tail_decode_from_us = packets[size_t(i)].shown_us;
                break;
            }
        if (plan->tail_decode_from_us == AV_NOPTS_VALUE) {
            // (A seek lands on a key frame shown up to a millisecond after the time asked.)
            input.seekUs(key.shown_us - kSlackUs - 1);
            if (!nextPacket(input, stream_index, nal, &seen) || !seen.key || seen.shown_us >= key.shown_us)
                return KeptCut::Encode;
            plan->tail_decode_from_us = seen.shown_us;
        }
        if (plan->tail_decode_from_us < plan->copy_from_us) return KeptCut::Encode;
    }
    return KeptCut::Splice;
}

}  // namespace

KeptCut planKeptCut(MediaInput& input, int stream_index, int64_t start_us, int64_t end_us, const NalStream* nal,
                    KeptCutPlan* plan) {
    *plan = KeptCutPlan{};
    KeptCut result = KeptCut::Encode;
    if (planStart(input, stream_index, start_us, end_us, nal, plan)) {
        if (end_us > 0) result = planEnd(input, stream_index, end_us, nal, plan);
        else result = plan->head ? KeptCut::Splice : KeptCut::Copy;
    }
    input.seekUs(0);
    return result;
}

bool isKeyFrameShownAt(const MediaInput& input, int stream_index, const AVPacket* packet, int64_t shown_us) {
    return (packet->flags & AV_PKT_FLAG_KEY) && packet->pts != AV_NOPTS_VALUE &&
           input.toFileTimeUs(stream_index, packet->pts) == shown_us;
}

}  // namespace kestrel::mediacore

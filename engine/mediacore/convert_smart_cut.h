#pragma once
// A cut that keeps an H.264 stream's own packets wherever it can: only the frames from the cut
// start to the first key frame after it, and from the last key frame before the cut end to the
// end, are decoded and encoded again (same codec, same picture size and format); every packet
// in between is copied. The re-encoded stretches carry their own parameter sets and the first
// copied key frame gets the source's back, so the stream decodes straight through, and every
// range starts and ends within a frame of what was asked.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/core/ff_handles.h"
#include "engine/core/media_input.h"
#include "engine/core/result_code.h"
#include "engine/core/stream_decoder.h"

namespace kestrel::mediacore {

class SmartCutVideo {
public:
    // Writes a packet whose times are in `time_base`; returns a muxer code (< 0 on failure).
    using Writer = std::function<int(AVPacket* packet, AVRational time_base)>;

    // A plan for the stream and range (cut_end_us 0: to the end of the file), or null when a
    // plain copy or a whole re-encode fits better: not H.264 with avcC headers, no IDR key frame
    // inside the range, or both ends already on key frames. Leaves the input seeked to 0.
    static std::unique_ptr<SmartCutVideo> plan(engine::MediaInput& input, int stream_index, int64_t cut_start_us,
                                               int64_t cut_end_us);
    ~SmartCutVideo();

    // One packet of the stream, in file order from the key frame at or before the cut start.
    engine::ResultCode handle(AVPacket* packet, const Writer& write);
    // Drains what is still being re-encoded.
    engine::ResultCode finish(const Writer& write);
    // Nothing more of the stream is needed.
    bool done() const { return done_; }
    bool wrote() const { return wrote_; }
    // The output time line reached, for the run's pacing.
    int64_t reachedUs() const { return reached_us_; }

private:
    enum class Phase { Head, Copy, Tail };
    struct Coder;

    SmartCutVideo() = default;
    engine::ResultCode startCoder(int64_t from_us, int64_t to_us);
    engine::ResultCode decode(const AVPacket* packet, const Writer& write);
    engine::ResultCode encode(AVFrame* frame, const Writer& write);
    engine::ResultCode endCoder(const Writer& write);
    engine::ResultCode copy(AVPacket* packet, bool withParameterSets, const Writer& write);
    int64_t packetUs(const AVPacket* packet) const;

    engine::MediaInput* input_ = nullptr;
    const AVStream* stream_ = nullptr;
    int stream_index_ = -1;
    int64_t cut_start_us_ = 0;
    int64_t cut_end_us_ = 0;       // 0: to the end
    int64_t head_end_us_ = 0;      // first IDR at or after the cut start (== start: no head)
    int64_t tail_start_us_ = 0;    // last IDR before the cut end (INT64_MAX: no tail)
    int64_t offset_ = 0;           // the cut start in the stream's time base
    int64_t dts_delay_ = 0;        // the copied stream's pts - dts at its first key frame
    int nal_length_size_ = 4;
    std::vector<uint8_t> parameter_sets_;  // the source's SPS and PPS, length-prefixed
    Phase phase_ = Phase::Head;
    std::unique_ptr<Coder> coder_;
    int64_t reached_us_ = 0;
    bool done_ = false;
    bool wrote_ = false;
};

}  // namespace kestrel::mediacore

#pragma once
// Pictures of a kept H.264 or HEVC stream decoded and coded again in the same codec, picture
// size, format (bit depth, chroma), profile, level and colour tags, for a stretch of a cut whose
// packets cannot be copied. The stretch starts with an IDR picture that carries its own
// parameter sets and has no reordering, so it can sit between the source's own packets.
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/core/ff_handles.h"
#include "engine/core/media_input.h"
#include "engine/core/result_code.h"
#include "engine/core/stream_decoder.h"
#include "engine/mediacore/nal_stream.h"

namespace kestrel::mediacore {

class RecodedStretch {
public:
    // Writes a packet whose times are in `time_base`; returns a muxer code (< 0 on failure).
    using Writer = std::function<int(AVPacket* packet, AVRational time_base)>;

    struct Span {
        int64_t from_us = 0;      // pictures shown from here (file time line) ...
        int64_t to_us = 0;        // ... to here (exclusive; 0: no end) are coded
        int64_t offset = 0;       // subtracted from every time stamp (stream time base): the cut start
        int64_t dts_shift = 0;    // subtracted from decoding times only, so they come before the
                                  // decoding times of the copied packets that follow
    };

    static std::unique_ptr<RecodedStretch> open(engine::MediaInput& input, int stream_index, const NalStream& nal,
                                                const Span& span);
    ~RecodedStretch();

    // One packet of the stream in file order; damaged packets are skipped.
    engine::ResultCode decode(const AVPacket* packet, const Writer& write);
    // Drains the decoder and the encoder.
    engine::ResultCode finish(const Writer& write);

    bool wrote() const { return wrote_; }
    // The output time line reached (µs), for the run's pacing.
    int64_t reachedUs() const { return reached_us_; }

private:
    RecodedStretch(engine::MediaInput& input, int stream_index, const NalStream& nal, const Span& span);
    engine::ResultCode receiveFrames(const Writer& write);
    engine::ResultCode openEncoder(const AVFrame* frame);
    engine::ResultCode encode(AVFrame* frame, const Writer& write);

    engine::MediaInput& input_;
    int stream_index_;
    const AVStream* stream_;
    const NalStream& nal_;
    Span span_;
    std::unique_ptr<engine::StreamDecoder> decoder_;
    engine::CodecContextPtr encoder_;
    int64_t reached_us_ = 0;
    bool wrote_ = false;
};

}  // namespace kestrel::mediacore

#pragma once
// Decoded frames of one stream of an input, with frame-accurate seeking: the demuxer goes to the
// key frame before the target, and frames that end before it are decoded and dropped.
#include "engine/core/media_input.h"
#include "engine/core/stream_decoder.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kestrel::engine {

class FrameReader {
public:
    // The input must outlive the reader; packets of other streams are skipped.
    static std::unique_ptr<FrameReader> open(MediaInput& input, int stream_index, std::string* error = nullptr);

    // The next frame returned is the one shown at time_us (file time line, 0 = first frame).
    bool seekUs(int64_t time_us);
    // 1 with a frame, 0 at the end of the stream, negative on a decoding error.
    int next(AVFrame* frame);
    // Where a frame of this stream sits on the file time line.
    int64_t frameTimeUs(const AVFrame* frame) const;

    StreamDecoder& decoder() { return *decoder_; }
    const AVStream* stream() const { return input_.stream(stream_index_); }

private:
    FrameReader(MediaInput& input, int stream_index) : input_(input), stream_index_(stream_index) {}
    int decodeOne(AVFrame* frame);

    MediaInput& input_;
    int stream_index_;
    std::unique_ptr<StreamDecoder> decoder_;
    PacketPtr packet_ = makePacket();
    FramePtr last_dropped_ = makeFrame();
    bool demux_ended_ = false;
    int64_t target_us_ = INT64_MIN;
};

}  // namespace kestrel::engine

#pragma once
// A decoder for one input stream, with FFmpeg's own threading switched on.
#include "engine/core/ff_handles.h"

#include <memory>
#include <string>

namespace kestrel::engine {

class StreamDecoder {
public:
    static std::unique_ptr<StreamDecoder> open(const AVStream* stream, std::string* error = nullptr);

    AVCodecContext* context() const { return context_.get(); }
    AVRational timeBase() const { return time_base_; }

    // Sends a packet; null starts draining. Returns 0 or an AVERROR (EAGAIN: receive first).
    int send(const AVPacket* packet);
    // 0 with a frame whose pts is the best-effort timestamp, AVERROR(EAGAIN) or AVERROR_EOF.
    int receive(AVFrame* frame);
    // Forgets buffered frames (after a seek) and leaves the drained state.
    void flush();
    // For a stream without time stamps (MediaInput::countedPictureLength): frames are numbered
    // in the order they are shown, picture_length apart, counting from 0 at the start and after
    // every flush (a seek in such a stream starts at its first picture).
    void countFrames(int64_t picture_length) { picture_length_ = picture_length; counted_ = 0; }

private:
    CodecContextPtr context_;
    AVRational time_base_{1, 1};
    int64_t picture_length_ = 0;
    int64_t counted_ = 0;
};

}  // namespace kestrel::engine

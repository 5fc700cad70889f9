#pragma once
// Decoded frames of one join clip, cut to its range. The file is demuxed once; frames of the
// stream that is not asked for wait in a small queue until it is. Decoders are opened on first
// use and released when both streams are done, so a long clip list keeps few decoders alive.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "engine/core/ff_handles.h"
#include "engine/core/join_plan.h"
#include "engine/core/stream_decoder.h"

namespace kestrel::engine {

class JoinClipFeeder {
public:
    explicit JoinClipFeeder(JoinClipSource& source) : source_(source) {}

    enum class Kind { Video = 0, Audio = 1 };
    // 1 with a frame whose pts counts microseconds from the range start, 0 when the stream has
    // nothing more inside the range, negative on a read or decode error.
    int next(Kind kind, AVFrame* frame, std::string* error);

private:
    struct Lane {
        int stream = -1;
        std::unique_ptr<StreamDecoder> decoder;
        std::deque<FramePtr> ready;
        bool decoder_drained = false;
        bool finished = false;  // past the range end: further frames are dropped
        FramePtr before_start;   // the last picture that began before the range start
        int64_t next_audio_us = AV_NOPTS_VALUE;
    };

    int start(std::string* error);
    int readMore(std::string* error);
    int receiveFrames(Lane& lane, std::string* error);
    void admit(Lane& lane, Kind kind, FramePtr frame);
    void releaseWhenDone();

    JoinClipSource& source_;
    Lane lanes_[2];
    PacketPtr packet_ = makePacket();
    bool started_ = false;
    bool demux_ended_ = false;
};

}  // namespace kestrel::engine

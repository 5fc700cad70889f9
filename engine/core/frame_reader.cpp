#include "engine/core/frame_reader.h"

namespace kestrel::engine {

std::unique_ptr<FrameReader> FrameReader::open(MediaInput& input, int stream_index, std::string* error) {
    std::unique_ptr<FrameReader> reader(new FrameReader(input, stream_index));
    reader->decoder_ = StreamDecoder::open(input.stream(stream_index), error);
    if (!reader->decoder_) return nullptr;
    reader->decoder_->countFrames(input.countedPictureLength(stream_index));
    return reader;
}

bool FrameReader::seekUs(int64_t time_us) {
    if (!input_.seekUs(time_us)) return false;
    decoder_->flush();
    demux_ended_ = false;
    target_us_ = time_us;
    return true;
}

int64_t FrameReader::frameTimeUs(const AVFrame* frame) const {
    return input_.toFileTimeUs(stream_index_, frame->pts);
}

int FrameReader::decodeOne(AVFrame* frame) {
    for (;;) {
        int rc = decoder_->receive(frame);
        if (rc == 0) return 1;
        if (rc == AVERROR_EOF) return 0;
        if (rc != AVERROR(EAGAIN)) return rc;
        if (demux_ended_) return 0;
        rc = input_.readPacket(packet_.get());
        if (rc < 0) {
            demux_ended_ = true;
            decoder_->send(nullptr);
            continue;
        }
        if (packet_->stream_index == stream_index_) {
            rc = decoder_->send(packet_.get());
            // A damaged packet is skipped, as players do; EAGAIN cannot happen after a receive.
            (void)rc;
        }
        av_packet_unref(packet_.get());
    }
}

int FrameReader::next(AVFrame* frame) {
    for (;;) {
        av_frame_unref(frame);
        int rc = decodeOne(frame);
        if (rc == 0 && target_us_ != INT64_MIN && last_dropped_->buf[0]) {
            // A target past the last frame shows the last frame.
            av_frame_move_ref(frame, last_dropped_.get());
            target_us_ = INT64_MIN;
            return 1;
        }
        if (rc <= 0) return rc;
        if (target_us_ == INT64_MIN || frame->pts == AV_NOPTS_VALUE) return 1;
        int64_t start_us = frameTimeUs(frame);
        int64_t duration_us = av_rescale_q(frame->pkt_duration > 0 ? frame->pkt_duration : 0, decoder_->timeBase(), AV_TIME_BASE_Q);
        if (start_us + duration_us > target_us_ || (duration_us == 0 && start_us >= target_us_)) {
            target_us_ = INT64_MIN;
            av_frame_unref(last_dropped_.get());
            return 1;
        }
        av_frame_unref(last_dropped_.get());
        av_frame_move_ref(last_dropped_.get(), frame);
    }
}

}  // namespace kestrel::engine

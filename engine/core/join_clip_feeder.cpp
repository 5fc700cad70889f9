#include "engine/core/join_clip_feeder.h"

#include "engine/core/range_edges.h"

#include <algorithm>

namespace kestrel::engine {

int JoinClipFeeder::start(std::string* error) {
    started_ = true;
    lanes_[0].stream = source_.video_stream;
    lanes_[1].stream = source_.audio_stream;
    for (Lane& lane : lanes_) {
        if (lane.stream < 0) {
            lane.finished = true;
            continue;
        }
        lane.decoder = StreamDecoder::open(source_.input->stream(lane.stream), error);
        if (!lane.decoder) return -1;
    }
    if (!source_.input->seekUs(source_.start_us)) source_.input->seekUs(0);
    return 0;
}

void JoinClipFeeder::admit(Lane& lane, Kind kind, FramePtr frame) {
    MediaInput& input = *source_.input;
    int64_t time_us = input.toFileTimeUs(lane.stream, frame->pts);
    if (kind == Kind::Audio) {
        // Decoders of some formats leave gaps in the stamps; continue from the previous frame.
        if (time_us == AV_NOPTS_VALUE) time_us = lane.next_audio_us;
        if (time_us == AV_NOPTS_VALUE) time_us = source_.start_us;
        const int rate = frame->sample_rate > 0 ? frame->sample_rate : 1;
        lane.next_audio_us = time_us + av_rescale(frame->nb_samples, 1000000, rate);
        if (lane.next_audio_us <= source_.start_us) return;
    } else if (time_us == AV_NOPTS_VALUE) {
        return;
    }
    const int64_t offset_us = time_us - source_.start_us;
    // Pictures that start inside the range, as every engine takes a range (range_edges.h).
    const int64_t slack_us = kind == Kind::Video ? kRangeEdgeSlackUs : 0;
    if (offset_us >= source_.lengthUs() - slack_us) {
        lane.finished = true;
        return;
    }
    frame->pts = kind == Kind::Video ? std::max<int64_t>(offset_us, 0) : offset_us;
    frame->time_base = AVRational{1, 1000000};
    if (kind == Kind::Video) {
        if (offset_us < -slack_us) {  // kept only for a range that starts after the last picture
            lane.before_start = std::move(frame);
            return;
        }
        lane.before_start.reset();
    }
    lane.ready.push_back(std::move(frame));
}

int JoinClipFeeder::receiveFrames(Lane& lane, std::string* error) {
    const Kind kind = &lane == &lanes_[0] ? Kind::Video : Kind::Audio;
    while (true) {
        FramePtr frame = makeFrame();
        const int rc = lane.decoder->receive(frame.get());
        if (rc == AVERROR(EAGAIN)) return 0;
        if (rc == AVERROR_EOF) {
            lane.decoder_drained = true;
            return 0;
        }
        if (rc < 0) {
            *error = "cannot decode " + source_.clip.path + ": " + ffErrorText(rc);
            return rc;
        }
        if (!lane.finished) admit(lane, kind, std::move(frame));
    }
}

// Reads one packet (or drains the decoders at the end of the file) and decodes what it gives.
int JoinClipFeeder::readMore(std::string* error) {
    if (demux_ended_) {
        for (Lane& lane : lanes_) {
            if (!lane.decoder || lane.decoder_drained) continue;
            lane.decoder->send(nullptr);
            if (const int rc = receiveFrames(lane, error); rc < 0) return rc;
            lane.decoder_drained = true;
        }
        for (Lane& lane : lanes_) {
            if (lane.before_start) {  // the range starts after the last picture: show that one
                lane.before_start->pts = 0;
                lane.ready.push_back(std::move(lane.before_start));
            }
            lane.finished = true;
        }
        return 0;
    }
    const int rc = source_.input->readPacket(packet_.get());
    if (rc == AVERROR_EOF) {
        demux_ended_ = true;
        return 0;
    }
    if (rc < 0) {
        *error = "cannot read " + source_.clip.path + ": " + ffErrorText(rc);
        return rc;
    }
    for (Lane& lane : lanes_) {
        if (lane.stream != packet_->stream_index || lane.finished) continue;
        int sent = lane.decoder->send(packet_.get());
        while (sent == AVERROR(EAGAIN)) {
            if (const int got = receiveFrames(lane, error); got < 0) {
                av_packet_unref(packet_.get());
                return got;
            }
            sent = lane.decoder->send(packet_.get());
        }
        // A damaged packet is skipped, as players do; a file that is damaged throughout ends
        // with too few frames rather than with made-up ones.
        if (const int got = receiveFrames(lane, error); got < 0) {
            av_packet_unref(packet_.get());
            return got;
        }
    }
    av_packet_unref(packet_.get());
    return 0;
}

void JoinClipFeeder::releaseWhenDone() {
    for (Lane& lane : lanes_) {
        if (lane.finished && lane.ready.empty()) lane.decoder.reset();
    }
}

int JoinClipFeeder::next(Kind kind, AVFrame* frame, std::string* error) {
    if (!started_) {
        if (start(error) < 0) return -1;
    }
    Lane& lane = lanes_[static_cast<int>(kind)];
    while (lane.ready.empty()) {
        if (lane.finished) {
            releaseWhenDone();
            return 0;
        }
        if (const int rc = readMore(error); rc < 0) return rc;
    }
    av_frame_move_ref(frame, lane.ready.front().get());
    lane.ready.pop_front();
    return 1;
}

}  // namespace kestrel::engine

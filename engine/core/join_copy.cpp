// Joining by copying packets: every clip has the same streams with the same parameters, so its
// packets go into the output as they are, moved along the time line by the length of the clips
// before it (as the concat demuxer does). A clip starts at the key frame at or before its range.
#include <deque>
#include <vector>

#include "engine/core/join_job.h"
#include "engine/core/join_pipelines.h"

namespace kestrel::engine {
namespace {

// Packets of B-frame streams come out of display order: the frames shown last before the end
// can need a frame shown after it. Those are kept, so the clip decodes without damage.
constexpr size_t kReorderWindow = 16;

struct CopyLane {
    int source_stream = -1;  // in the current clip
    int output_stream = -1;
    AVRational time_base{1, 1};  // the first clip's; every clip's stamps are moved into it
    int64_t last_dts = AV_NOPTS_VALUE;
    bool done = false;
    std::deque<PacketPtr> after_end;  // video packets shown after the end, kept until known unneeded
    std::vector<PacketPtr> no_dts;     // leading pictures whose decode time the demuxer left open
};

class ClipCopier {
public:
    ClipCopier(JoinClipSource& clip, std::vector<CopyLane>& lanes, MediaOutput& output, int64_t offset_us)
        : clip_(clip), lanes_(lanes), output_(output), offset_us_(offset_us) {}

    ResultCode copy(JoinJob& job, int64_t total_us, std::string* error) {
        MediaInput& input = *clip_.input;
        lanes_[0].source_stream = clip_.video_stream;
        lanes_[1].source_stream = clip_.audio_stream;
        for (CopyLane& lane : lanes_) {
            lane.done = lane.output_stream < 0;
            lane.after_end.clear();
            lane.no_dts.clear();
        }
        if (clip_.start_us > 0 && !input.seekUs(clip_.start_us)) {
            *error = "cannot seek in " + clip_.clip.path;
            return ResultCode::DecodeFailed;
        }
        PacketPtr packet = makePacket();
        while (!lanes_[0].done || !lanes_[1].done) {
            if (job.stopRequested()) return ResultCode::Stopped;
            const int rc = input.readPacket(packet.get());
            if (rc == AVERROR_EOF) break;
            if (rc < 0) {
                *error = "cannot read " + clip_.clip.path + ": " + ffErrorText(rc);
                return ResultCode::DecodeFailed;
            }
            CopyLane* lane = laneOf(packet->stream_index);
            if (!lane || lane->done) {
                av_packet_unref(packet.get());
                continue;
            }
            const ResultCode placed = place(*lane, lane == &lanes_[0], std::move(packet), error);
            packet = makePacket();
            if (placed != ResultCode::Ok) return placed;
            job.reportWritten(offset_us_ + length_us_, total_us);
        }
        return flushHeld(error);
    }

    // Where the next clip starts: after the last picture (or sound) this clip wrote.
    int64_t lengthUs() const { return length_us_ > 0 ? length_us_ : clip_.end_us - clip_.key_frame_us; }

private:
    CopyLane* laneOf(int stream) {
        for (CopyLane& lane : lanes_)
            if (lane.source_stream >= 0 && lane.source_stream == stream) return &lane;
        return nullptr;
    }

    ResultCode place(CopyLane& lane, bool video, PacketPtr packet, std::string* error) {
        const int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        const int64_t time_us = clip_.input->toFileTimeUs(lane.source_stream, ts);
        if (time_us == AV_NOPTS_VALUE || time_us < clip_.key_frame_us) return ResultCode::Ok;
        if (time_us >= clip_.end_us) {
            if (!video) {
                lane.done = true;
                return ResultCode::Ok;
            }
            const bool key = packet->flags & AV_PKT_FLAG_KEY;
            lane.after_end.push_back(std::move(packet));
            if (key || lane.after_end.size() > kReorderWindow) lane.done = true;
            return ResultCode::Ok;
        }
        // A picture inside the range arrived after ones shown later: those are its references.
        while (!lane.after_end.empty()) {
            PacketPtr held = std::move(lane.after_end.front());
            lane.after_end.pop_front();
            if (const ResultCode rc = write(lane, std::move(held), error); rc != ResultCode::Ok) return rc;
        }
        return write(lane, std::move(packet), error);
    }

    // Moves a packet onto the output time line and writes it.
    ResultCode write(CopyLane& lane, PacketPtr packet, std::string* error) {
        const AVStream* stream = clip_.input->stream(lane.source_stream);
        // Stamps on the output time line, in the first clip's time base.
        const int64_t shift = av_rescale_q(offset_us_ - clip_.key_frame_us - clip_.input->startTimeUs(),
                                           AV_TIME_BASE_Q, lane.time_base);
        auto move = [&](int64_t ts) {
            return ts == AV_NOPTS_VALUE ? ts : av_rescale_q(ts, stream->time_base, lane.time_base) + shift;
        };
        packet->pts = move(packet->pts);
        packet->dts = move(packet->dts);
        packet->duration = av_rescale_q(packet->duration, stream->time_base, lane.time_base);
        // Some containers leave picture durations out; the next clip must still start after this one.
        const bool video = &lane == &lanes_[0];
        if (packet->duration <= 0 && video && clip_.video.frame_rate.num > 0)
            packet->duration = av_rescale_q(1, av_inv_q(clip_.video.frame_rate), lane.time_base);
        if (video && packet->dts == AV_NOPTS_VALUE) {
            lane.no_dts.push_back(std::move(packet));
            return ResultCode::Ok;
        }
        if (packet->dts == AV_NOPTS_VALUE) packet->dts = packet->pts;
        // Pictures held for a decode time get the ones just before the first known one, a
        // picture duration apart, as the demuxer would have given them.
        for (size_t i = 0; i < lane.no_dts.size(); ++i) {
            const int64_t steps = static_cast<int64_t>(lane.no_dts.size() - i);
            lane.no_dts[i]->dts = packet->dts - steps * std::max<int64_t>(packet->duration, 1);
            if (const ResultCode rc = emit(lane, std::move(lane.no_dts[i]), error); rc != ResultCode::Ok) return rc;
        }
        lane.no_dts.clear();
        return emit(lane, std::move(packet), error);
    }

    // Held pictures that never got a decode time: their display time stands in for it.
    ResultCode flushHeld(std::string* error) {
        for (CopyLane& lane : lanes_) {
            for (PacketPtr& held : lane.no_dts) {
                held->dts = held->pts;
                if (const ResultCode rc = emit(lane, std::move(held), error); rc != ResultCode::Ok) return rc;
            }
            lane.no_dts.clear();
        }
        return ResultCode::Ok;
    }

    // Writes a packet already on the output time line (in the lane's time base).
    ResultCode emit(CopyLane& lane, PacketPtr packet, std::string* error) {
        // Clip boundaries can meet within a tick; the muxer wants rising decode stamps.
        if (lane.last_dts != AV_NOPTS_VALUE && packet->dts <= lane.last_dts) packet->dts = lane.last_dts + 1;
        if (packet->pts != AV_NOPTS_VALUE && packet->pts < packet->dts) packet->pts = packet->dts;
        lane.last_dts = packet->dts;
        const int64_t end = (packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts) + packet->duration;
        length_us_ = std::max(length_us_, av_rescale_q(end, lane.time_base, AV_TIME_BASE_Q) - offset_us_);
        const int rc = output_.write(packet.get(), lane.output_stream, lane.time_base);
        if (rc < 0) {
            *error = "cannot write the joined file: " + ffErrorText(rc);
            return ResultCode::WriteFailed;
        }
        return ResultCode::Ok;
    }

    JoinClipSource& clip_;
    std::vector<CopyLane>& lanes_;
    MediaOutput& output_;
    int64_t offset_us_;
    int64_t length_us_ = 0;
};

}  // namespace

ResultCode copyJoin(JoinPlan& plan, MediaOutput& output, JoinJob& job, std::string* error) {
    std::vector<CopyLane> lanes(2);
    const JoinClipSource& first = plan.clips.front();
    const int first_streams[2] = {first.video_stream, first.audio_stream};
    for (int i = 0; i < 2; ++i) {
        if (first_streams[i] < 0) continue;
        const AVStream* stream = first.input->stream(first_streams[i]);
        const int index = output.addCopyStream(stream);
        if (index < 0) {
            *error = "the container does not take the clips' streams";
            return ResultCode::EncoderMissing;
        }
        lanes[i].output_stream = index;
        lanes[i].time_base = stream->time_base;
    }
    if (output.writeHeader() < 0) {
        *error = "cannot start the joined file";
        return ResultCode::WriteFailed;
    }
    const int64_t total_us = plan.totalUs();
    int64_t offset_us = 0;
    for (JoinClipSource& clip : plan.clips) {
        ClipCopier copier(clip, lanes, output, offset_us);
        if (const ResultCode rc = copier.copy(job, total_us, error); rc != ResultCode::Ok) return rc;
        offset_us += copier.lengthUs();
    }
    return ResultCode::Ok;
}

}  // namespace kestrel::engine

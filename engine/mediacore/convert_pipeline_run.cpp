// The packet loop of a convert run and its draining at the end.
#include "engine/mediacore/convert_pipeline.h"

#include "engine/core/range_edges.h"

#include <algorithm>

namespace kestrel::mediacore {

using namespace kestrel::engine;

ResultCode ConvertPipeline::run(const std::string& input_path, const std::string& write_path) {
    if (stopped_()) return ResultCode::Stopped;
    ResultCode rc = prepare(input_path, write_path);
    if (rc != ResultCode::Ok) return rc;
    if (output_->writeHeader() < 0) return ResultCode::WriteFailed;
    rc = mainLoop();
    if (rc != ResultCode::Ok) return rc;
    for (Lane* lane : {&video_, &audio_}) {
        if (lane->out_index < 0) continue;
        rc = finishLane(*lane);
        if (rc != ResultCode::Ok) return rc;
        if (stopped_()) return ResultCode::Stopped;
    }
    rc = writeHeldVideo();
    if (rc != ResultCode::Ok) return rc;
    if (!video_.wrote && !audio_.wrote) return ResultCode::EmptyRange;
    // The source's picture was asked for and none came out (undecodable or lost frames): a
    // sound-only file is not what was asked.
    if (video_.out_index >= 0 && !video_.wrote) return ResultCode::DecodeFailed;
    if (output_->finish() < 0) return ResultCode::WriteFailed;
    return ResultCode::Ok;
}

ResultCode ConvertPipeline::mainLoop() {
    if (cut_start_us_ > 0) input_->seekUs(cut_start_us_);
    else input_->seekUs(0);
    for (;;) {
        if (stopped_()) return ResultCode::Stopped;
        bool video_needs = video_.out_index >= 0 && !video_.input_done;
        bool audio_needs = audio_.out_index >= 0 && !audio_.input_done;
        if (!video_needs && !audio_needs) break;
        if (capReached()) break;
        int rc = input_->readPacket(packet_.get());
        if (rc < 0) break;  // the end, or a damaged tail: keep what was read
        Lane* lane = packet_->stream_index == video_.in_index ? &video_
                     : packet_->stream_index == audio_.in_index ? &audio_ : nullptr;
        if (lane && lane->out_index >= 0 && !lane->input_done) {
            int64_t pts = packet_->pts != AV_NOPTS_VALUE ? packet_->pts : packet_->dts;
            int64_t at_us = input_->toFileTimeUs(packet_->stream_index, pts);
            if (pastTheCap(*lane, at_us)) {
                lane->input_done = true;
                av_packet_unref(packet_.get());
                continue;
            }
            // Pictures timed by count tell how far the run is only once decoded.
            if (range_us_ > 0 && at_us != AV_NOPTS_VALUE) progress_(double(at_us - cut_start_us_) / range_us_);
            else if (range_us_ > 0 && input_->countedPictureLength(lane->in_index) > 0) progress_(double(lane->reached_us) / range_us_);
            ResultCode handled = handlePacket(*lane, packet_.get());
            if (handled != ResultCode::Ok) {
                av_packet_unref(packet_.get());
                return handled;
            }
        }
        av_packet_unref(packet_.get());
        // Sound made from music alone keeps pace with the picture, for an interleaved file.
        if (audio_.in_index < 0 && audio_.graph && video_.out_index >= 0) {
            ResultCode paced = drainGraph(audio_, video_.reached_us + 500000);
            if (paced != ResultCode::Ok) return paced;
        }
    }
    return ResultCode::Ok;
}

// Whether the size cap ends the run now. Copied pictures stored out of order may end on one
// decoded ahead of pictures shown before it: the run then goes on for those (and for the sound
// up to where the pictures end), so the piece holds every picture up to its last one.
bool ConvertPipeline::capReached() {
    if (settings_.limit_bytes <= 0 || capped_ || output_->bytesWritten() < settings_.limit_bytes) return false;
    if (!video_.copy || video_.out_index < 0 || video_.last_shown_us == AV_NOPTS_VALUE) return true;
    capped_ = true;
    return false;
}

bool ConvertPipeline::pastTheCap(const Lane& lane, int64_t at_us) const {
    if (!capped_ || at_us == AV_NOPTS_VALUE) return false;
    return &lane == &video_ ? at_us > video_.last_shown_us : at_us >= video_.shown_end_us;
}

ResultCode ConvertPipeline::handlePacket(Lane& lane, AVPacket* packet) {
    if (&lane == &video_ && smart_cut_) return smartCutPacket(packet);
    if (cutHasEnd() && packet->dts != AV_NOPTS_VALUE) {
        // Frames are shown no earlier than they are decoded: past the end, nothing more is needed.
        if (input_->toFileTimeUs(lane.in_index, packet->dts) >= cut_end_us_) {
            lane.input_done = true;
            return ResultCode::Ok;
        }
    }
    return lane.copy ? copyPacket(lane, packet) : decodeAndFilter(lane, packet);
}

SmartCutVideo::Writer ConvertPipeline::smartCutWriter() {
    return [this](AVPacket* packet, AVRational time_base) { return writeVideo(packet, time_base); };
}

ResultCode ConvertPipeline::smartCutPacket(AVPacket* packet) {
    ResultCode rc = smart_cut_->handle(packet, smartCutWriter());
    video_.reached_us = smart_cut_->reachedUs();
    video_.wrote = smart_cut_->wrote();
    if (smart_cut_->done()) video_.input_done = true;
    return rc;
}

ResultCode ConvertPipeline::copyPacket(Lane& lane, AVPacket* packet) {
    const AVStream* st = input_->stream(lane.in_index);
    int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    int64_t at_us = input_->toFileTimeUs(lane.in_index, pts);
    int64_t duration_us = av_rescale_q(packet->duration, st->time_base, AV_TIME_BASE_Q);
    bool is_video = st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
    // Video starts on the key frame at the cut; sound keeps the packet that holds the cut.
    if (at_us != AV_NOPTS_VALUE) {
        if (is_video ? at_us < cut_start_us_ - 1000 : at_us + std::max<int64_t>(duration_us, 1) <= cut_start_us_) return ResultCode::Ok;
        if (cutHasEnd() && at_us >= cut_end_us_ - (is_video ? kRangeEdgeSlackUs : 0)) return ResultCode::Ok;
    }
    int64_t offset = input_->fromFileTimeUs(lane.in_index, cut_start_us_);
    if (packet->pts != AV_NOPTS_VALUE) packet->pts -= offset;
    if (packet->dts != AV_NOPTS_VALUE) packet->dts -= offset;
    if (at_us != AV_NOPTS_VALUE) {
        lane.reached_us = std::max(lane.reached_us, at_us - cut_start_us_);
        lane.last_shown_us = lane.last_shown_us == AV_NOPTS_VALUE ? at_us : std::max(lane.last_shown_us, at_us);
        const int64_t end_us = at_us + std::max<int64_t>(duration_us, 0);
        lane.shown_end_us = lane.shown_end_us == AV_NOPTS_VALUE ? end_us : std::max(lane.shown_end_us, end_us);
    }
    const int written = &lane == &video_ ? writeVideo(packet, st->time_base) : output_->write(packet, lane.out_index, st->time_base);
    if (written < 0) return ResultCode::WriteFailed;
    lane.wrote = true;
    return ResultCode::Ok;
}

ResultCode ConvertPipeline::decodeAndFilter(Lane& lane, const AVPacket* packet) {
    int rc = lane.decoder->send(packet);
    if (rc < 0 && rc != AVERROR(EAGAIN) && rc != AVERROR_EOF && packet) return ResultCode::Ok;  // damaged packet: skipped
    for (;;) {
        rc = lane.decoder->receive(frame_.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) break;
        if (rc < 0) continue;  // a frame that cannot be decoded is left out, as players do
        if (frame_->pts != AV_NOPTS_VALUE) frame_->pts -= lane.start_offset;
        AVFrame* input = lane.conformer ? lane.conformer->conform(frame_.get()) : frame_.get();
        if (!input || lane.graph->push(input) < 0) {
            av_frame_unref(frame_.get());
            return ResultCode::FilterFailed;
        }
        av_frame_unref(frame_.get());
        ResultCode drained = drainGraph(lane, INT64_MAX);
        if (drained != ResultCode::Ok) return drained;
    }
    return ResultCode::Ok;
}

ResultCode ConvertPipeline::drainGraph(Lane& lane, int64_t until_us) {
    while (!lane.graph_done && lane.reached_us < until_us) {
        int rc = lane.graph->pull(filtered_.get());
        if (rc == AVERROR(EAGAIN)) break;
        if (rc == AVERROR_EOF) {
            lane.graph_done = true;
            break;
        }
        if (rc < 0) return ResultCode::FilterFailed;
        ResultCode encoded = encodeFrame(lane, filtered_.get());
        av_frame_unref(filtered_.get());
        if (encoded != ResultCode::Ok) return encoded;
        if (stopped_()) return ResultCode::Stopped;
    }
    return ResultCode::Ok;
}

ResultCode ConvertPipeline::encodeFrame(Lane& lane, AVFrame* frame) {
    AVCodecContext* enc = lane.encoder->context();
    if (frame) {
        AVRational from = lane.graph->outputTimeBase();
        if (frame->pts != AV_NOPTS_VALUE) {
            lane.reached_us = std::max(lane.reached_us, av_rescale_q(frame->pts, from, AV_TIME_BASE_Q));
            frame->pts = av_rescale_q(frame->pts, from, enc->time_base);
        }
        frame->pict_type = AV_PICTURE_TYPE_NONE;  // the encoder places its own key frames
    }
    int rc = lane.encoder->send(frame);
    if (rc < 0 && rc != AVERROR_EOF) return ResultCode::EncodeFailed;
    for (;;) {
        rc = lane.encoder->receive(encoded_.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) break;
        if (rc < 0) return ResultCode::EncodeFailed;
        rc = &lane == &video_ ? writeVideo(encoded_.get(), enc->time_base) : output_->write(encoded_.get(), lane.out_index, enc->time_base);
        av_packet_unref(encoded_.get());
        if (rc < 0) return ResultCode::WriteFailed;
        lane.wrote = true;
    }
    return ResultCode::Ok;
}

ResultCode ConvertPipeline::finishLane(Lane& lane) {
    if (&lane == &video_ && smart_cut_) {
        ResultCode rc = smart_cut_->finish(smartCutWriter());
        video_.wrote = smart_cut_->wrote();
        return rc;
    }
    if (lane.copy) return ResultCode::Ok;
    if (lane.decoder) {
        ResultCode rc = decodeAndFilter(lane, nullptr);
        if (rc != ResultCode::Ok) return rc;
        if (lane.graph->push(nullptr) < 0) return ResultCode::FilterFailed;
    }
    ResultCode rc = drainGraph(lane, INT64_MAX);
    if (rc != ResultCode::Ok) return rc;
    return encodeFrame(lane, nullptr);
}

// The last picture is shown to the end of the range, as the sound is: a picture held across
// the cut end (a variable-rate source), or one after which the source's pictures stop (a
// recording with a gap, a picture track shorter than its sound), lasts until then. The last
// video packet waits until the next one comes, so that at the end its duration can be set.
int ConvertPipeline::writeVideo(AVPacket* packet, AVRational time_base) {
    int rc = 0;
    if (held_video_ && held_video_->data) {
        if (held_video_->pts != AV_NOPTS_VALUE)
            latest_shown_us_ = std::max(latest_shown_us_, av_rescale_q(held_video_->pts, held_time_base_, AV_TIME_BASE_Q));
        rc = output_->write(held_video_.get(), video_.out_index, held_time_base_);
    }
    if (!held_video_) held_video_ = makePacket();
    av_packet_unref(held_video_.get());
    if (rc >= 0) rc = av_packet_ref(held_video_.get(), packet);
    held_time_base_ = time_base;
    if (rc >= 0) video_.wrote = true;
    return rc;
}

// How long a picture of the output usually lasts, in time_base, from its frame rate; 0 when
// unknown.
int64_t ConvertPipeline::usualPictureLength(AVRational time_base) const {
    AVRational rate = video_.graph ? video_.graph->outputFrameRate() : AVRational{0, 1};
    if (rate.num <= 0 || rate.den <= 0) {
        const AVStream* st = input_->stream(video_.in_index);
        rate = st && st->avg_frame_rate.num > 0 && st->avg_frame_rate.den > 0 ? st->avg_frame_rate : AVRational{0, 1};
    }
    if (rate.num <= 0 || rate.den <= 0) return std::max<int64_t>(held_video_->duration, 0);
    return av_rescale_q(1, av_inv_q(rate), time_base);
}

ResultCode ConvertPipeline::writeHeldVideo() {
    if (!held_video_ || !held_video_->data) return ResultCode::Ok;
    // Only where the range's end is known: a cut (or a picture coded again) that no size cap
    // ended early.
    const bool whole_copy = video_.copy && cut_start_us_ == 0 && cut_end_us_ == 0;
    if (!whole_copy && settings_.limit_bytes <= 0 && range_us_ > 0 && held_video_->pts != AV_NOPTS_VALUE) {
        const double speed = settings_.speed > 0 ? settings_.speed : 1.0;
        const int64_t end = av_rescale_q(static_cast<int64_t>(double(range_us_) / speed), AV_TIME_BASE_Q, held_time_base_);
        // Only the picture shown last is drawn out or cut short (with B-frames the packet
        // written last may show an earlier one). A picture at the usual rate keeps its own
        // length, so the file's frame rate stays as it is: only one held across the end is cut
        // there, and only one that stops more than a picture before the end is drawn out to it.
        const int64_t step = usualPictureLength(held_time_base_);
        const int64_t pts = held_video_->pts, to_end = end - pts;
        const bool shown_last = av_rescale_q(pts, held_time_base_, AV_TIME_BASE_Q) >= latest_shown_us_;
        const bool held_across = held_video_->duration > 0 && 2 * held_video_->duration >= 3 * step && pts + held_video_->duration > end;
        if (shown_last && step > 0 && to_end > 0 && (held_across || to_end >= 2 * step)) held_video_->duration = to_end;
    }
    const int rc = output_->write(held_video_.get(), video_.out_index, held_time_base_);
    held_video_.reset();
    return rc < 0 ? ResultCode::WriteFailed : ResultCode::Ok;
}

}  // namespace kestrel::mediacore

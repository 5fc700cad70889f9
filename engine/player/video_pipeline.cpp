#include "engine/player/video_pipeline.h"

#include <algorithm>

namespace kestrel::player {

std::unique_ptr<VideoPipeline> VideoPipeline::open(const std::string& path, std::shared_ptr<SettingsStore> settings,
                                                   std::string* error) {
    std::unique_ptr<VideoPipeline> p(new VideoPipeline);
    p->settings_ = std::move(settings);
    p->input_ = engine::MediaInput::open(path, error);
    if (!p->input_) return nullptr;
    p->stream_index_ = p->input_->bestVideoStream();
    if (p->stream_index_ < 0) {
        if (error) *error = "no video stream";
        return nullptr;
    }
    p->reader_ = engine::FrameReader::open(*p->input_, p->stream_index_, error);
    if (!p->reader_) return nullptr;
    const AVStream* stream = p->input_->stream(p->stream_index_);
    const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    if (rate.num > 0 && rate.den > 0) p->nominal_frame_us_ = av_rescale(1000000, rate.den, rate.num);
    engine::VideoSourceParams params =
        engine::VideoSourceParams::fromDecoder(p->reader_->decoder().context(), AVRational{1, 1000000});
    params.frame_rate = rate;
    if (params.sample_aspect.num <= 0) params.sample_aspect = stream->sample_aspect_ratio;
    p->renderer_ = std::make_unique<FrameRenderer>(params, p->input_->displayRotationDeg(p->stream_index_));
    return p;
}

VideoPipeline::~VideoPipeline() = default;

int64_t VideoPipeline::frameDurationUs(const AVFrame* frame) const {
    if (frame->pkt_duration > 0) {
        const AVRational tb = input_->stream(stream_index_)->time_base;
        return av_rescale_q(frame->pkt_duration, tb, AVRational{1, 1000000});
    }
    return nominal_frame_us_;
}

std::optional<Picture> VideoPipeline::seekTo(int64_t target_us) {
    target_us = std::max<int64_t>(0, target_us);
    // A target inside the frames decoded lately needs no new decoding.
    for (size_t i = 0; i < recent_.size(); ++i) {
        const RecentFrame& r = recent_[i];
        if (r.start_us <= target_us && target_us < r.start_us + r.duration_us) {
            replay_from_ = i + 1;
            return renderRecent(i);
        }
    }
    recent_.clear();
    recent_bytes_ = 0;
    replay_from_ = 0;
    if (!reader_->seekUs(target_us)) {
        // Files that cannot seek still play from the start.
        if (target_us != 0) return std::nullopt;
    }
    return decodeNext();
}

std::optional<Picture> VideoPipeline::next() {
    if (replay_from_ < recent_.size()) return renderRecent(replay_from_++);
    return decodeNext();
}

std::optional<Picture> VideoPipeline::decodeNext() {
    if (stop_) return std::nullopt;
    engine::FramePtr frame = engine::makeFrame();
    if (reader_->next(frame.get()) <= 0) return std::nullopt;
    RecentFrame r;
    r.start_us = frame->pts == AV_NOPTS_VALUE ? (recent_.empty() ? 0 : recent_.back().start_us + recent_.back().duration_us)
                                              : reader_->frameTimeUs(frame.get());
    r.duration_us = frameDurationUs(frame.get());
    for (const AVBufferRef* buffer : frame->buf)
        if (buffer) r.bytes += buffer->size;
    r.frame = std::move(frame);
    recent_bytes_ += r.bytes;
    recent_.push_back(std::move(r));
    while (recent_.size() > 1 && (recent_.size() > kRecentFrames || recent_bytes_ > kRecentBytes)) {
        recent_bytes_ -= recent_.front().bytes;
        recent_.pop_front();
    }
    replay_from_ = recent_.size();
    return renderRecent(recent_.size() - 1);
}

std::optional<Picture> VideoPipeline::renderRecent(size_t index) {
    const RecentFrame& r = recent_[index];
    uint64_t version = 0;
    const PreviewSettings settings = settings_->snapshot(&version);
    // The graph reads times on the file time line in microseconds.
    engine::FramePtr timed = engine::makeFrame();
    if (av_frame_ref(timed.get(), r.frame.get()) < 0) return std::nullopt;
    timed->pts = r.start_us;
    std::optional<Picture> picture = renderer_->render(timed.get(), settings, version);
    if (!picture) return std::nullopt;
    picture->pts_us = r.start_us;
    picture->duration_us = r.duration_us;
    return picture;
}

}  // namespace kestrel::player

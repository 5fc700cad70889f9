#include "engine/core/filter_graph.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}
#include <algorithm>

namespace kestrel::engine {

VideoSourceParams VideoSourceParams::fromDecoder(const AVCodecContext* decoder, AVRational time_base) {
    VideoSourceParams params;
    params.width = decoder->width;
    params.height = decoder->height;
    params.pixel_format = decoder->pix_fmt;
    params.time_base = time_base;
    params.sample_aspect = decoder->sample_aspect_ratio;
    params.frame_rate = decoder->framerate;
    params.color_space = decoder->colorspace;
    params.color_range = decoder->color_range;
    params.color_primaries = decoder->color_primaries;
    params.color_trc = decoder->color_trc;
    return params;
}

AudioSourceParams AudioSourceParams::fromDecoder(const AVCodecContext* decoder, AVRational time_base) {
    AudioSourceParams params;
    params.sample_rate = decoder->sample_rate;
    params.sample_format = decoder->sample_fmt;
    av_channel_layout_copy(&params.layout, &decoder->ch_layout);
    if (params.layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&params.layout, decoder->ch_layout.nb_channels);
    params.time_base = time_base;
    return params;
}

AudioSourceParams& AudioSourceParams::operator=(const AudioSourceParams& other) {
    if (this == &other) return *this;
    sample_rate = other.sample_rate;
    sample_format = other.sample_format;
    time_base = other.time_base;
    av_channel_layout_uninit(&layout);
    av_channel_layout_copy(&layout, &other.layout);
    return *this;
}

void FilterGraph::setInputClock(AVRational time_base, AVRational frame_rate, int64_t cut_end_us) {
    if (time_base.num <= 0 || time_base.den <= 0) return;
    input_time_base_ = time_base;
    if (frame_rate.num > 0 && frame_rate.den > 0) input_frame_rate_ = frame_rate;
    if (cut_end_us > 0) cut_end_pts_ = av_rescale_q(cut_end_us, AV_TIME_BASE_Q, time_base);
}

// Where the input ends so far: a video frame lasts as long as the gap before it (or one frame
// at the source rate), a sound frame as its samples. Packet durations are not used: callers
// may put frames on another time line without them.
void FilterGraph::noteInputEnd(const AVFrame* frame) {
    if (frame->pts == AV_NOPTS_VALUE || input_time_base_.num <= 0) return;
    int64_t length = 0;
    if (frame->nb_samples > 0 && frame->sample_rate > 0)
        length = av_rescale_q(frame->nb_samples, AVRational{1, frame->sample_rate}, input_time_base_);
    else if (last_pts_ != AV_NOPTS_VALUE && frame->pts > last_pts_)
        length = frame->pts - last_pts_;
    else if (input_frame_rate_.num > 0)
        length = av_rescale_q(1, av_inv_q(input_frame_rate_), input_time_base_);
    last_pts_ = frame->pts;
    int64_t end = frame->pts + length;
    if (cut_end_pts_ != AV_NOPTS_VALUE) end = std::min(end, std::max(frame->pts, cut_end_pts_));
    if (input_end_pts_ == AV_NOPTS_VALUE || end > input_end_pts_) input_end_pts_ = end;
}

int FilterGraph::push(AVFrame* frame) {
    if (!source_) return AVERROR(EINVAL);
    if (!frame) {
        if (ended_) return 0;
        ended_ = true;
        // The buffer source would end at the last frame's start, and the fps filter, which fills
        // output ticks up to the end, would then leave that frame out.
        if (input_end_pts_ != AV_NOPTS_VALUE) return av_buffersrc_close(source_, input_end_pts_, 0);
        return av_buffersrc_add_frame_flags(source_, nullptr, 0);
    }
    noteInputEnd(frame);
    return av_buffersrc_add_frame_flags(source_, frame, 0);
}

int FilterGraph::pull(AVFrame* frame) { return av_buffersink_get_frame(sink_, frame); }

AVRational FilterGraph::outputTimeBase() const { return av_buffersink_get_time_base(sink_); }
AVRational FilterGraph::outputFrameRate() const { return av_buffersink_get_frame_rate(sink_); }
AVRational FilterGraph::outputSampleAspect() const { return av_buffersink_get_sample_aspect_ratio(sink_); }
int FilterGraph::outputWidth() const { return av_buffersink_get_w(sink_); }
int FilterGraph::outputHeight() const { return av_buffersink_get_h(sink_); }
int FilterGraph::outputFormat() const { return av_buffersink_get_format(sink_); }
int FilterGraph::outputSampleRate() const { return av_buffersink_get_sample_rate(sink_); }
int FilterGraph::outputChannelLayout(AVChannelLayout* layout) const { return av_buffersink_get_ch_layout(sink_, layout); }

}  // namespace kestrel::engine

#include "engine/core/filter_graph.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

namespace kestrel::engine {

VideoSourceParams VideoSourceParams::fromDecoder(const AVCodecContext* decoder, AVRational time_base) {
    VideoSourceParams params;
    params.width = decoder->width;
    params.height = decoder->height;
    params.pixel_format = decoder->pix_fmt;
    params.time_base = time_base;
    params.sample_aspect = decoder->sample_aspect_ratio;
    params.frame_rate = decoder->framerate;
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

int FilterGraph::push(AVFrame* frame) {
    if (!source_) return AVERROR(EINVAL);
    if (!frame) {
        if (ended_) return 0;
        ended_ = true;
        return av_buffersrc_add_frame_flags(source_, nullptr, 0);
    }
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

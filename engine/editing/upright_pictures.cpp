#include "engine/editing/upright_pictures.h"

namespace kestrel::editing {

void UprightPictures::turnedSize(int width, int height, int* out_width, int* out_height) const {
    bool swap = rotation_deg_ == 90 || rotation_deg_ == 270;
    *out_width = swap ? height : width;
    *out_height = swap ? width : height;
}

AVRational UprightPictures::turnedAspect(AVRational sample_aspect) const {
    if (sample_aspect.num <= 0 || sample_aspect.den <= 0) return AVRational{1, 1};
    bool swap = rotation_deg_ == 90 || rotation_deg_ == 270;
    return swap ? AVRational{sample_aspect.den, sample_aspect.num} : sample_aspect;
}

bool UprightPictures::rebuild(const AVFrame* frame) {
    engine::VideoSourceParams params;
    params.width = frame->width;
    params.height = frame->height;
    params.pixel_format = frame->format;
    params.time_base = AVRational{1, 1000000};
    params.sample_aspect = frame->sample_aspect_ratio;
    engine::VideoSettings settings;
    settings.rotation_deg = rotation_deg_;
    graph_ = engine::FilterGraph::buildVideo(params, settings);
    if (!graph_) return false;
    graph_w_ = frame->width, graph_h_ = frame->height, graph_format_ = frame->format;
    return true;
}

bool UprightPictures::put(const AVFrame* frame, int64_t time_us, const std::function<bool(const AVFrame*)>& take) {
    if (rotation_deg_ == 0) return take(frame);
    if (!graph_ || graph_w_ != frame->width || graph_h_ != frame->height || graph_format_ != frame->format)
        if (!rebuild(frame)) return false;
    av_frame_unref(input_.get());
    if (av_frame_ref(input_.get(), frame) < 0) return false;
    input_->pts = time_us;
    if (graph_->push(input_.get()) < 0) return false;
    for (;;) {
        av_frame_unref(turned_.get());
        int rc = graph_->pull(turned_.get());
        if (rc == AVERROR(EAGAIN)) return true;
        if (rc < 0) return false;
        if (!take(turned_.get())) return false;
    }
}

}  // namespace kestrel::editing

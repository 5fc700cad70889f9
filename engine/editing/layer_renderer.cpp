#include "engine/editing/layer_renderer.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace kestrel::editing {

namespace {
// Further than this ahead a seek is cheaper than decoding everything in between.
constexpr int64_t kMaxForwardDecodeUs = 2'000'000;
}  // namespace

std::unique_ptr<LayerRenderer> LayerRenderer::open(const std::string& path, std::string* error) {
    std::unique_ptr<LayerRenderer> layer(new LayerRenderer());
    layer->input_ = engine::MediaInput::open(path, error);
    if (!layer->input_) return nullptr;
    int stream = layer->input_->bestVideoStream();
    if (stream < 0) {
        if (error) *error = "no picture in " + path;
        return nullptr;
    }
    layer->reader_ = engine::FrameReader::open(*layer->input_, stream, error);
    if (!layer->reader_) return nullptr;
    const AVCodecParameters* par = layer->input_->stream(stream)->codecpar;
    layer->width_ = par->width;
    layer->height_ = par->height;
    layer->file_rotation_deg_ = layer->input_->displayRotationDeg(stream);
    layer->still_ = layer->input_->isStillPicture();
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(par->format));
    layer->opaque_ = format && !(format->flags & AV_PIX_FMT_FLAG_ALPHA) && !(format->flags & AV_PIX_FMT_FLAG_PAL);
    return layer;
}

bool LayerRenderer::decodedAt(int64_t source_us) {
    if (still_) source_us = 0;
    bool have = current_->buf[0] != nullptr;
    if (have && still_) return true;
    bool jump = !have || source_us < current_us_ || source_us > current_us_ + kMaxForwardDecodeUs;
    if (jump) {
        av_frame_unref(pending_.get());
        ended_ = false;
        // A still is read from the start: seeking a JPEG's demuxer loses its only picture.
        if (!still_ && !reader_->seekUs(source_us) && have) return true;
        engine::FramePtr frame = engine::makeFrame();
        if (reader_->next(frame.get()) != 1) return have;
        av_frame_unref(current_.get());
        av_frame_move_ref(current_.get(), frame.get());
        current_us_ = reader_->frameTimeUs(current_.get());
        if (current_us_ > source_us) current_us_ = source_us;  // the first frame stands for earlier times
    }
    while (!ended_) {
        if (!pending_->buf[0]) {
            if (reader_->next(pending_.get()) != 1) {
                ended_ = true;
                break;
            }
            pending_us_ = reader_->frameTimeUs(pending_.get());
        }
        if (pending_us_ > source_us) break;
        av_frame_unref(current_.get());
        av_frame_move_ref(current_.get(), pending_.get());
        current_us_ = pending_us_;
    }
    decoded_any_ = decoded_any_ || current_->buf[0] != nullptr;
    return current_->buf[0] != nullptr;
}

bool LayerRenderer::convert(const LayerShape& shape) {
    const AVFrame* src = current_.get();
    bool rebuild = !graph_ || !(graph_shape_ == shape) || graph_w_ != src->width || graph_h_ != src->height ||
                   graph_format_ != src->format;
    if (rebuild) {
        engine::VideoSourceParams params;
        params.width = src->width;
        params.height = src->height;
        params.pixel_format = src->format;
        params.time_base = AVRational{1, 1000000};
        params.sample_aspect = src->sample_aspect_ratio;
        engine::VideoSettings settings;
        settings.rotation_deg = shape.rotation_deg;
        settings.hflip = shape.hflip;
        settings.vflip = shape.vflip;
        settings.crop = shape.crop;
        settings.out_width = shape.out_width;
        settings.out_height = shape.out_height;
        settings.output_pixel_format = shape.pixel_format;
        if (!shape.lookup_chain.empty()) settings.effect_chains.push_back(shape.lookup_chain);
        graph_ = engine::FilterGraph::buildVideo(params, settings);
        if (!graph_) return false;
        graph_shape_ = shape;
        graph_w_ = src->width;
        graph_h_ = src->height;
        graph_format_ = src->format;
    }
    engine::FramePtr input = engine::makeFrame();
    if (av_frame_ref(input.get(), src) < 0) return false;
    input->pts = current_us_ == INT64_MIN ? 0 : current_us_;
    if (graph_->push(input.get()) < 0) return false;
    av_frame_unref(converted_.get());
    if (graph_->pull(converted_.get()) < 0) {
        graph_.reset();  // a graph that holds frames back is of no use here
        return false;
    }
    return true;
}

const AVFrame* LayerRenderer::pictureAt(int64_t source_us, const LayerShape& shape) {
    if (shape.out_width <= 0 || shape.out_height <= 0) return nullptr;
    if (!decodedAt(source_us)) return nullptr;
    if (converted_->buf[0] && converted_us_ == current_us_ && converted_shape_ == shape) return converted_.get();
    if (!convert(shape)) return nullptr;
    converted_us_ = current_us_;
    converted_shape_ = shape;
    return converted_.get();
}

}  // namespace kestrel::editing

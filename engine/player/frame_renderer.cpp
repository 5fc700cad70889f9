#include "engine/player/frame_renderer.h"

#include <cstring>

#include "engine/core/subtitle_check.h"
#include "engine/core/effect_chains.h"
#include "engine/core/media_input.h"

namespace kestrel::player {

namespace {

engine::PixelRect rectOf(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return {left, top, right, bottom};
}

std::string fixedText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

// A text watermark drawn by the window's callback into a transparent picture of the frame size.
std::shared_ptr<const engine::BgraPicture> drawText(const TextWatermarkRecord& record, PreviewDrawTextCallback draw,
                                                    int width, int height) {
    auto picture = std::make_shared<engine::BgraPicture>();
    picture->width = width;
    picture->height = height;
    picture->pixels.assign(size_t(width) * size_t(height) * 4, 0);
    DrawTextParam param;
    std::memcpy(&param, &record, sizeof param);
    draw(width, height, picture->pixels.data(), param);
    return picture;
}

}  // namespace

engine::VideoSettings toVideoSettings(const PreviewSettings& preview, int source_rotation_deg, int source_width,
                                      int source_height) {
    engine::VideoSettings v;
    v.rotation_deg = engine::normalizedAngle(source_rotation_deg + preview.rotate_deg);
    v.hflip = preview.hflip;
    v.vflip = preview.vflip;
    v.brightness = preview.brightness;
    v.contrast = preview.contrast;
    v.saturation = preview.saturation;
    for (int id : preview.effects) {
        std::string chain = engine::imageEffectChain(id);
        if (!chain.empty()) v.effect_chains.push_back(std::move(chain));
    }

    for (const VideoWatermarkRecord& r : preview.video_watermarks) {
        engine::Watermark w;
        w.kind = engine::Watermark::Kind::Video;
        w.path = fixedText(r.path, sizeof r.path);
        w.rect = rectOf(r.left, r.top, r.right, r.bottom);
        w.transparency_pct = r.transparency;
        w.start_us = r.start_us;
        w.end_us = r.end_us;
        w.file_start_us = r.file_start_us;
        w.file_end_us = r.file_end_us;
        if (!w.path.empty()) v.watermarks.push_back(std::move(w));
    }
    for (const ImageWatermarkRecord& r : preview.image_watermarks) {
        engine::Watermark w;
        w.kind = engine::Watermark::Kind::Picture;
        w.path = fixedText(r.path, sizeof r.path);
        w.rect = rectOf(r.left, r.top, r.right, r.bottom);
        w.transparency_pct = r.transparency;
        w.start_us = r.start_us;
        w.end_us = r.end_us;
        if (!w.path.empty()) v.watermarks.push_back(std::move(w));
    }
    if (preview.draw_text && !preview.text_watermarks.empty()) {
        engine::PictureGeometry geometry;
        if (engine::computeGeometry(source_width, source_height, v, &geometry)) {
            for (const TextWatermarkRecord& r : preview.text_watermarks) {
                engine::Watermark w;
                w.kind = engine::Watermark::Kind::Text;
                w.start_us = r.start_us;
                w.end_us = r.end_us;
                w.text_picture = drawText(r, preview.draw_text, geometry.turned_width, geometry.turned_height);
                v.watermarks.push_back(std::move(w));
            }
        }
    }
    if (preview.has_subtitle) {
        const SubtitleRecord& r = preview.subtitle;
        engine::SubtitleStyle s;
        s.path = fixedText(r.path, sizeof r.path);
        s.font_file = fixedText(r.font_path, sizeof r.font_path);
        s.font_size_px = r.font_size;
        s.shadow = r.shadow != 0;
        s.colour_rgb0 = r.colour;
        s.has_colour = true;
        s.position_px = r.position;
        // A file the export would refuse is not drawn in the preview either.
        if (!s.path.empty() && engine::checkSubtitleFile(s.path).ok()) v.subtitles.push_back(std::move(s));
    }
    v.output_pixel_format = AV_PIX_FMT_BGRA;
    return v;
}

std::optional<Picture> FrameRenderer::render(const AVFrame* frame, const PreviewSettings& settings, uint64_t version) {
    // Frames reach the renderer out of order after seeks and refreshes, so every picture goes
    // through a graph of its own time: rebuilt when the settings changed or the last one ended.
    if (!graph_ || version != graph_version_) {
        std::string error;
        graph_ = engine::FilterGraph::buildVideo(
            source_, toVideoSettings(settings, source_rotation_deg_, source_.width, source_.height), &error);
        graph_version_ = version;
        if (!graph_) return std::nullopt;
    }
    if (av_frame_ref(in_.get(), frame) < 0) return std::nullopt;
    if (graph_->push(in_.get()) < 0) {
        graph_.reset();
        return std::nullopt;
    }
    av_frame_unref(in_.get());
    int rc = graph_->pull(out_.get());
    if (rc == AVERROR(EAGAIN)) {
        // The graph holds the frame back (it waits for more input): drain it, and build a fresh
        // one for the next frame.
        graph_->push(nullptr);
        rc = graph_->pull(out_.get());
        graph_.reset();
    }
    if (rc < 0) return std::nullopt;
    std::optional<Picture> picture = pullPicture();
    av_frame_unref(out_.get());
    return picture;
}

std::optional<Picture> FrameRenderer::pullPicture() {
    const AVFrame* f = out_.get();
    if (f->format != AV_PIX_FMT_BGRA || f->width <= 0 || f->height <= 0 || f->linesize[0] % 4 != 0)
        return std::nullopt;
    // The picture shares the filter graph's buffer instead of copying it: a 4K frame is 33 MB,
    // and the graph's buffer pool takes the buffer back once the last image using it is gone.
    AVFrame* shared = av_frame_clone(f);
    if (!shared) return std::nullopt;
    Picture picture;
    picture.image = QImage(
        static_cast<const uchar*>(shared->data[0]), shared->width, shared->height, shared->linesize[0],
        QImage::Format_ARGB32_Premultiplied,
        [](void* frame) {
            AVFrame* owned = static_cast<AVFrame*>(frame);
            av_frame_free(&owned);
        },
        shared);
    if (picture.image.isNull()) {
        av_frame_free(&shared);
        return std::nullopt;
    }
    return picture;
}

}  // namespace kestrel::player

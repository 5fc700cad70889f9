#include "engine/core/filter_graph.h"
#include "engine/core/font_family.h"
#include "engine/core/graph_assembler.h"
#include "engine/core/range_edges.h"
#include "engine/core/media_input.h"
#include "engine/core/subtitle_charset.h"
#include "engine/core/text_overlay_picture.h"

extern "C" {
#include <libavfilter/buffersrc.h>
#include <libavutil/pixdesc.h>
}
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <new>
#include <utility>
#include <vector>

namespace kestrel::engine {

bool computeGeometry(int source_width, int source_height, const VideoSettings& settings, PictureGeometry* out,
                     AVRational sample_aspect) {
    int angle = normalizedAngle(settings.rotation_deg);
    bool swap = angle == 90 || angle == 270;
    out->turned_width = swap ? source_height : source_width;
    out->turned_height = swap ? source_width : source_height;
    const CropMargins& c = settings.crop;
    if (c.left < 0 || c.top < 0 || c.right < 0 || c.bottom < 0) return false;
    int cropped_w = out->turned_width - c.left - c.right;
    int cropped_h = out->turned_height - c.top - c.bottom;
    if (cropped_w <= 0 || cropped_h <= 0) return false;
    out->output_width = settings.out_width > 0 ? settings.out_width : cropped_w;
    out->output_height = settings.out_height > 0 ? settings.out_height : cropped_h;
    if (settings.even_size) {
        out->output_width = std::max(2, out->output_width & ~1);
        out->output_height = std::max(2, out->output_height & ~1);
    }
    out->picture_width = out->output_width;
    out->picture_height = out->output_height;
    out->picture_x = out->picture_y = 0;
    if (settings.fit_in_box && settings.out_width > 0 && settings.out_height > 0) {
        // The shape the viewer sees: pixels of another shape turn with the picture.
        double pixel = sample_aspect.num > 0 && sample_aspect.den > 0 ? av_q2d(sample_aspect) : 1.0;
        if (swap) pixel = 1.0 / pixel;
        const double shown_w = cropped_w * pixel, shown_h = cropped_h;
        const double scale = std::min(out->output_width / shown_w, out->output_height / shown_h);
        int w = std::min(out->output_width, static_cast<int>(std::lround(shown_w * scale)));
        int h = std::min(out->output_height, static_cast<int>(std::lround(shown_h * scale)));
        // A bar of a pixel or two is rounding, not a shape: the picture takes the whole box.
        if (out->output_width - w <= 2) w = out->output_width;
        if (out->output_height - h <= 2) h = out->output_height;
        if (settings.even_size) {
            w = std::max(2, w & ~1);
            h = std::max(2, h & ~1);
        }
        out->picture_width = std::max(1, w);
        out->picture_height = std::max(1, h);
        out->picture_x = (out->output_width - out->picture_width) / 2;
        out->picture_y = (out->output_height - out->picture_height) / 2;
        if (settings.even_size) {
            out->picture_x &= ~1;
            out->picture_y &= ~1;
        }
    }
    return true;
}

namespace {

std::string ratio(AVRational r) { return std::to_string(r.num) + "/" + std::to_string(r.den); }

// Where the settings' coordinates (watermark frame) land in the output picture.
struct CoordinateMap {
    double scale_x = 1, scale_y = 1;      // watermark frame -> turned picture
    double crop_x = 0, crop_y = 0;        // in turned pixels
    double out_x = 1, out_y = 1;          // cropped turned picture -> output

    double x(double wx) const { return (wx * scale_x - crop_x) * out_x; }
    double y(double wy) const { return (wy * scale_y - crop_y) * out_y; }
};

// Blending happens in the main picture's own format family, so frames are never converted to
// RGB and back for a watermark; only the layer is converted, once for a still one.
struct OverlayFormat {
    const char* overlay_option;        // the overlay filter's `format`
    AVPixelFormat layer = AV_PIX_FMT_NONE;  // YUV with alpha the layer is converted to; NONE: left to the graph
};

OverlayFormat overlayFormatFor(int pixel_format) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(pixel_format));
    if (!d) return {"auto"};
    if (d->flags & AV_PIX_FMT_FLAG_RGB) return {(d->flags & AV_PIX_FMT_FLAG_PLANAR) ? "gbrp" : "rgb"};
    if (d->nb_components < 3 || (d->flags & (AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_PAL))) return {"auto"};
    const int depth = d->comp[0].depth;
    const int w = d->log2_chroma_w, h = d->log2_chroma_h;
    if (depth == 8) {
        if (w == 1 && h == 1) return {"yuv420", AV_PIX_FMT_YUVA420P};
        if (w == 1 && h == 0) return {"yuv422", AV_PIX_FMT_YUVA422P};
        if (w == 0 && h == 0) return {"yuv444", AV_PIX_FMT_YUVA444P};
    } else if (depth == 10) {
        if (w == 1 && h == 1) return {"yuv420p10", AV_PIX_FMT_YUVA420P10};
        if (w == 1 && h == 0) return {"yuv422p10", AV_PIX_FMT_YUVA422P10};
    }
    return {"auto"};
}

}  // namespace

class VideoGraphBuilder {
public:
    VideoGraphBuilder(FilterGraph& graph, const VideoSourceParams& source, const VideoSettings& settings)
        : graph_(graph), asm_(graph.graph_.get()), source_(source), settings_(settings) {}

    void build() {
        if (!computeGeometry(source_.width, source_.height, settings_, &geometry_, source_.sample_aspect))
            throw GraphError("the crop leaves no picture");
        makeCoordinateMap();
        overlay_format_ = overlayFormatFor(source_.pixel_format);
        AVFilterContext* cur = addSource();
        if (settings_.cut_start_us > 0 || settings_.cut_end_us > 0) {
            // The pictures that start inside the range (range_edges.h), with the slack for
            // times a container rounded.
            FilterOptions trim;
            if (settings_.cut_start_us > 0) trim.push_back({"start", number((settings_.cut_start_us - kRangeEdgeSlackUs) / 1e6)});
            if (settings_.cut_end_us > 0) trim.push_back({"end", number((settings_.cut_end_us - kRangeEdgeSlackUs) / 1e6)});
            cur = asm_.chain(cur, "trim", trim);
        }
        cur = addRotation(cur);
        if (settings_.hflip) cur = asm_.chain(cur, "hflip");
        if (settings_.vflip) cur = asm_.chain(cur, "vflip");
        cur = addCropAndScale(cur);
        cur = addColour(cur);
        for (const std::string& effect : settings_.effect_chains)
            if (!effect.empty()) cur = asm_.chainText(cur, effect);
        AVFilterContext* before_marks = cur;
        for (const Watermark& mark : settings_.watermarks) cur = addWatermark(cur, mark);
        if (cur != before_marks) cur = addEndAfterOverlay(cur);
        for (const SubtitleStyle& subtitle : settings_.subtitles) cur = addSubtitle(cur, subtitle);
        cur = addBoxPadding(cur);
        cur = addTiming(cur);
        if (settings_.output_pixel_format >= 0) {
            const char* name = av_get_pix_fmt_name(static_cast<AVPixelFormat>(settings_.output_pixel_format));
            if (!name) throw GraphError("unknown pixel format");
            cur = asm_.chain(cur, "format", {{"pix_fmts", name}});
        }
        graph_.sink_ = asm_.chain(cur, "buffersink");
        asm_.configure();
        for (auto& [ctx, frame] : still_pictures_) {
            if (av_buffersrc_add_frame_flags(ctx, frame.get(), 0) < 0 || av_buffersrc_add_frame_flags(ctx, nullptr, 0) < 0)
                throw GraphError("cannot hand the text picture to the graph");
        }
    }

private:
    void makeCoordinateMap() {
        const PictureGeometry& g = geometry_;
        int wf_w = settings_.watermark_frame_width > 0 ? settings_.watermark_frame_width : g.turned_width;
        int wf_h = settings_.watermark_frame_height > 0 ? settings_.watermark_frame_height : g.turned_height;
        map_.scale_x = double(g.turned_width) / wf_w;
        map_.scale_y = double(g.turned_height) / wf_h;
        map_.crop_x = settings_.crop.left;
        map_.crop_y = settings_.crop.top;
        map_.out_x = double(g.picture_width) / (g.turned_width - settings_.crop.left - settings_.crop.right);
        map_.out_y = double(g.picture_height) / (g.turned_height - settings_.crop.top - settings_.crop.bottom);
    }

    AVFilterContext* addSource() {
        const char* format = av_get_pix_fmt_name(static_cast<AVPixelFormat>(source_.pixel_format));
        if (!format || source_.width <= 0 || source_.height <= 0) throw GraphError("bad video source parameters");
        FilterOptions options = {{"video_size", std::to_string(source_.width) + "x" + std::to_string(source_.height)},
                                 {"pix_fmt", format},
                                 {"time_base", ratio(source_.time_base)}};
        if (source_.sample_aspect.num > 0 && source_.sample_aspect.den > 0)
            options.push_back({"pixel_aspect", ratio(source_.sample_aspect)});
        if (source_.frame_rate.num > 0 && source_.frame_rate.den > 0)
            options.push_back({"frame_rate", ratio(source_.frame_rate)});
        graph_.source_ = asm_.add("buffer", options);
        return graph_.source_;
    }

    AVFilterContext* addRotation(AVFilterContext* cur) {
        int angle = normalizedAngle(settings_.rotation_deg);
        switch (angle) {
        case 0: return cur;
        case 90: return asm_.chain(cur, "transpose", {{"dir", "clock"}});
        case 270: return asm_.chain(cur, "transpose", {{"dir", "cclock"}});
        case 180: return asm_.chain(asm_.chain(cur, "hflip"), "vflip");
        default: return asm_.chain(cur, "rotate", {{"angle", number(angle * M_PI / 180.0)}});
        }
    }

    // Crop to the user's rectangle, then to the picture size (scaled, or cropped by one pixel
    // when only an even size is asked).
    AVFilterContext* addCropAndScale(AVFilterContext* cur) {
        const PictureGeometry& g = geometry_;
        const CropMargins& c = settings_.crop;
        int cropped_w = g.turned_width - c.left - c.right;
        int cropped_h = g.turned_height - c.top - c.bottom;
        if (!c.isZero()) {
            cur = asm_.chain(cur, "crop", {{"w", std::to_string(cropped_w)},
                                           {"h", std::to_string(cropped_h)},
                                           {"x", std::to_string(c.left)},
                                           {"y", std::to_string(c.top)},
                                           {"exact", "1"}});
        }
        bool resized = settings_.out_width > 0 || settings_.out_height > 0;
        if (resized) {
            if (g.picture_width != cropped_w || g.picture_height != cropped_h)
                cur = asm_.chain(cur, "scale", {{"w", std::to_string(g.picture_width)}, {"h", std::to_string(g.picture_height)}});
            cur = asm_.chain(cur, "setsar", {{"sar", "1"}});
        } else if (g.output_width != cropped_w || g.output_height != cropped_h) {
            cur = asm_.chain(cur, "crop", {{"w", std::to_string(g.output_width)}, {"h", std::to_string(g.output_height)},
                                           {"x", "0"}, {"y", "0"}, {"exact", "1"}});
        }
        return cur;
    }

    AVFilterContext* addColour(AVFilterContext* cur) {
        if (settings_.brightness == 0 && settings_.contrast == 0 && settings_.saturation == 0) return cur;
        double brightness = std::clamp(settings_.brightness, -255, 255) / 255.0;
        double contrast = 1.0 + std::clamp(settings_.contrast, -100, 100) / 100.0;
        double saturation = 1.0 + std::clamp(settings_.saturation, -100, 100) / 100.0;
        return asm_.chain(cur, "eq", {{"brightness", number(brightness)},
                                      {"contrast", number(contrast)},
                                      {"saturation", number(saturation)}});
    }

    AVFilterContext* addWatermark(AVFilterContext* cur, const Watermark& mark) {
        AVFilterContext* layer = nullptr;
        int x = 0, y = 0;
        if (mark.kind == Watermark::Kind::Text) {
            if (!mark.text_picture || mark.text_picture->width <= 0 || mark.text_picture->height <= 0 ||
                mark.text_picture->pixels.size() < size_t(mark.text_picture->width) * mark.text_picture->height * 4)
                return cur;
            PlacedPicture placed;
            try {
                placed = fitTextPicture(*mark.text_picture, textPictureCrop(*mark.text_picture), geometry_.picture_width,
                                        geometry_.picture_height);
            } catch (const std::bad_alloc&) {
                throw GraphError("out of memory");
            }
            if (!placed.frame) return cur;  // nothing of it shows
            layer = asm_.add("buffer", {{"video_size", std::to_string(placed.frame->width) + "x" + std::to_string(placed.frame->height)},
                                        {"pix_fmt", "bgra"},
                                        {"time_base", "1/1000000"}});
            still_pictures_.emplace_back(layer, std::move(placed.frame));
            layer = addLayerConversion(layer);
            x = placed.x;
            y = placed.y;
        } else {
            if (mark.path.empty()) return cur;
            int left = static_cast<int>(std::lround(map_.x(mark.rect.left)));
            int top = static_cast<int>(std::lround(map_.y(mark.rect.top)));
            int width = static_cast<int>(std::lround(map_.x(mark.rect.right))) - left;
            int height = static_cast<int>(std::lround(map_.y(mark.rect.bottom))) - top;
            if (width <= 0 || height <= 0) return cur;
            FilterOptions movie = {{"filename", mark.path}};
            if (mark.kind == Watermark::Kind::Video && mark.file_start_us > 0)
                movie.push_back({"seek_point", number(mark.file_start_us / 1e6)});
            layer = asm_.add("movie", movie);
            if (mark.kind == Watermark::Kind::Video) {
                if (mark.file_end_us > mark.file_start_us)
                    layer = asm_.chain(layer, "trim", {{"duration", number((mark.file_end_us - mark.file_start_us) / 1e6)}});
                layer = asm_.chain(layer, "setpts", {{"expr", "PTS-STARTPTS+" + number(mark.start_us / 1e6) + "/TB"}});
            }
            layer = asm_.chain(layer, "scale", {{"w", std::to_string(width)}, {"h", std::to_string(height)}});
            layer = asm_.chain(layer, "format", {{"pix_fmts", "rgba"}});
            if (mark.transparency_pct > 0) {
                double opacity = 1.0 - std::clamp(mark.transparency_pct, 0, 100) / 100.0;
                layer = asm_.chain(layer, "colorchannelmixer", {{"aa", number(opacity)}});
            }
            layer = addLayerConversion(layer);
            x = left;
            y = top;
        }
        // Outside its time window the layer is moved off the picture. The overlay's `enable` is
        // re-read on every frame taken from either input, so a still layer's own time (0) would
        // decide for the first frame of a fresh graph, as after every seek of the preview.
        const std::string shown = timeWindowExpression(mark.start_us, mark.end_us);
        AVFilterContext* overlay = asm_.add("overlay", {{"x", "if(" + shown + "," + std::to_string(x) + ",main_w)"},
                                                        {"y", std::to_string(y)},
                                                        {"format", overlay_format_.overlay_option},
                                                        {"eof_action", mark.kind == Watermark::Kind::Video ? "pass" : "repeat"}});
        asm_.link(cur, 0, overlay, 0);
        asm_.link(layer, 0, overlay, 1);
        return overlay;
    }

    // An overlay ends its output without an end time, and the frame-rate filter, which fills
    // its ticks up to the end, would then leave out the last picture. A copy of that picture one
    // source frame later marks where the end lies; the frame-rate filter stops before it.
    AVFilterContext* addEndAfterOverlay(AVFilterContext* cur) {
        const bool rate_follows = settings_.frame_rate.num > 0 && settings_.frame_rate.den > 0;
        const bool source_rate_known = source_.frame_rate.num > 0 && source_.frame_rate.den > 0;
        if (!rate_follows || !source_rate_known) return cur;
        return asm_.chain(cur, "tpad", {{"stop", "1"}, {"stop_mode", "clone"}});
    }

    // The part of a full-frame text picture that the crop keeps, in the picture's pixels.
    PixelBox textPictureCrop(const BgraPicture& picture) const {
        const CropMargins& c = settings_.crop;
        if (c.isZero()) return {0, 0, picture.width, picture.height};
        const double sx = 1.0 / map_.scale_x, sy = 1.0 / map_.scale_y;
        const int cropped_w = geometry_.turned_width - c.left - c.right;
        const int cropped_h = geometry_.turned_height - c.top - c.bottom;
        return {int(std::lround(c.left * sx)), int(std::lround(c.top * sy)), int(std::lround(cropped_w * sx)),
                int(std::lround(cropped_h * sy))};
    }

    // A layer in RGB with alpha goes to the main picture's YUV with alpha, with the source's
    // matrix and range so that its colours land where they would on an RGB blend.
    AVFilterContext* addLayerConversion(AVFilterContext* layer) {
        if (overlay_format_.layer == AV_PIX_FMT_NONE) return layer;
        const bool bt709 = source_.color_space == AVCOL_SPC_BT709;
        const bool full_range = source_.color_range == AVCOL_RANGE_JPEG;
        layer = asm_.chain(layer, "scale", {{"out_color_matrix", bt709 ? "bt709" : "bt601"},
                                            {"out_range", full_range ? "full" : "limited"}});
        return asm_.chain(layer, "format", {{"pix_fmts", av_get_pix_fmt_name(overlay_format_.layer)}});
    }

    AVFilterContext* addSubtitle(AVFilterContext* cur, const SubtitleStyle& style) {
        if (style.path.empty()) return cur;
        FilterOptions options = {{"filename", style.path}};
        std::string charset = subtitleCharacterEncoding(style.path);
        if (!charset.empty()) options.push_back({"charenc", charset});
        std::string force;
        auto append = [&force](const std::string& item) { force += (force.empty() ? "" : ",") + item; };
        if (!style.font_file.empty()) {
            options.push_back({"fontsdir", std::filesystem::path(style.font_file).parent_path().string()});
            std::string family = fontFamilyName(style.font_file);
            if (!family.empty()) append("FontName=" + family);
        }
        std::string ext = std::filesystem::path(style.path).extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        if (ext == ".srt") {
            // Text subtitles are laid out on a 384x288 script canvas spread over the output picture;
            // sizes here are video pixels of the watermark frame.
            double output_rows_per_frame_row = map_.scale_y * map_.out_y;
            double script_scale = 288.0 / geometry_.picture_height;
            if (style.font_size_px > 0)
                append("Fontsize=" + std::to_string(std::lround(style.font_size_px * output_rows_per_frame_row * script_scale)));
            append(std::string("Shadow=") + (style.shadow ? "1" : "0"));
            if (style.has_colour) {
                uint32_t c = style.colour_rgb0;
                char colour[32];
                std::snprintf(colour, sizeof colour, "&H00%02X%02X%02X", (c >> 8) & 0xFF, (c >> 16) & 0xFF, (c >> 24) & 0xFF);
                append(std::string("PrimaryColour=") + colour);
                append(std::string("BackColour=") + colour);
            }
            if (style.position_px >= 0) {
                // The caption's top sits position_px below the top. libass takes a forced Alignment
                // in its own VALIGN_* | HALIGN_* coding, not the numpad one of ass style lines.
                constexpr int kLibassTopCentre = 4 | 2;
                append("Alignment=" + std::to_string(kLibassTopCentre));
                append("MarginV=" + std::to_string(std::lround(std::max(0.0, map_.y(style.position_px)) * script_scale)));
            }
        }
        if (!force.empty()) options.push_back({"force_style", force});
        return asm_.chain(cur, "subtitles", options);
    }

    // The picture fitted into a box of another shape: the rest of the box is black.
    AVFilterContext* addBoxPadding(AVFilterContext* cur) {
        const PictureGeometry& g = geometry_;
        if (g.picture_width == g.output_width && g.picture_height == g.output_height) return cur;
        return asm_.chain(cur, "pad", {{"w", std::to_string(g.output_width)},
                                       {"h", std::to_string(g.output_height)},
                                       {"x", std::to_string(g.picture_x)},
                                       {"y", std::to_string(g.picture_y)},
                                       {"color", "black"}});
    }

    AVFilterContext* addTiming(AVFilterContext* cur) {
        double speed = settings_.speed > 0 ? settings_.speed : 1.0;
        if (settings_.cut_start_us != 0 || speed != 1.0) {
            std::string expr = "(PTS-" + number(settings_.cut_start_us / 1e6) + "/TB)/" + number(speed);
            cur = asm_.chain(cur, "setpts", {{"expr", expr}});
        }
        if (settings_.frame_rate.num > 0 && settings_.frame_rate.den > 0)
            cur = asm_.chain(cur, "fps", {{"fps", ratio(settings_.frame_rate)}});
        return cur;
    }

    FilterGraph& graph_;
    GraphAssembler asm_;
    const VideoSourceParams& source_;
    const VideoSettings& settings_;
    PictureGeometry geometry_;
    CoordinateMap map_;
    OverlayFormat overlay_format_{"auto"};
    std::vector<std::pair<AVFilterContext*, FramePtr>> still_pictures_;
};

std::unique_ptr<FilterGraph> FilterGraph::buildVideo(const VideoSourceParams& source, const VideoSettings& settings,
                                                     std::string* error) {
    std::unique_ptr<FilterGraph> graph(new FilterGraph());
    graph->graph_.reset(avfilter_graph_alloc());
    if (!graph->graph_) return nullptr;
    try {
        VideoGraphBuilder(*graph, source, settings).build();
        graph->setInputClock(source.time_base, source.frame_rate, settings.cut_end_us);
    } catch (const GraphError& e) {
        if (error) *error = e.what();
        return nullptr;
    }
    return graph;
}

}  // namespace kestrel::engine

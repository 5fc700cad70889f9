#include "engine/editing/compositor.h"
#include "engine/editing/lookup_filter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <future>

namespace kestrel::editing {

namespace {

bool isEmpty(const SLIDE_RECT& r) { return r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0; }

SLIDE_RECT wholeWhenEmpty(SLIDE_RECT r) {
    if (isEmpty(r)) return SLIDE_RECT{0, 0, 1, 1};
    auto clamp01 = [](float v) { return std::clamp(std::isfinite(v) ? v : 0.0f, 0.0f, 1.0f); };
    return SLIDE_RECT{clamp01(r.left), clamp01(r.top), clamp01(r.right), clamp01(r.bottom)};
}

// Straight-alpha "over" of a BGRA picture onto the opaque canvas.
void blend(const uint8_t* pixels, int stride, int width, int height, int x0, int y0, Canvas* canvas) {
    for (int y = 0; y < height; ++y) {
        int cy = y0 + y;
        if (cy < 0 || cy >= canvas->height) continue;
        const uint8_t* src = pixels + static_cast<size_t>(y) * stride;
        uint8_t* dst = canvas->bgra.data() + static_cast<size_t>(cy) * canvas->width * 4;
        // Most pictures are opaque: their visible part of the row is copied as it is.
        const int first = std::max(0, -x0), end = std::min(width, canvas->width - x0);
        if (first >= end) continue;
        bool opaque = true;
        for (int x = first; x < end && opaque; ++x) opaque = src[x * 4 + 3] == 255;
        if (opaque) {
            std::memcpy(dst + static_cast<size_t>(x0 + first) * 4, src + static_cast<size_t>(first) * 4,
                        static_cast<size_t>(end - first) * 4);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            int cx = x0 + x;
            if (cx < 0 || cx >= canvas->width) continue;
            const uint8_t* s = src + x * 4;
            uint8_t* d = dst + cx * 4;
            unsigned a = s[3];
            if (a == 255) {
                d[0] = s[0], d[1] = s[1], d[2] = s[2];
            } else if (a != 0) {
                for (int k = 0; k < 3; ++k) d[k] = static_cast<uint8_t>((s[k] * a + d[k] * (255 - a) + 127) / 255);
            }
            d[3] = 255;
        }
    }
}

// An opaque YUV 4:2:0 picture copied into the canvas's planes; the caller checked that it lies
// inside on even coordinates.
void copyYuv(const AVFrame* picture, int x0, int y0, Canvas* canvas) {
    uint8_t* planes[3];
    int strides[3];
    canvas->yuvPlanes(planes, strides);
    for (int p = 0; p < 3; ++p) {
        const int shift = p == 0 ? 0 : 1;
        const int w = picture->width >> shift, h = picture->height >> shift;
        for (int y = 0; y < h; ++y)
            std::memcpy(planes[p] + static_cast<size_t>((y0 >> shift) + y) * strides[p] + (x0 >> shift),
                        picture->data[p] + static_cast<size_t>(y) * picture->linesize[p], static_cast<size_t>(w));
    }
}

bool evenInside(const LayerPlacement& place, int canvas_width, int canvas_height) {
    const LayerShape& s = place.shape;
    return place.x >= 0 && place.y >= 0 && place.x % 2 == 0 && place.y % 2 == 0 && s.out_width % 2 == 0 &&
           s.out_height % 2 == 0 && place.x + s.out_width <= canvas_width && place.y + s.out_height <= canvas_height;
}

}  // namespace

void Canvas::yuvPlanes(uint8_t* data[3], int linesize[3]) {
    const size_t luma = static_cast<size_t>(width) * height;
    data[0] = yuv.data();
    data[1] = data[0] + luma;
    data[2] = data[1] + luma / 4;
    linesize[0] = width;
    linesize[1] = linesize[2] = width / 2;
}

bool placeLayer(const LayerPlan& layer, int source_width, int source_height, int file_rotation_deg, int canvas_width,
                int canvas_height, LayerPlacement* out) {
    if (source_width <= 0 || source_height <= 0 || canvas_width <= 0 || canvas_height <= 0) return false;
    LayerShape& shape = out->shape;
    shape.rotation_deg = engine::normalizedAngle(file_rotation_deg + layer.rotate_deg);
    shape.hflip = layer.flip == 1 || layer.flip == 3;
    shape.vflip = layer.flip == 2 || layer.flip == 3;
    bool swap = shape.rotation_deg == 90 || shape.rotation_deg == 270;
    int tw = swap ? source_height : source_width;
    int th = swap ? source_width : source_height;

    SLIDE_RECT clip = wholeWhenEmpty(layer.clip);
    int cl = static_cast<int>(std::lround(clip.left * tw)), cr = static_cast<int>(std::lround(clip.right * tw));
    int ct = static_cast<int>(std::lround(clip.top * th)), cb = static_cast<int>(std::lround(clip.bottom * th));
    if (cr - cl <= 0 || cb - ct <= 0) return false;
    shape.crop = engine::CropMargins{cl, ct, tw - cr, th - cb};

    SLIDE_RECT show = wholeWhenEmpty(layer.show);
    int x0 = static_cast<int>(std::lround(show.left * canvas_width));
    int x1 = static_cast<int>(std::lround(show.right * canvas_width));
    int y0 = static_cast<int>(std::lround(show.top * canvas_height));
    int y1 = static_cast<int>(std::lround(show.bottom * canvas_height));
    int w = x1 - x0, h = y1 - y0;
    if (w <= 0 || h <= 0) return false;
    if (layer.display_mode == 0 || layer.display_mode == 1) {
        // Fit the clipped picture inside the show rectangle, aspect kept, centred.
        double aspect = double(cr - cl) / double(cb - ct);
        int fw = w, fh = static_cast<int>(std::lround(w / aspect));
        if (fh > h) {
            fh = h;
            fw = static_cast<int>(std::lround(h * aspect));
        }
        fw = std::max(1, fw), fh = std::max(1, fh);
        x0 += (w - fw) / 2;
        y0 += (h - fh) / 2;
        w = fw, h = fh;
    }
    out->x = x0;
    out->y = y0;
    shape.out_width = w;
    shape.out_height = h;
    if (!layer.lookup_path.empty()) shape.lookup_chain = lookupFilterChain(layer.lookup_path);
    return true;
}

LayerRenderer* Compositor::rendererFor(const LayerPlan& layer) {
    auto it = renderers_.find(layer.media_id);
    if (it == renderers_.end() || it->second.path != layer.path) {
        Entry entry{layer.path, LayerRenderer::open(layer.path)};
        it = renderers_.insert_or_assign(layer.media_id, std::move(entry)).first;
    }
    return it->second.renderer.get();
}

void Compositor::render(const CompositionPlan& plan, int64_t t_us, Canvas* canvas, bool allow_yuv) {
    canvas->width = plan.width;
    canvas->height = plan.height;
    const size_t pixels = static_cast<size_t>(plan.width) * plan.height;
    struct Visible {
        LayerRenderer* renderer;
        LayerPlacement place;
        int64_t source_us;
        uint64_t media_id;
        BeautySettings beauty;
        const AVFrame* picture = nullptr;
    };
    std::vector<Visible> visible;
    for (const LayerPlan& layer : plan.layers) {
        if (!layer.visibleAt(t_us)) continue;
        LayerRenderer* renderer = rendererFor(layer);
        if (!renderer) continue;
        LayerPlacement place;
        if (!placeLayer(layer, renderer->width(), renderer->height(), renderer->fileRotationDeg(), plan.width,
                        plan.height, &place))
            continue;
        visible.push_back(Visible{renderer, place, layer.sourceTimeUs(t_us), layer.media_id, layer.beauty});
    }
    // Opaque pictures on even positions only replace what is under them, so they can be laid
    // in the encoder's YUV as they are; anything to blend or retouch is drawn in BGRA.
    canvas->is_yuv = allow_yuv && plan.width % 2 == 0 && plan.height % 2 == 0 &&
                     std::all_of(visible.begin(), visible.end(), [&](const Visible& v) {
                         return v.renderer->opaque() && !v.beauty.any() && evenInside(v.place, plan.width, plan.height);
                     });
    if (canvas->is_yuv) {
        // Black in limited range, as the BGRA canvas's black converts to.
        canvas->yuv.resize(pixels + pixels / 2);
        std::fill(canvas->yuv.begin(), canvas->yuv.begin() + static_cast<long>(pixels), uint8_t(16));
        std::fill(canvas->yuv.begin() + static_cast<long>(pixels), canvas->yuv.end(), uint8_t(128));
        for (Visible& v : visible) v.place.shape.pixel_format = AV_PIX_FMT_YUV420P;
    } else {
        canvas->bgra.resize(pixels * 4);
        const uint8_t opaque_black[4] = {0, 0, 0, 255};
        uint32_t fill = 0;
        std::memcpy(&fill, opaque_black, 4);
        uint32_t* words = reinterpret_cast<uint32_t*>(canvas->bgra.data());
        std::fill(words, words + pixels, fill);
    }
    // Every layer has a renderer of its own (one per media), so a split screen decodes and scales
    // its pictures side by side; they are laid onto the canvas in stacking order afterwards.
    std::vector<std::future<void>> pending;
    for (size_t i = 1; i < visible.size(); ++i)
        pending.push_back(std::async(std::launch::async, [&visible, i] {
            visible[i].picture = visible[i].renderer->pictureAt(visible[i].source_us, visible[i].place.shape);
        }));
    if (!visible.empty()) visible[0].picture = visible[0].renderer->pictureAt(visible[0].source_us, visible[0].place.shape);
    for (auto& job : pending) job.wait();
    for (size_t i = 0; i < visible.size(); ++i) {
        const AVFrame* p = visible[i].picture;
        if (!p) {
            showed_unreadable_ = showed_unreadable_ || !visible[i].renderer->decodedAny();
            continue;
        }
        if (canvas->is_yuv) {
            const LayerShape& shape = visible[i].place.shape;
            if (p->format == AV_PIX_FMT_YUV420P && p->width == shape.out_width && p->height == shape.out_height)
                copyYuv(p, visible[i].place.x, visible[i].place.y, canvas);
        } else if (visible[i].beauty.any()) {
            std::vector<uint8_t>& copy = retouched(visible[i].media_id, p, visible[i].source_us, visible[i].beauty);
            blend(copy.data(), p->width * 4, p->width, p->height, visible[i].place.x, visible[i].place.y, canvas);
        } else {
            blend(p->data[0], p->linesize[0], p->width, p->height, visible[i].place.x, visible[i].place.y, canvas);
        }
    }
}

std::vector<uint8_t>& Compositor::retouched(uint64_t media_id, const AVFrame* picture, int64_t source_us,
                                            const BeautySettings& beauty) {
    std::unique_ptr<Retouch>& entry = retouch_[media_id];
    if (!entry) entry = std::make_unique<Retouch>(face_detection_);
    const int w = picture->width, h = picture->height;
    entry->bgra.resize(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        std::memcpy(entry->bgra.data() + static_cast<size_t>(y) * w * 4, picture->data[0] + static_cast<size_t>(y) * picture->linesize[0],
                    static_cast<size_t>(w) * 4);
    std::vector<FaceShape> faces = entry->tracker.track(entry->bgra.data(), w, h, w * 4, source_us);
    applyBeauty(entry->bgra.data(), w, h, w * 4, faces, beauty);
    return entry->bgra;
}

void Compositor::prune(const CompositionPlan& plan) {
    for (auto it = renderers_.begin(); it != renderers_.end();) {
        bool used = std::any_of(plan.layers.begin(), plan.layers.end(),
                                [&](const LayerPlan& l) { return l.media_id == it->first; });
        it = used ? std::next(it) : renderers_.erase(it);
    }
    for (auto it = retouch_.begin(); it != retouch_.end();) {
        bool used = std::any_of(plan.layers.begin(), plan.layers.end(),
                                [&](const LayerPlan& l) { return l.media_id == it->first && l.beauty.any(); });
        it = used ? std::next(it) : retouch_.erase(it);
    }
}

}  // namespace kestrel::editing

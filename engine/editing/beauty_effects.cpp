#include "engine/editing/beauty_effects.h"

#include "engine/editing/row_bands.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kestrel::editing {

namespace {

// Buffers reused from picture to picture (one set per calling thread), so that retouching
// allocates nothing once the faces have been seen at their size.
struct ColourStep;
struct Span {
    int i0, i1;
    float t;
};

struct Scratch {
    std::vector<ColourStep> steps;    // per shrunk pixel
    std::vector<Span> columns;        // where each full-size column falls between shrunk ones
    std::vector<uint8_t> region;      // the region before the warps, 4 bytes a pixel
    std::vector<uint8_t> small;       // the region shrunk for the blurs, 3 bytes a pixel
    std::vector<uint32_t> row_sums;   // horizontal window sums of a blur
    std::vector<uint8_t> blurred;     // the shrunk region's blur, 3 bytes a pixel
    std::vector<uint8_t> difference;  // how far each shrunk pixel is from the blur, 1 byte
    std::vector<uint8_t> edges;       // that difference blurred
};

template <typename T>
T* sized(std::vector<T>& buffer, size_t count) {
    if (buffer.size() < count) buffer.resize(count);
    return buffer.data();
}

struct RegionCopy {
    PixelRegion r;
    int w = 0, h = 0;
    const uint8_t* bgra = nullptr;   // w * 4 a row
    const uint8_t* at(int x, int y) const { return bgra + (static_cast<size_t>(y) * w + x) * 4; }
};

RegionCopy copyRegion(const uint8_t* bgra, int stride, const PixelRegion& r, std::vector<uint8_t>& buffer) {
    RegionCopy c;
    c.r = r;
    c.w = r.right - r.left;
    c.h = r.bottom - r.top;
    uint8_t* out = sized(buffer, static_cast<size_t>(c.w) * c.h * 4);
    forEachBand(c.h, [&](int first, int end) {
        for (int y = first; y < end; ++y)
            std::memcpy(out + static_cast<size_t>(y) * c.w * 4, bgra + static_cast<size_t>(r.top + y) * stride + r.left * 4,
                        static_cast<size_t>(c.w) * 4);
    });
    c.bgra = out;
    return c;
}

void sampleBilinear(const RegionCopy& src, float x, float y, uint8_t* out) {
    x = std::clamp(x, 0.0f, float(src.w - 1));
    y = std::clamp(y, 0.0f, float(src.h - 1));
    int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
    int x1 = std::min(src.w - 1, x0 + 1), y1 = std::min(src.h - 1, y0 + 1);
    float fx = x - x0, fy = y - y0;
    const uint8_t *a = src.at(x0, y0), *b = src.at(x1, y0), *c = src.at(x0, y1), *d = src.at(x1, y1);
    for (int k = 0; k < 3; ++k) {
        float top = a[k] + (b[k] - a[k]) * fx, bottom = c[k] + (d[k] - c[k]) * fx;
        out[k] = static_cast<uint8_t>(top + (bottom - top) * fy + 0.5f);
    }
}

struct Warp {
    float cx, cy, radius;   // region pixels
    float dx, dy;           // translation of the centre (move) ...
    float scale;            // ... or magnification at the centre (0: none)
};

// Inverse mapping: every pixel inside a warp circle takes its colour from where the warp says.
void applyWarps(uint8_t* bgra, int stride, const RegionCopy& src, const std::vector<Warp>& warps) {
    // Only pixels inside a circle move: visit their bounding box.
    float fx0 = float(src.w), fy0 = float(src.h), fx1 = 0, fy1 = 0;
    for (const Warp& wp : warps) {
        fx0 = std::min(fx0, wp.cx - wp.radius), fx1 = std::max(fx1, wp.cx + wp.radius);
        fy0 = std::min(fy0, wp.cy - wp.radius), fy1 = std::max(fy1, wp.cy + wp.radius);
    }
    const int x0 = std::clamp(int(std::floor(fx0)), 0, src.w), x1 = std::clamp(int(std::ceil(fx1)) + 1, 0, src.w);
    const int y0 = std::clamp(int(std::floor(fy0)), 0, src.h), y1 = std::clamp(int(std::ceil(fy1)) + 1, 0, src.h);
    if (x1 <= x0 || y1 <= y0) return;
    forEachBand(y1 - y0, [&](int first, int end) {
        for (int y = y0 + first; y < y0 + end; ++y) {
            // Only the circles' spans on this row move; gather them, joined where they overlap.
            std::pair<int, int> spans[8];
            int count = 0;
            for (const Warp& wp : warps) {
                const float dy = float(y) - wp.cy, left = wp.radius * wp.radius - dy * dy;
                if (left <= 0 || count == 8) continue;
                const float half = std::sqrt(left);
                const int from = std::max(x0, int(std::floor(wp.cx - half))), to = std::min(x1, int(std::ceil(wp.cx + half)) + 1);
                if (from < to) spans[count++] = {from, to};
            }
            std::sort(spans, spans + count);
            uint8_t* row = bgra + static_cast<size_t>(src.r.top + y) * stride + src.r.left * 4;
            int done = x0;
            for (int i = 0; i < count; ++i) {
                for (int x = std::max(done, spans[i].first); x < spans[i].second; ++x) {
                    float sx = float(x), sy = float(y);
                    bool moved = false;
                    for (const Warp& wp : warps) {
                        float ex = sx - wp.cx, ey = sy - wp.cy;
                        float d2 = ex * ex + ey * ey, r2 = wp.radius * wp.radius;
                        if (d2 >= r2) continue;
                        float falloff = 1.0f - d2 / r2;
                        falloff *= falloff;
                        if (wp.scale != 0) {
                            float f = 1.0f - wp.scale * falloff;
                            sx = wp.cx + ex * f, sy = wp.cy + ey * f;
                        } else {
                            sx -= wp.dx * falloff, sy -= wp.dy * falloff;
                        }
                        moved = true;
                    }
                    if (moved) sampleBilinear(src, sx, sy, row + x * 4);
                }
                done = std::max(done, spans[i].second);
            }
        }
    });
}

FacePoint mean(const FaceShape& f, int from, int to) {
    FacePoint p;
    for (int i = from; i <= to; ++i) p.x += f.points[i].x, p.y += f.points[i].y;
    p.x /= float(to - from + 1), p.y /= float(to - from + 1);
    return p;
}

float distance(FacePoint a, FacePoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

std::vector<Warp> shapeWarps(const FaceShape& face, const PixelRegion& r, const BeautySettings& s) {
    std::vector<Warp> warps;
    auto local = [&](FacePoint p) { return FacePoint{p.x - r.left, p.y - r.top}; };
    if (s.thin != 0) {
        // Pull the lower cheeks towards the nose tip (negative: push them out).
        FacePoint nose = local(face.points[30]);
        float jaw_width = distance(face.points[4], face.points[12]);
        for (int i : {4, 12}) {
            FacePoint c = local(face.points[i]);
            float amount = s.thin / 100.0f * 0.12f;
            warps.push_back(Warp{c.x, c.y, jaw_width * 0.3f, (nose.x - c.x) * amount, (nose.y - c.y) * amount, 0});
        }
    }
    if (s.eye != 0) {
        for (auto [from, to] : {std::pair{36, 41}, std::pair{42, 47}}) {
            FacePoint c = local(mean(face, from, to));
            float eye_width = distance(face.points[from], face.points[from + 3]);
            warps.push_back(Warp{c.x, c.y, eye_width * 1.3f, 0, 0, s.eye / 100.0f * 0.3f});
        }
    }
    return warps;
}

// Mean of each channel over the (2 radius + 1)-square around every pixel, the square clipped to
// the w x h picture: a running sum along the rows, then one down the columns, so the cost does
// not grow with the radius. Both src and out hold `channels` bytes a pixel, w a row.
template <int channels>
void boxBlur(const uint8_t* src, int w, int h, int radius, uint32_t* sums, uint8_t* out) {
    radius = std::min(radius, std::max(w, h));
    forEachBand(h, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const uint8_t* row = src + static_cast<size_t>(y) * w * channels;
            uint32_t* to = sums + static_cast<size_t>(y) * w * channels;
            uint32_t s[channels] = {};
            auto add = [&](int x) {
                for (int k = 0; k < channels; ++k) s[k] += row[x * channels + k];
            };
            auto remove = [&](int x) {
                for (int k = 0; k < channels; ++k) s[k] -= row[x * channels + k];
            };
            auto put = [&](int x) {
                for (int k = 0; k < channels; ++k) to[x * channels + k] = s[k];
            };
            for (int x = 0; x < std::min(w, radius); ++x) add(x);
            // Window [x - radius, x + radius]: growing, sliding, shrinking.
            int x = 0;
            for (; x < w && x - radius <= 0; ++x) {
                if (x + radius < w) add(x + radius);
                put(x);
            }
            for (; x + radius < w; ++x) {
                add(x + radius);
                remove(x - radius - 1);
                put(x);
            }
            for (; x < w; ++x) {
                remove(x - radius - 1);
                put(x);
            }
        }
    });
    // Down the columns, a strip of them at a time so the sums stay in a small array.
    constexpr int kStrip = 32;
    const int strips = (w + kStrip - 1) / kStrip;
    forEachBand(
        strips,
        [&](int first, int end) {
            for (int strip = first; strip < end; ++strip) {
                const int x0 = strip * kStrip, x1 = std::min(w, x0 + kStrip), n = (x1 - x0) * channels;
                uint32_t s[kStrip * channels] = {};
                float across[kStrip * channels];   // 1 / the window's width at each value
                for (int i = 0; i < n; ++i) {
                    const int x = x0 + i / channels;
                    across[i] = 1.0f / float(std::min(w, x + radius + 1) - std::max(0, x - radius));
                }
                for (int y = 0; y < std::min(h, radius + 1); ++y) {
                    const uint32_t* row = sums + (static_cast<size_t>(y) * w + x0) * channels;
                    for (int i = 0; i < n; ++i) s[i] += row[i];
                }
                for (int y = 0; y < h; ++y) {
                    const float down = 1.0f / float(std::min(h, y + radius + 1) - std::max(0, y - radius));
                    uint8_t* to = out + (static_cast<size_t>(y) * w + x0) * channels;
                    for (int i = 0; i < n; ++i) to[i] = static_cast<uint8_t>(float(s[i]) * across[i] * down + 0.5f);
                    if (y + radius + 1 < h) {
                        const uint32_t* add = sums + (static_cast<size_t>(y + radius + 1) * w + x0) * channels;
                        for (int i = 0; i < n; ++i) s[i] += add[i];
                    }
                    if (y - radius >= 0) {
                        const uint32_t* sub = sums + (static_cast<size_t>(y - radius) * w + x0) * channels;
                        for (int i = 0; i < n; ++i) s[i] -= sub[i];
                    }
                }
            }
        },
        1);
}

// The region's colours shrunk to half in each direction (each pixel the mean of a 2 x 2 square)
// or, with factor 1, only repacked; 3 bytes a pixel.
void shrink(const uint8_t* bgra, int stride, int w, int h, int factor, uint8_t* out) {
    const int sw = (w + factor - 1) / factor, sh = (h + factor - 1) / factor;
    forEachBand(sh, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            uint8_t* to = out + static_cast<size_t>(y) * sw * 3;
            const uint8_t* a = bgra + static_cast<size_t>(y * factor) * stride;
            if (factor == 1) {
                for (int x = 0; x < w; ++x) to[x * 3] = a[x * 4], to[x * 3 + 1] = a[x * 4 + 1], to[x * 3 + 2] = a[x * 4 + 2];
                continue;
            }
            const uint8_t* b = y * 2 + 1 < h ? a + stride : a;   // an odd last row stands for two
            for (int x = 0; x < sw; ++x) {
                const int x0 = x * 8, x1 = x * 2 + 1 < w ? x0 + 4 : x0;
                for (int k = 0; k < 3; ++k) to[x * 3 + k] = static_cast<uint8_t>((a[x0 + k] + a[x1 + k] + b[x0 + k] + b[x1 + k] + 2) >> 2);
            }
        }
    });
}

// Where a full-size row or column falls between two of a shrunk picture.
Span spanAt(int full, int size, int factor) {
    if (factor == 1) return Span{full, full, 0.0f};
    float f = std::clamp((full + 0.5f) / float(factor) - 0.5f, 0.0f, float(size - 1));
    int i0 = static_cast<int>(f);
    return Span{i0, std::min(size - 1, i0 + 1), f - float(i0)};
}

// What the colour effects do at one pixel of the shrunk region: the blur to move towards, how
// far to move (smoothing) and how strongly to lighten and tint.
struct ColourStep {
    float blurred[3];
    float smooth, light;
};

// 1 for skin colours (a disc in the CbCr plane around skin's usual chroma), 0 far from them.
float skinLikeness(const float* bgr) {
    float b = bgr[0], g = bgr[1], r = bgr[2];
    float cb = 128.0f - 0.168736f * r - 0.331264f * g + 0.5f * b;
    float cr = 128.0f + 0.5f * r - 0.418688f * g - 0.081312f * b;
    float d2 = (cr - 150.0f) * (cr - 150.0f) + (cb - 108.0f) * (cb - 108.0f);
    if (d2 >= 28.0f * 28.0f) return 0.0f;
    return std::clamp(1.0f - (std::sqrt(d2) - 14.0f) / 14.0f, 0.0f, 1.0f);
}

void applyColour(uint8_t* bgra, int stride, const PixelRegion& r, const FaceShape& face, const BeautySettings& s,
                 Scratch& scratch) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    const uint8_t* region = bgra + static_cast<size_t>(r.top) * stride + r.left * 4;
    // The blur serves the smoothing and, being free of pixel noise, the skin estimate. A wide
    // blur is made on a shrunk copy and enlarged again: the same low-pass for a quarter of the work.
    const int radius = std::max(2, static_cast<int>((face.right - face.left) / 36.0f * (0.5f + s.blur / 100.0f)));
    const int factor = radius >= 4 ? 2 : 1;
    const int sw = (w + factor - 1) / factor, sh = (h + factor - 1) / factor, small_radius = std::max(1, radius / factor);
    const size_t small_pixels = static_cast<size_t>(sw) * sh;
    uint8_t* small = sized(scratch.small, small_pixels * 3);
    shrink(region, stride, w, h, factor, small);
    uint32_t* sums = sized(scratch.row_sums, small_pixels * 3);
    uint8_t* blurred = sized(scratch.blurred, small_pixels * 3);
    boxBlur<3>(small, sw, sh, small_radius, sums, blurred);
    const uint8_t* edges = nullptr;   // how far each neighbourhood is from its blur: features, not skin
    if (s.blur > 0) {
        uint8_t* difference = sized(scratch.difference, small_pixels);
        for (size_t i = 0; i < small_pixels; ++i)
            difference[i] = static_cast<uint8_t>((std::abs(small[i * 3] - blurred[i * 3]) + std::abs(small[i * 3 + 1] - blurred[i * 3 + 1]) +
                                                  std::abs(small[i * 3 + 2] - blurred[i * 3 + 2])) / 3);
        // Smoothed, so that the weight changes gently and draws no new edges.
        uint8_t* smoothed = sized(scratch.edges, small_pixels);
        boxBlur<1>(difference, sw, sh, small_radius, sums, smoothed);
        edges = smoothed;
    }
    // The weights change slowly across the face, so they are worked out on the shrunk region
    // and spread over the full-size pixels with the blur.
    // Weight 1 inside the face ellipse, falling to 0 at its rim, 0 beyond.
    const float cx = (face.left + face.right) / 2 - r.left, cy = (face.top + face.bottom) / 2 - r.top;
    const float ax = std::max(1.0f, (face.right - face.left) * 0.55f), ay = std::max(1.0f, (face.bottom - face.top) * 0.62f);
    const float blur = s.blur / 100.0f, bright = s.bright / 100.0f, tone = s.tone / 100.0f;
    ColourStep* steps = sized(scratch.steps, small_pixels);
    forEachBand(sh, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const float dy = ((y + 0.5f) * factor - cy) / ay;
            for (int x = 0; x < sw; ++x) {
                const size_t at = static_cast<size_t>(y) * sw + x;
                ColourStep& step = steps[at];
                for (int k = 0; k < 3; ++k) step.blurred[k] = blurred[at * 3 + k];
                const float dx = ((x + 0.5f) * factor - cx) / ax;
                float m = std::clamp((1.0f - std::sqrt(dx * dx + dy * dy)) / 0.3f, 0.0f, 1.0f);
                if (m > 0) m *= skinLikeness(step.blurred);   // hair, eyes and the background behind the face stay as they are
                step.light = m;
                // Keep eyes, brows and lips: where the neighbourhood is far from its blur, move less.
                const float keep = edges ? std::clamp(1.4f - edges[at] / 16.0f, 0.0f, 1.0f) : 0.0f;
                step.smooth = 0.9f * blur * m * keep;
            }
        }
    });
    Span* columns = sized(scratch.columns, static_cast<size_t>(w));
    for (int x = 0; x < w; ++x) columns[x] = spanAt(x, sw, factor);
    forEachBand(h, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            // The ellipse's span on this row, a shrunk pixel wider on each side for the spreading.
            const float dy = (y + 0.5f - cy) / ay;
            const float reach = 1.0f + 2.0f * factor / ay;
            if (dy * dy >= reach * reach) continue;
            const float half = std::sqrt(reach * reach - dy * dy) * ax + 2.0f * factor;
            const int x0 = std::max(0, static_cast<int>(std::floor(cx - half)));
            const int x1 = std::min(w, static_cast<int>(std::ceil(cx + half)));
            const Span ys = spanAt(y, sh, factor);
            const ColourStep* top = steps + static_cast<size_t>(ys.i0) * sw;
            const ColourStep* bottom = steps + static_cast<size_t>(ys.i1) * sw;
            uint8_t* row = bgra + static_cast<size_t>(r.top + y) * stride + r.left * 4;
            for (int x = x0; x < x1; ++x) {
                const Span xs = columns[x];
                const ColourStep &a = top[xs.i0], &b = top[xs.i1], &c = bottom[xs.i0], &d = bottom[xs.i1];
                auto mix = [&](float av, float bv, float cv, float dv) {
                    const float upper = av + (bv - av) * xs.t, lower = cv + (dv - cv) * xs.t;
                    return upper + (lower - upper) * ys.t;
                };
                const float light = mix(a.light, b.light, c.light, d.light), smooth = mix(a.smooth, b.smooth, c.smooth, d.smooth);
                if (light <= 0 && smooth <= 0) continue;
                uint8_t* p = row + x * 4;
                float colour[3] = {float(p[0]), float(p[1]), float(p[2])};
                if (smooth > 0)
                    for (int k = 0; k < 3; ++k)
                        colour[k] += (mix(a.blurred[k], b.blurred[k], c.blurred[k], d.blurred[k]) - colour[k]) * smooth;
                if (bright > 0)
                    for (int k = 0; k < 3; ++k) colour[k] += (255.0f - colour[k]) * 0.35f * bright * light;
                if (tone > 0) {
                    colour[2] += (255.0f - colour[2]) * 0.12f * tone * light;   // red up
                    colour[1] -= colour[1] * 0.03f * tone * light;              // a touch less green
                }
                for (int k = 0; k < 3; ++k) p[k] = static_cast<uint8_t>(std::clamp(colour[k] + 0.5f, 0.0f, 255.0f));
            }
        }
    });
}

}  // namespace

PixelRegion faceRegion(const FaceShape& face, int width, int height) {
    float gw = (face.right - face.left) * 0.25f, gh = (face.bottom - face.top) * 0.25f;
    PixelRegion r;
    r.left = std::clamp(static_cast<int>(std::floor(face.left - gw)), 0, width);
    r.top = std::clamp(static_cast<int>(std::floor(face.top - gh)), 0, height);
    r.right = std::clamp(static_cast<int>(std::ceil(face.right + gw)), 0, width);
    r.bottom = std::clamp(static_cast<int>(std::ceil(face.bottom + gh)), 0, height);
    return r;
}

void applyBeauty(uint8_t* bgra, int width, int height, int stride, const std::vector<FaceShape>& faces,
                 const BeautySettings& settings) {
    if (!settings.any()) return;
    thread_local Scratch scratch;
    for (const FaceShape& face : faces) {
        PixelRegion r = faceRegion(face, width, height);
        if (r.empty()) continue;
        if (settings.needsLandmarks() && face.has_landmarks) {
            std::vector<Warp> warps = shapeWarps(face, r, settings);
            if (!warps.empty()) applyWarps(bgra, stride, copyRegion(bgra, stride, r, scratch.region), warps);
        }
        if (settings.blur > 0 || settings.bright > 0 || settings.tone > 0) applyColour(bgra, stride, r, face, settings, scratch);
    }
}

}  // namespace kestrel::editing

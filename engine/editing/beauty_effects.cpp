#include "engine/editing/beauty_effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

namespace kestrel::editing {

namespace {

// Runs body(y) for every row, in bands on up to four threads (rows never share pixels).
template <typename F>
void forEachRow(int rows, F&& body) {
    const int threads = rows < 64 ? 1 : std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    if (threads == 1) {
        for (int y = 0; y < rows; ++y) body(y);
        return;
    }
    std::vector<std::thread> pool;
    const int band = (rows + threads - 1) / threads;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back([&, t] {
            for (int y = t * band; y < std::min(rows, (t + 1) * band); ++y) body(y);
        });
    for (int y = 0; y < std::min(rows, band); ++y) body(y);
    for (auto& thread : pool) thread.join();
}

struct RegionCopy {
    PixelRegion r;
    int w = 0, h = 0;
    std::vector<uint8_t> bgra;   // w * 4 a row
    const uint8_t* at(int x, int y) const { return bgra.data() + (static_cast<size_t>(y) * w + x) * 4; }
};

RegionCopy copyRegion(const uint8_t* bgra, int stride, const PixelRegion& r) {
    RegionCopy c;
    c.r = r;
    c.w = r.right - r.left;
    c.h = r.bottom - r.top;
    c.bgra.resize(static_cast<size_t>(c.w) * c.h * 4);
    for (int y = 0; y < c.h; ++y)
        std::memcpy(c.bgra.data() + static_cast<size_t>(y) * c.w * 4, bgra + static_cast<size_t>(r.top + y) * stride + r.left * 4,
                    static_cast<size_t>(c.w) * 4);
    return c;
}

// Weight 1 inside the face ellipse, falling to 0 at its rim, 0 beyond.
std::vector<float> faceMask(const FaceShape& face, const PixelRegion& r) {
    int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<float> mask(static_cast<size_t>(w) * h, 0.0f);
    float cx = (face.left + face.right) / 2, cy = (face.top + face.bottom) / 2;
    float ax = std::max(1.0f, (face.right - face.left) * 0.55f), ay = std::max(1.0f, (face.bottom - face.top) * 0.62f);
    forEachRow(h, [&](int y) {
        for (int x = 0; x < w; ++x) {
            float dx = (r.left + x + 0.5f - cx) / ax, dy = (r.top + y + 0.5f - cy) / ay;
            float d = std::sqrt(dx * dx + dy * dy);
            mask[static_cast<size_t>(y) * w + x] = std::clamp((1.0f - d) / 0.3f, 0.0f, 1.0f);
        }
    });
    return mask;
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
        out[k] = static_cast<uint8_t>(std::lround(top + (bottom - top) * fy));
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
    forEachRow(y1 - y0, [&](int band_y) {
        const int y = y0 + band_y;
        uint8_t* row = bgra + static_cast<size_t>(src.r.top + y) * stride + src.r.left * 4;
        for (int x = x0; x < x1; ++x) {
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

// Box blur of the region copy through a summed-area table.
std::vector<uint8_t> boxBlur(const RegionCopy& src, int radius) {
    const int w = src.w, h = src.h;
    std::vector<uint32_t> sum(static_cast<size_t>(w + 1) * (h + 1) * 3, 0);
    auto S = [&](int x, int y, int k) -> uint32_t& { return sum[(static_cast<size_t>(y) * (w + 1) + x) * 3 + k]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int k = 0; k < 3; ++k) S(x + 1, y + 1, k) = src.at(x, y)[k] + S(x, y + 1, k) + S(x + 1, y, k) - S(x, y, k);
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 4);
    forEachRow(h, [&](int y) {
        int y0 = std::max(0, y - radius), y1 = std::min(h, y + radius + 1);
        for (int x = 0; x < w; ++x) {
            int x0 = std::max(0, x - radius), x1 = std::min(w, x + radius + 1);
            uint32_t n = uint32_t(x1 - x0) * uint32_t(y1 - y0);
            for (int k = 0; k < 3; ++k)
                out[(static_cast<size_t>(y) * w + x) * 4 + k] =
                    static_cast<uint8_t>((S(x1, y1, k) - S(x0, y1, k) - S(x1, y0, k) + S(x0, y0, k) + n / 2) / n);
        }
    });
    return out;
}

// 1 for skin colours (a disc in the CbCr plane around skin's usual chroma), 0 far from them.
float skinLikeness(const uint8_t* bgra) {
    float b = bgra[0], g = bgra[1], r = bgra[2];
    float cb = 128.0f - 0.168736f * r - 0.331264f * g + 0.5f * b;
    float cr = 128.0f + 0.5f * r - 0.418688f * g - 0.081312f * b;
    float d = std::sqrt((cr - 150.0f) * (cr - 150.0f) + (cb - 108.0f) * (cb - 108.0f));
    return std::clamp(1.0f - (d - 14.0f) / 14.0f, 0.0f, 1.0f);
}

// Box blur of one channel (w x h) through a summed-area table.
std::vector<uint8_t> boxBlurGrey(const std::vector<uint8_t>& grey, int w, int h, int radius) {
    std::vector<uint32_t> sum(static_cast<size_t>(w + 1) * (h + 1), 0);
    for (int y = 0; y < h; ++y) {
        uint32_t row = 0;
        for (int x = 0; x < w; ++x) {
            row += grey[static_cast<size_t>(y) * w + x];
            sum[static_cast<size_t>(y + 1) * (w + 1) + x + 1] = sum[static_cast<size_t>(y) * (w + 1) + x + 1] + row;
        }
    }
    std::vector<uint8_t> out(static_cast<size_t>(w) * h);
    forEachRow(h, [&](int y) {
        int y0 = std::max(0, y - radius), y1 = std::min(h, y + radius + 1);
        for (int x = 0; x < w; ++x) {
            int x0 = std::max(0, x - radius), x1 = std::min(w, x + radius + 1);
            uint32_t n = uint32_t(x1 - x0) * uint32_t(y1 - y0);
            uint32_t total = sum[size_t(y1) * (w + 1) + x1] - sum[size_t(y0) * (w + 1) + x1] - sum[size_t(y1) * (w + 1) + x0] +
                             sum[size_t(y0) * (w + 1) + x0];
            out[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>((total + n / 2) / n);
        }
    });
    return out;
}

void applyColour(uint8_t* bgra, int stride, const RegionCopy& src, const std::vector<float>& mask, const FaceShape& face,
                 const BeautySettings& s) {
    // The blur serves the smoothing and, being free of pixel noise, the skin estimate.
    int radius = std::max(2, static_cast<int>((face.right - face.left) / 36.0f * (0.5f + s.blur / 100.0f)));
    std::vector<uint8_t> blurred = boxBlur(src, radius);
    std::vector<uint8_t> edges;   // how far each neighbourhood is from its blur: features, not skin
    if (s.blur > 0) {
        std::vector<uint8_t> difference(static_cast<size_t>(src.w) * src.h);
        for (size_t i = 0, j = 0; i + 3 < src.bgra.size(); i += 4, ++j)
            difference[j] = static_cast<uint8_t>((std::abs(src.bgra[i] - blurred[i]) + std::abs(src.bgra[i + 1] - blurred[i + 1]) +
                                                  std::abs(src.bgra[i + 2] - blurred[i + 2])) / 3);
        // Smoothed, so that the weight changes gently and draws no new edges.
        edges = boxBlurGrey(difference, src.w, src.h, radius);
    }
    const float blur = s.blur / 100.0f, bright = s.bright / 100.0f, tone = s.tone / 100.0f;
    forEachRow(src.h, [&](int y) {
        uint8_t* row = bgra + static_cast<size_t>(src.r.top + y) * stride + src.r.left * 4;
        for (int x = 0; x < src.w; ++x) {
            float m = mask[static_cast<size_t>(y) * src.w + x];
            if (m <= 0) continue;
            uint8_t* p = row + x * 4;
            const size_t at = (static_cast<size_t>(y) * src.w + x) * 4;
            m *= skinLikeness(&blurred[at]);   // hair, eyes and the background behind the face stay as they are
            if (m <= 0) continue;
            float c[3] = {float(p[0]), float(p[1]), float(p[2])};
            if (blur > 0) {
                const uint8_t* b = &blurred[at];
                // Keep eyes, brows and lips: where the neighbourhood is far from its blur, move less.
                float keep = std::clamp(1.4f - edges[at / 4] / 16.0f, 0.0f, 1.0f);
                float t = 0.9f * blur * m * keep;
                for (int k = 0; k < 3; ++k) c[k] += (b[k] - c[k]) * t;
            }
            if (bright > 0)
                for (int k = 0; k < 3; ++k) c[k] += (255.0f - c[k]) * 0.35f * bright * m;
            if (tone > 0) {
                c[2] += (255.0f - c[2]) * 0.12f * tone * m;   // red up
                c[1] -= c[1] * 0.03f * tone * m;              // a touch less green
            }
            for (int k = 0; k < 3; ++k) p[k] = static_cast<uint8_t>(std::clamp(c[k] + 0.5f, 0.0f, 255.0f));
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
    for (const FaceShape& face : faces) {
        PixelRegion r = faceRegion(face, width, height);
        if (r.empty()) continue;
        if (settings.needsLandmarks() && face.has_landmarks) {
            std::vector<Warp> warps = shapeWarps(face, r, settings);
            if (!warps.empty()) applyWarps(bgra, stride, copyRegion(bgra, stride, r), warps);
        }
        if (settings.blur > 0 || settings.bright > 0 || settings.tone > 0)
            applyColour(bgra, stride, copyRegion(bgra, stride, r), faceMask(face, r), face, settings);
    }
}

}  // namespace kestrel::editing

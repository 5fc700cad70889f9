#include "engine/editing/gif_palette.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kestrel::editing {

namespace {

constexpr int kBinBits = 6;
constexpr int kBinShift = 8 - kBinBits;
constexpr int kBinsPerChannel = 1 << kBinBits;
constexpr int kKMeansRounds = 3;
// Three quarters of each pixel's error is diffused: smooth ramps stay free of bands, while the
// full error adds a grain that costs detail and size (the two-pass command loses about as much
// by truncating its error at every step).
constexpr int kDitherSixteenths = 12;

inline int binOf(int r, int g, int b) {
    return ((r >> kBinShift) << (2 * kBinBits)) | ((g >> kBinShift) << kBinBits) | (b >> kBinShift);
}

// The mean colour of one occupied bin and how many pixels fell into it.
struct Swatch {
    float c[3];
    double count;
};

struct Box {
    size_t begin, end;
    double score;  // weighted squared error around the box's mean: the box to split next
};

void boxStats(const std::vector<Swatch>& s, size_t begin, size_t end, double mean[3], double* weight, double* score) {
    double w = 0, sum[3] = {0, 0, 0}, sq[3] = {0, 0, 0};
    for (size_t i = begin; i < end; ++i) {
        w += s[i].count;
        for (int k = 0; k < 3; ++k) {
            sum[k] += s[i].c[k] * s[i].count;
            sq[k] += double(s[i].c[k]) * s[i].c[k] * s[i].count;
        }
    }
    double sc = 0;
    for (int k = 0; k < 3; ++k) {
        mean[k] = w > 0 ? sum[k] / w : 0;
        sc += w > 0 ? sq[k] - sum[k] * sum[k] / w : 0;
    }
    *weight = w;
    *score = end - begin >= 2 ? sc : -1;
}

inline uint32_t opaque(double r, double g, double b) {
    auto ch = [](double v) { return uint32_t(std::clamp(int(v + 0.5), 0, 255)); };
    return 0xFF000000u | (ch(r) << 16) | (ch(g) << 8) | ch(b);
}

}  // namespace

ColourHistogram::ColourHistogram() : bins_(size_t(1) << (3 * kBinBits)) {}

void ColourHistogram::clear() {
    std::fill(bins_.begin(), bins_.end(), Bin{});
    pixels_ = 0;
}

void ColourHistogram::add(const uint8_t* bgr, int width, int height, int stride) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = bgr + size_t(y) * stride;
        for (int x = 0; x < width; ++x, p += 3) {
            Bin& bin = bins_[binOf(p[2], p[1], p[0])];
            bin.sum_r += p[2];
            bin.sum_g += p[1];
            bin.sum_b += p[0];
            ++bin.count;
        }
    }
    pixels_ += uint64_t(width) * height;
}

GifPalette ColourHistogram::makePalette(int max_colours) const {
    max_colours = std::clamp(max_colours, 1, GifPalette::kMaxColours);
    std::vector<Swatch> swatches;
    for (const Bin& bin : bins_) {
        if (!bin.count) continue;
        double n = bin.count;
        swatches.push_back({{float(bin.sum_r / n), float(bin.sum_g / n), float(bin.sum_b / n)}, n});
    }
    GifPalette palette;
    palette.argb.fill(0xFF000000u);
    palette.argb[GifPalette::kTransparentIndex] = 0x0000FF00u;  // alpha 0: the encoder's "unchanged"
    if (swatches.empty()) {
        palette.colours = 1;
        return palette;
    }

    // Median cut: split the box with the largest error along its widest channel at the
    // weighted median, until the palette is full or no box holds two swatches.
    std::vector<Box> boxes;
    double mean[3], weight, score;
    boxStats(swatches, 0, swatches.size(), mean, &weight, &score);
    boxes.push_back({0, swatches.size(), score});
    while (int(boxes.size()) < max_colours) {
        auto worst = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.score < b.score; });
        if (worst->score <= 0) break;
        Box box = *worst;
        float lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
        for (size_t i = box.begin; i < box.end; ++i)
            for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], swatches[i].c[k]), hi[k] = std::max(hi[k], swatches[i].c[k]);
        int axis = 0;
        for (int k = 1; k < 3; ++k)
            if (hi[k] - lo[k] > hi[axis] - lo[axis]) axis = k;
        std::sort(swatches.begin() + long(box.begin), swatches.begin() + long(box.end),
                  [axis](const Swatch& a, const Swatch& b) { return a.c[axis] < b.c[axis]; });
        double total = 0;
        for (size_t i = box.begin; i < box.end; ++i) total += swatches[i].count;
        double run = 0;
        size_t cut = box.begin + 1;
        for (size_t i = box.begin; i + 1 < box.end; ++i) {
            run += swatches[i].count;
            cut = i + 1;
            if (run >= total / 2) break;
        }
        boxStats(swatches, box.begin, cut, mean, &weight, &score);
        *worst = {box.begin, cut, score};
        boxStats(swatches, cut, box.end, mean, &weight, &score);
        boxes.push_back({cut, box.end, score});
    }

    std::vector<double> centre(boxes.size() * 3);
    for (size_t j = 0; j < boxes.size(); ++j) {
        boxStats(swatches, boxes[j].begin, boxes[j].end, mean, &weight, &score);
        for (int k = 0; k < 3; ++k) centre[j * 3 + k] = mean[k];
    }

    // K-means rounds move each colour to the mean of the swatches nearest to it.
    const size_t n = boxes.size();
    std::vector<double> acc(n * 4);
    for (int round = 0; round < kKMeansRounds; ++round) {
        std::fill(acc.begin(), acc.end(), 0.0);
        for (const Swatch& s : swatches) {
            size_t best = 0;
            double best_d = std::numeric_limits<double>::max();
            for (size_t j = 0; j < n; ++j) {
                double dr = s.c[0] - centre[j * 3], dg = s.c[1] - centre[j * 3 + 1], db = s.c[2] - centre[j * 3 + 2];
                double d = dr * dr + dg * dg + db * db;
                if (d < best_d) best_d = d, best = j;
            }
            for (int k = 0; k < 3; ++k) acc[best * 4 + k] += s.c[k] * s.count;
            acc[best * 4 + 3] += s.count;
        }
        for (size_t j = 0; j < n; ++j)
            if (acc[j * 4 + 3] > 0)
                for (int k = 0; k < 3; ++k) centre[j * 3 + k] = acc[j * 4 + k] / acc[j * 4 + 3];
    }

    for (size_t j = 0; j < n; ++j) palette.argb[j] = opaque(centre[j * 3], centre[j * 3 + 1], centre[j * 3 + 2]);
    palette.colours = int(n);
    return palette;
}

PaletteQuantizer::PaletteQuantizer(const GifPalette& palette)
    : cache_(size_t(1) << 24), cached_((size_t(1) << 24) / 64, 0) {
    for (int i = 0; i < std::max(1, palette.colours); ++i) {
        uint32_t c = palette.argb[size_t(i)];
        r_.push_back(int32_t((c >> 16) & 0xFF));
        g_.push_back(int32_t((c >> 8) & 0xFF));
        b_.push_back(int32_t(c & 0xFF));
    }
}

uint8_t PaletteQuantizer::search(int r, int g, int b) const {
    int best = 0;
    int32_t best_d = std::numeric_limits<int32_t>::max();
    const int n = int(r_.size());
    for (int j = 0; j < n; ++j) {
        int32_t dr = r - r_[size_t(j)], dg = g - g_[size_t(j)], db = b - b_[size_t(j)];
        int32_t d = dr * dr + dg * dg + db * db;
        if (d < best_d) best_d = d, best = j;
    }
    return uint8_t(best);
}

uint8_t PaletteQuantizer::nearest(int r, int g, int b) {
    uint32_t key = (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
    uint64_t& word = cached_[key >> 6];
    uint64_t bit = uint64_t(1) << (key & 63);
    if (!(word & bit)) {
        cache_[key] = search(r, g, b);
        word |= bit;
    }
    return cache_[key];
}

void PaletteQuantizer::quantize(const uint8_t* bgr, int width, int height, int stride, uint8_t* out, int out_stride) {
    // Sierra-2-4A: 2/4 of a pixel's error to the right, 1/4 below left and 1/4 below. Errors are
    // kept in quarters; a row has a guard cell at each end.
    const size_t row = size_t(width + 2) * 3;
    error_rows_.assign(row * 2, 0);
    int32_t* cur = error_rows_.data();
    int32_t* next = cur + row;
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = bgr + size_t(y) * stride;
        uint8_t* o = out + size_t(y) * out_stride;
        std::fill(next, next + row, 0);
        for (int x = 0; x < width; ++x, p += 3) {
            int32_t* e = cur + size_t(x + 1) * 3;
            int r = std::clamp(int(p[2]) + ((e[0] + 2) >> 2), 0, 255);
            int g = std::clamp(int(p[1]) + ((e[1] + 2) >> 2), 0, 255);
            int b = std::clamp(int(p[0]) + ((e[2] + 2) >> 2), 0, 255);
            uint8_t index = nearest(r, g, b);
            o[x] = index;
            int err[3] = {(r - r_[index]) * kDitherSixteenths / 16, (g - g_[index]) * kDitherSixteenths / 16,
                          (b - b_[index]) * kDitherSixteenths / 16};
            int32_t* below = next + size_t(x + 1) * 3;
            for (int k = 0; k < 3; ++k) {
                e[3 + k] += 2 * err[k];
                below[k - 3] += err[k];
                below[k] += err[k];
            }
        }
        std::swap(cur, next);
    }
}

}  // namespace kestrel::editing

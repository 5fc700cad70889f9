#include "tests/support/oracle/picture_figures.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrel::test {
namespace {

// Sums of one 4x4 block of both planes: the pieces an 8x8 window's statistics are made of.
struct BlockSums {
    double a = 0, b = 0, aa = 0, bb = 0, ab = 0;
};

BlockSums blockSums(const uint8_t* a, const uint8_t* b, int stride, int x0, int y0, int w, int h) {
    BlockSums s;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const double va = a[size_t(y) * size_t(stride) + size_t(x)];
            const double vb = b[size_t(y) * size_t(stride) + size_t(x)];
            s.a += va;
            s.b += vb;
            s.aa += va * va;
            s.bb += vb * vb;
            s.ab += va * vb;
        }
    return s;
}

double windowSsim(const BlockSums& s, double samples) {
    constexpr double c1 = (0.01 * 255) * (0.01 * 255);
    constexpr double c2 = (0.03 * 255) * (0.03 * 255);
    const double mean_a = s.a / samples, mean_b = s.b / samples;
    const double var_a = s.aa / samples - mean_a * mean_a;
    const double var_b = s.bb / samples - mean_b * mean_b;
    const double covar = s.ab / samples - mean_a * mean_b;
    return ((2 * mean_a * mean_b + c1) * (2 * covar + c2)) /
           ((mean_a * mean_a + mean_b * mean_b + c1) * (var_a + var_b + c2));
}

// Mean SSIM of one plane over 8x8 windows stepped by 4 (a plane under 8 samples wide or high
// is one window).
double planeSsim(const uint8_t* a, const uint8_t* b, int width, int height) {
    if (width < 8 || height < 8) return windowSsim(blockSums(a, b, width, 0, 0, width, height), double(width) * height);
    const int blocks_x = width / 4, blocks_y = height / 4;
    std::vector<BlockSums> blocks(size_t(blocks_x) * size_t(blocks_y));
    for (int by = 0; by < blocks_y; ++by)
        for (int bx = 0; bx < blocks_x; ++bx)
            blocks[size_t(by) * size_t(blocks_x) + size_t(bx)] = blockSums(a, b, width, bx * 4, by * 4, 4, 4);
    double total = 0;
    for (int by = 0; by + 1 < blocks_y; ++by)
        for (int bx = 0; bx + 1 < blocks_x; ++bx) {
            BlockSums w;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const BlockSums& s = blocks[size_t(by + dy) * size_t(blocks_x) + size_t(bx + dx)];
                    w.a += s.a;
                    w.b += s.b;
                    w.aa += s.aa;
                    w.bb += s.bb;
                    w.ab += s.ab;
                }
            total += windowSsim(w, 64);
        }
    return total / (double(blocks_x - 1) * double(blocks_y - 1));
}

}  // namespace

double meanSquaredDifference(const uint8_t* a, const uint8_t* b, size_t count) {
    if (count == 0) return 0;
    uint64_t sum = 0;
    for (size_t i = 0; i < count; ++i) {
        const int d = int(a[i]) - int(b[i]);
        sum += uint64_t(d * d);
    }
    return double(sum) / double(count);
}

double psnrFromMse(double mse) {
    if (mse <= 0) return std::numeric_limits<double>::infinity();
    return 10.0 * std::log10(255.0 * 255.0 / mse);
}

PictureFigures comparePictures(const Picture& a, const Picture& b) {
    double squared = 0, ssim = 0, samples = 0;
    for (int p = 0; p < a.plane_count; ++p) {
        const int w = a.planeWidth(p), h = a.planeHeight(p);
        const double n = double(w) * h;
        squared += meanSquaredDifference(a.plane(p), b.plane(p), size_t(w) * size_t(h)) * n;
        ssim += planeSsim(a.plane(p), b.plane(p), w, h) * n;
        samples += n;
    }
    if (samples == 0) return {};
    return {psnrFromMse(squared / samples), ssim / samples};
}

}  // namespace kestrel::test

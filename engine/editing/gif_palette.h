#pragma once
// Palettes for GIF pictures: a colour histogram of the frames of a clip (or of a group of its
// frames), a median-cut palette refined by a few k-means rounds, and a quantizer that maps
// pictures onto the palette with Sierra-2-4A error diffusion. The last palette entry is kept
// transparent, so that the GIF encoder can leave unchanged pixels of a frame out.
#include <array>
#include <cstdint>
#include <vector>

namespace kestrel::editing {

struct GifPalette {
    // 0xAARRGGBB, as FFmpeg's PAL8 frames carry it. Opaque entries first; kTransparentIndex is
    // alpha 0; unused entries are opaque black.
    std::array<uint32_t, 256> argb{};
    int colours = 0;  // opaque entries in use
    static constexpr int kTransparentIndex = 255;
    static constexpr int kMaxColours = 255;
};

class ColourHistogram {
public:
    ColourHistogram();
    // Counts every pixel of a packed 24-bit BGR picture (rows of `stride` bytes).
    void add(const uint8_t* bgr, int width, int height, int stride);
    bool empty() const { return pixels_ == 0; }
    void clear();
    // At most max_colours opaque colours that represent the counted pixels best.
    GifPalette makePalette(int max_colours = GifPalette::kMaxColours) const;

private:
    struct Bin {
        uint64_t sum_r = 0, sum_g = 0, sum_b = 0;
        uint32_t count = 0;
    };
    std::vector<Bin> bins_;  // 6 bits a channel; sums keep the exact mean of each bin
    uint64_t pixels_ = 0;
};

class PaletteQuantizer {
public:
    explicit PaletteQuantizer(const GifPalette& palette);
    // Maps a packed BGR picture onto the palette with error diffusion; writes one index a pixel
    // into out (rows of out_stride bytes). Never writes the transparent index.
    void quantize(const uint8_t* bgr, int width, int height, int stride, uint8_t* out, int out_stride);
    // The opaque entry closest to a colour (squared distance).
    uint8_t nearest(int r, int g, int b);

private:
    uint8_t search(int r, int g, int b) const;

    std::vector<int32_t> r_, g_, b_;
    std::vector<uint8_t> cache_;       // exact 24-bit colour -> index, filled on first use
    std::vector<uint64_t> cached_;     // one bit a colour: cache_ holds it
    std::vector<int32_t> error_rows_;  // two rows of diffused error, three channels
};

}  // namespace kestrel::editing

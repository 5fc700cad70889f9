#pragma once
// Frames of a GIF waiting for their palette: pictures are kept (packed BGR at the output size)
// until the group's memory budget is reached or the clip ends; then one palette is made from
// the whole group and every frame is quantized onto it. A short clip is one group, so its GIF
// has one global palette; a long one gets a palette per group in bounded memory.
#include "engine/editing/gif_palette.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kestrel::editing {

class GifFrameGroup {
public:
    // Receives one quantized frame: width*height indices (rows of `width` bytes), its palette
    // and its frame index; returns false to stop the flush.
    using Sink = std::function<bool(const uint8_t* indices, const GifPalette& palette, int64_t frame_index)>;

    static constexpr size_t kDefaultBudgetBytes = size_t(160) << 20;

    GifFrameGroup(int width, int height, size_t budget_bytes = kDefaultBudgetBytes);

    // Takes a packed BGR picture of the group's size (rows of `stride` bytes).
    void add(const uint8_t* bgr, int stride, int64_t frame_index);
    // True once the group holds as many frames as its budget allows.
    bool full() const { return frames_.size() >= capacity_; }
    bool empty() const { return frames_.empty(); }
    // Palette, quantization and hand-over of every frame held; the group is empty afterwards.
    bool flush(const Sink& sink);

private:
    int width_, height_;
    size_t capacity_;
    std::vector<std::vector<uint8_t>> frames_;
    std::vector<int64_t> indices_;
    ColourHistogram histogram_;
    std::vector<uint8_t> quantized_;
};

}  // namespace kestrel::editing

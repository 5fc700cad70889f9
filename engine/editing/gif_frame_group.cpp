#include "engine/editing/gif_frame_group.h"

#include <algorithm>
#include <cstring>

namespace kestrel::editing {

GifFrameGroup::GifFrameGroup(int width, int height, size_t budget_bytes)
    : width_(width), height_(height),
      capacity_(std::max<size_t>(1, budget_bytes / std::max<size_t>(1, size_t(width) * size_t(height) * 3))) {}

void GifFrameGroup::add(const uint8_t* bgr, int stride, int64_t frame_index) {
    const size_t row = size_t(width_) * 3;
    std::vector<uint8_t> frame(row * size_t(height_));
    for (int y = 0; y < height_; ++y) std::memcpy(frame.data() + row * size_t(y), bgr + size_t(stride) * size_t(y), row);
    histogram_.add(frame.data(), width_, height_, int(row));
    frames_.push_back(std::move(frame));
    indices_.push_back(frame_index);
}

bool GifFrameGroup::flush(const Sink& sink) {
    if (frames_.empty()) return true;
    GifPalette palette = histogram_.makePalette();
    PaletteQuantizer quantizer(palette);
    quantized_.resize(size_t(width_) * size_t(height_));
    bool ok = true;
    for (size_t i = 0; i < frames_.size() && ok; ++i) {
        quantizer.quantize(frames_[i].data(), width_, height_, width_ * 3, quantized_.data(), width_);
        std::vector<uint8_t>().swap(frames_[i]);  // release as we go
        ok = sink(quantized_.data(), palette, indices_[i]);
    }
    frames_.clear();
    indices_.clear();
    histogram_.clear();
    return ok;
}

}  // namespace kestrel::editing

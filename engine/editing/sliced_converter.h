#pragma once
// Converts whole pictures from one pixel format to another of the same size in horizontal
// bands, one thread a band, so that a 1080p BGRA -> YUV conversion does not hold up the encoder.
// Pictures of another size go through one scaler.
#include "engine/core/ff_handles.h"

#include <vector>

namespace kestrel::editing {

class SlicedConverter {
public:
    // Fills dst (format, width, height and buffers set) from src; false when no scaler fits.
    bool convert(const AVFrame* src, AVFrame* dst);

private:
    bool prepare(const AVFrame* src, const AVFrame* dst);

    struct Band {
        int top = 0, height = 0;
        engine::SwsPtr sws;
    };
    std::vector<Band> bands_;
    int src_w_ = 0, src_h_ = 0, src_format_ = -1;
    int dst_w_ = 0, dst_h_ = 0, dst_format_ = -1;
};

}  // namespace kestrel::editing

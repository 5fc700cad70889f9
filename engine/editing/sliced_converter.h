#pragma once
// Converts pictures to the encoder's format and size with libswscale's own slice threads, so a
// 1080p BGRA -> YUV conversion does not hold up the encoder. The slices see the whole source,
// so the result is the one a single thread gives.
#include "engine/core/ff_handles.h"

namespace kestrel::editing {

class SlicedConverter {
public:
    // Fills dst (format, width, height and buffers set) from src; false when no scaler fits.
    bool convert(const AVFrame* src, AVFrame* dst);

private:
    bool prepare(const AVFrame* src, const AVFrame* dst);

    engine::SwsPtr sws_;
    engine::FramePtr source_ = engine::makeFrame();   // src without a copy, as the scaler wants it
    int src_w_ = 0, src_h_ = 0, src_format_ = -1;
    int dst_w_ = 0, dst_h_ = 0, dst_format_ = -1;
};

}  // namespace kestrel::editing

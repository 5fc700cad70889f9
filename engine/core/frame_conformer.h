#pragma once
// Keeps decoded pictures in the size and pixel format a filter graph was built for. Streams may
// change size mid-way (two recordings joined end to end, a resolution switch in a broadcast);
// such pictures are scaled to the first size so the graph and the encoder never see a change.
#include "engine/core/ff_handles.h"

namespace kestrel::engine {

class FrameConformer {
public:
    FrameConformer(int width, int height, int pixel_format);
    // The frame itself when it already fits; otherwise a converted copy (with the frame's time
    // and properties) owned by the conformer until the next call. Null when it cannot convert.
    AVFrame* conform(AVFrame* frame);

private:
    int width_, height_, pixel_format_;
    SwsPtr sws_;
    int src_w_ = 0, src_h_ = 0, src_format_ = -1;
    FramePtr converted_;
};

}  // namespace kestrel::engine

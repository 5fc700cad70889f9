#pragma once
// A text watermark arrives as a picture of the whole watermark frame, mostly transparent. It is
// fitted to the output once, and only the part that shows is blended into every frame.
#include "engine/core/ff_handles.h"
#include "engine/core/render_settings.h"

namespace kestrel::engine {

struct PixelBox {
    int x = 0, y = 0, width = 0, height = 0;
};

struct PlacedPicture {
    FramePtr frame;   // straight-alpha BGRA; null when nothing of the picture shows
    int x = 0;        // where its top-left corner goes in the output (even, so that 4:2:0
    int y = 0;        // chroma is blended on the same grid as the picture's)
};

// Crops `from` (pixels of the picture) out of the premultiplied picture, scales it to out_width x
// out_height, and keeps the smallest even-aligned box around its visible pixels.
PlacedPicture fitTextPicture(const BgraPicture& picture, const PixelBox& from, int out_width, int out_height);

}  // namespace kestrel::engine

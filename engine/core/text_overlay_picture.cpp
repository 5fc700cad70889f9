#include "engine/core/text_overlay_picture.h"

#include <algorithm>
#include <new>

namespace kestrel::engine {

namespace {

FramePtr bgraFrame(int width, int height) {
    FramePtr frame = makeFrame();
    if (!frame) throw std::bad_alloc();
    frame->format = AV_PIX_FMT_BGRA;
    frame->width = width;
    frame->height = height;
    if (av_frame_get_buffer(frame.get(), 0) < 0) throw std::bad_alloc();
    return frame;
}

// Straight alpha again: the overlay blends straight colour exactly; premultiplied blending in YUV
// would not be.
FramePtr straightAlphaCrop(const BgraPicture& picture, const PixelBox& box) {
    FramePtr frame = bgraFrame(box.width, box.height);
    for (int y = 0; y < box.height; ++y) {
        const uint8_t* src = picture.pixels.data() + (size_t(box.y + y) * picture.width + box.x) * 4;
        uint8_t* dst = frame->data[0] + size_t(y) * frame->linesize[0];
        for (int x = 0; x < box.width; ++x, src += 4, dst += 4) {
            const int a = src[3];
            for (int k = 0; k < 3; ++k) dst[k] = a == 0 ? 0 : uint8_t(std::min(255, (src[k] * 255 + a / 2) / a));
            dst[3] = uint8_t(a);
        }
    }
    return frame;
}

FramePtr scaled(const AVFrame& in, int width, int height) {
    SwsPtr sws(sws_getContext(in.width, in.height, AV_PIX_FMT_BGRA, width, height, AV_PIX_FMT_BGRA, SWS_BICUBIC,
                              nullptr, nullptr, nullptr));
    if (!sws) throw std::bad_alloc();
    FramePtr out = bgraFrame(width, height);
    sws_scale(sws.get(), in.data, in.linesize, 0, in.height, out->data, out->linesize);
    return out;
}

// The smallest box holding every pixel with alpha, its corner moved to even coordinates; empty
// when all is transparent.
PixelBox visibleBox(const AVFrame& frame) {
    int left = frame.width, right = -1, top = frame.height, bottom = -1;
    for (int y = 0; y < frame.height; ++y) {
        const uint8_t* row = frame.data[0] + size_t(y) * frame.linesize[0];
        for (int x = 0; x < frame.width; ++x) {
            if (row[x * 4 + 3] == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return {};
    left &= ~1;
    top &= ~1;
    return {left, top, right + 1 - left, bottom + 1 - top};
}

}  // namespace

PlacedPicture fitTextPicture(const BgraPicture& picture, const PixelBox& from, int out_width, int out_height) {
    PlacedPicture placed;
    PixelBox box = from;
    box.x = std::clamp(box.x, 0, picture.width);
    box.y = std::clamp(box.y, 0, picture.height);
    box.width = std::min(box.width, picture.width - box.x);
    box.height = std::min(box.height, picture.height - box.y);
    if (box.width <= 0 || box.height <= 0 || out_width <= 0 || out_height <= 0) return placed;
    FramePtr fitted = straightAlphaCrop(picture, box);
    if (box.width != out_width || box.height != out_height) fitted = scaled(*fitted, out_width, out_height);
    const PixelBox shown = visibleBox(*fitted);
    if (shown.width <= 0) return placed;
    placed.frame = bgraFrame(shown.width, shown.height);
    for (int y = 0; y < shown.height; ++y)
        std::copy_n(fitted->data[0] + size_t(shown.y + y) * fitted->linesize[0] + shown.x * 4, shown.width * 4,
                    placed.frame->data[0] + size_t(y) * placed.frame->linesize[0]);
    placed.frame->pts = 0;
    placed.x = shown.x;
    placed.y = shown.y;
    return placed;
}

}  // namespace kestrel::engine

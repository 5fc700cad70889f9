// The encoder's threaded picture conversion must give the picture one thread would.
#include "engine/editing/sliced_converter.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kestrel::editing {
namespace {

engine::FramePtr frameOf(AVPixelFormat format, int width, int height) {
    engine::FramePtr frame = engine::makeFrame();
    frame->format = format;
    frame->width = width;
    frame->height = height;
    if (av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
    return frame;
}

TEST(SlicedConverter, ThreadsMatchOneWholeConversion) {
    struct Size {
        int width, height;
    };
    // Heights that split into slices unevenly, and an odd size.
    for (Size size : {Size{1920, 1080}, Size{640, 362}, Size{321, 241}}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        engine::FramePtr bgra = frameOf(AV_PIX_FMT_BGRA, size.width, size.height);
        ASSERT_NE(bgra, nullptr);
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x) {
                uint8_t* p = bgra->data[0] + y * bgra->linesize[0] + x * 4;
                p[0] = uint8_t(x * 7 + y), p[1] = uint8_t(y * 3), p[2] = uint8_t((x ^ y) * 5), p[3] = 255;
            }
        engine::FramePtr threaded = frameOf(AV_PIX_FMT_YUV420P, size.width, size.height);
        engine::FramePtr whole = frameOf(AV_PIX_FMT_YUV420P, size.width, size.height);
        SlicedConverter converter;
        ASSERT_TRUE(converter.convert(bgra.get(), threaded.get()));
        engine::SwsPtr sws(sws_getContext(size.width, size.height, AV_PIX_FMT_BGRA, size.width, size.height,
                                          AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr));
        sws_scale(sws.get(), bgra->data, bgra->linesize, 0, size.height, whole->data, whole->linesize);
        int worst = 0;
        for (int plane = 0; plane < 3; ++plane) {
            const int w = plane ? (size.width + 1) / 2 : size.width;
            const int h = plane ? (size.height + 1) / 2 : size.height;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    worst = std::max(worst, std::abs(threaded->data[plane][y * threaded->linesize[plane] + x] -
                                                     whole->data[plane][y * whole->linesize[plane] + x]));
        }
        // At most the ordered dither's step where a slice starts on another dither row.
        EXPECT_LE(worst, 1);
    }
}

}  // namespace
}  // namespace kestrel::editing

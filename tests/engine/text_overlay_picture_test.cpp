// A text watermark's full-frame picture is cut down, once, to the part that shows.
#include "engine/core/text_overlay_picture.h"

#include <gtest/gtest.h>

namespace kestrel::engine {
namespace {

// A width x height premultiplied picture with one block of colour (b, g, r) at alpha a.
BgraPicture pictureWithBlock(int width, int height, int bx, int by, int bw, int bh, const uint8_t bgra[4]) {
    BgraPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(size_t(width) * height * 4, 0);
    for (int y = by; y < by + bh; ++y)
        for (int x = bx; x < bx + bw; ++x)
            for (int k = 0; k < 4; ++k) picture.pixels[(size_t(y) * width + x) * 4 + k] = bgra[k];
    return picture;
}

const uint8_t* pixel(const AVFrame& frame, int x, int y) { return frame.data[0] + y * frame.linesize[0] + x * 4; }

TEST(TextOverlayPicture, NothingVisibleGivesNoLayer) {
    const uint8_t none[4] = {0, 0, 0, 0};
    BgraPicture picture = pictureWithBlock(64, 48, 0, 0, 64, 48, none);
    EXPECT_EQ(fitTextPicture(picture, {0, 0, 64, 48}, 64, 48).frame, nullptr);
}

TEST(TextOverlayPicture, KeepsTheVisibleBoxOnTheChromaGridInStraightAlpha) {
    const uint8_t half[4] = {16, 32, 64, 128};  // premultiplied: straight (32, 64, 128) at 50 %
    BgraPicture picture = pictureWithBlock(64, 48, 7, 5, 10, 6, half);
    PlacedPicture placed = fitTextPicture(picture, {0, 0, 64, 48}, 64, 48);
    ASSERT_NE(placed.frame, nullptr);
    EXPECT_EQ(placed.x, 6);
    EXPECT_EQ(placed.y, 4);
    EXPECT_EQ(placed.frame->width, 11);   // 6..16
    EXPECT_EQ(placed.frame->height, 7);   // 4..10
    EXPECT_EQ(pixel(*placed.frame, 0, 0)[3], 0);  // the even-grid margin stays clear
    const uint8_t* inside = pixel(*placed.frame, 5, 3);
    EXPECT_NEAR(inside[0], 32, 1);
    EXPECT_NEAR(inside[1], 64, 1);
    EXPECT_NEAR(inside[2], 128, 1);
    EXPECT_EQ(inside[3], 128);
}

TEST(TextOverlayPicture, FollowsTheCropAndTheOutputScale) {
    const uint8_t opaque[4] = {255, 255, 255, 255};
    BgraPicture picture = pictureWithBlock(64, 48, 20, 10, 8, 8, opaque);
    // Crop 10 px from the left and 4 from the top, then double the 40x30 rest.
    PlacedPicture placed = fitTextPicture(picture, {10, 4, 40, 30}, 80, 60);
    ASSERT_NE(placed.frame, nullptr);
    // The block's 20..28 x 10..18 lands on 20..36 x 12..28, give or take the scaler's soft edge.
    EXPECT_LE(placed.x, 20);
    EXPECT_GE(placed.x, 16);
    EXPECT_LE(placed.y, 12);
    EXPECT_GE(placed.y, 8);
    EXPECT_GE(placed.x + placed.frame->width, 36);
    EXPECT_LE(placed.x + placed.frame->width, 40);
    EXPECT_EQ(pixel(*placed.frame, 28 - placed.x, 20 - placed.y)[3], 255);
}

}  // namespace
}  // namespace kestrel::engine

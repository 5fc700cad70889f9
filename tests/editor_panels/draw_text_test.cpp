// The text drawing routine the engines call: BGRA premultiplied bytes, opacity from transparency.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "session/preview/draw_text_callback.h"

using namespace kestrel::session;

namespace {

TextWatermarkRecord solidBlockRecord(uint32_t colour, int transparency) {
    TextWatermarkRecord r;
    std::memset(&r, 0, sizeof r);
    std::strcpy(r.text, "\u2588");  // one full block: every covered pixel is inked once
    std::strcpy(r.font_name, "DejaVu Sans");
    r.font_size = 40;
    r.colour = colour;
    r.transparency = transparency;
    r.x = 10;
    r.y = 20;
    return r;
}

// The most opaque pixel of the buffer (B, G, R, A).
std::array<uint8_t, 4> strongestPixel(const std::vector<uint8_t>& buffer) {
    std::array<uint8_t, 4> best{};
    for (size_t i = 0; i + 3 < buffer.size(); i += 4)
        if (buffer[i + 3] > best[3]) best = {buffer[i], buffer[i + 1], buffer[i + 2], buffer[i + 3]};
    return best;
}

}  // namespace

TEST(DrawTextCallback, OpaqueRedReachesTheBufferAsBlueGreenRedAlpha) {
    std::vector<uint8_t> buffer(200 * 100 * 4, 0);
    DrawTextCallback(200, 100, buffer.data(), solidBlockRecord(0xFF000000u, 0));
    EXPECT_EQ(strongestPixel(buffer), (std::array<uint8_t, 4>{0x00, 0x00, 0xFF, 0xFF}));
}

TEST(DrawTextCallback, TransparencyLowersTheAlphaAndAllTheWayHidesTheText) {
    std::vector<uint8_t> buffer(200 * 100 * 4, 0);
    DrawTextCallback(200, 100, buffer.data(), solidBlockRecord(0x00FF0000u, 25));
    const auto pixel = strongestPixel(buffer);
    EXPECT_NEAR(pixel[3], 191, 2);
    EXPECT_NEAR(pixel[1], 191, 2);  // premultiplied green

    std::vector<uint8_t> hidden(200 * 100 * 4, 0);
    DrawTextCallback(200, 100, hidden.data(), solidBlockRecord(0xFF000000u, 100));
    EXPECT_EQ(strongestPixel(hidden)[3], 0);
}

TEST(DrawTextCallback, TheBaselineIsCountedFromTheBottomRow) {
    std::vector<uint8_t> buffer(200 * 100 * 4, 0);
    DrawTextCallback(200, 100, buffer.data(), solidBlockRecord(0xFFFFFF00u, 0));
    // Baseline 20 rows above the bottom: ink above row 80 (from the top), none in the top rows
    // the 40-pixel glyphs cannot reach.
    auto rowHasInk = [&](int row) {
        for (int x = 0; x < 200; ++x)
            if (buffer[(static_cast<size_t>(row) * 200 + static_cast<size_t>(x)) * 4 + 3]) return true;
        return false;
    };
    EXPECT_TRUE(rowHasInk(70));
    EXPECT_FALSE(rowHasInk(5));
}

TEST(DrawTextCallback, BadArgumentsLeaveTheBufferAlone) {
    std::vector<uint8_t> buffer(16, 7);
    DrawTextCallback(0, 0, buffer.data(), solidBlockRecord(0xFF000000u, 0));
    DrawTextCallback(2, 2, nullptr, solidBlockRecord(0xFF000000u, 0));
    TextWatermarkRecord empty = solidBlockRecord(0xFF000000u, 0);
    empty.text[0] = 0;
    DrawTextCallback(2, 2, buffer.data(), empty);
    EXPECT_EQ(buffer, std::vector<uint8_t>(16, 7));
}

// Convert jobs: picture and text watermarks in their time windows, burnt subtitles in any encoding.
#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>

namespace kestrel::test {
namespace {

// Draws an opaque red block (BGRA premultiplied 00 00 FF FF) from the record's x to its right
// edge, 40 pixels up from the origin, as the application's text drawing would cover it.
void drawRedBlock(int32_t width, int32_t height, uint8_t* buffer, TextWatermarkRecord record) {
    for (int y_up = record.y; y_up < record.y + 40 && y_up < height; ++y_up) {
        int row = height - 1 - y_up;  // the origin is the bottom-left corner
        for (int x = record.x; x < record.right && x < width; ++x) {
            uint8_t* p = buffer + (size_t(row) * width + x) * 4;
            p[0] = 0x00;
            p[1] = 0x00;
            p[2] = 0xFF;
            p[3] = 0xFF;
        }
    }
}

TEST(EngineConvertOverlay, WatermarksShowOnlyInTheirTimeWindows) {
    TempDir dir;
    makeColourVideo(dir.file("black.mp4"), "black", 2.0, false);
    ASSERT_EQ(runCommand("ffmpeg -hide_banner -loglevel error -y -f lavfi -i color=c=white:s=64x64 -frames:v 1 '" +
                         dir.file("mark.png") + "'"), 0);
    ASSERT_GE(runConvert(dir.file("black.mp4"), dir.file("out.mp4"), [&](void* job) {
        ImageWatermarkRecord picture{};
        std::strcpy(picture.path, dir.file("mark.png").c_str());
        picture.left = 20;
        picture.top = 20;
        picture.right = 100;
        picture.bottom = 100;
        picture.start_us = 0;
        picture.end_us = 1000000;
        apiMediaConvertAddImageWatermask(job, picture);

        apiMediaConvertSetDrawTextCallback(drawRedBlock);
        TextWatermarkRecord text{};
        std::strcpy(text.text, "Kestrel");
        text.x = 200;
        text.y = 20;  // from the bottom
        text.right = 300;
        text.font_size = 30;
        text.colour = 0xFF000000u;
        text.start_us = 1000000;
        text.end_us = 2000000;
        ASSERT_GE(apiMediaConvertAddTextWatermask(job, text), 1);
    }), 1);
    auto early = decodeFrameRGB(dir.file("out.mp4"), 0.5, 0, 0);
    auto late = decodeFrameRGB(dir.file("out.mp4"), 1.5, 0, 0);
    ASSERT_EQ(early.size(), size_t(320 * 240 * 3));
    ASSERT_EQ(late.size(), early.size());
    const Rgb black{0, 0, 0}, white{255, 255, 255}, red{255, 0, 0};
    // Picture at (20..100, 20..100) during the first second only.
    EXPECT_TRUE(near(pixelAt(early, 320, 60, 60), white));
    EXPECT_TRUE(near(pixelAt(late, 320, 60, 60), black));
    EXPECT_TRUE(near(pixelAt(early, 320, 150, 60), black));
    // Text block at x 200..300, 20..60 up from the bottom (rows 180..219) during the second one.
    EXPECT_TRUE(near(pixelAt(late, 320, 250, 200), red));
    EXPECT_TRUE(near(pixelAt(early, 320, 250, 200), black));
    EXPECT_TRUE(near(pixelAt(late, 320, 250, 120), black));
}

TEST(EngineConvertOverlay, WatermarkFollowsCropAndScale) {
    TempDir dir;
    makeColourVideo(dir.file("black.mp4"), "black", 1.0, false);
    ASSERT_EQ(runCommand("ffmpeg -hide_banner -loglevel error -y -f lavfi -i color=c=white:s=16x16 -frames:v 1 '" +
                         dir.file("mark.png") + "'"), 0);
    // Mark at 180..220 x 100..140 of the full frame; crop 160 from the left, then scale x2.
    ASSERT_GE(runConvert(dir.file("black.mp4"), dir.file("out.mp4"), [&](void* job) {
        apiMediaConvertSetCropSize(job, MediaRect{160, 0, 0, 0});
        apiMediaConvertSetVideoFrameSize(job, 320, 480);
        ImageWatermarkRecord picture{};
        std::strcpy(picture.path, dir.file("mark.png").c_str());
        picture.left = 180;
        picture.top = 100;
        picture.right = 220;
        picture.bottom = 140;
        apiMediaConvertAddImageWatermask(job, picture);
    }), 1);
    auto rgb = decodeFrameRGB(dir.file("out.mp4"), 0.2, 0, 0);
    ASSERT_EQ(rgb.size(), size_t(320 * 480 * 3));
    EXPECT_TRUE(near(pixelAt(rgb, 320, 80, 240), {255, 255, 255}));   // (200-160)*2, 120*2
    EXPECT_TRUE(near(pixelAt(rgb, 320, 20, 240), {0, 0, 0}));
    EXPECT_TRUE(near(pixelAt(rgb, 320, 140, 240), {0, 0, 0}));
}

// Draws a flat block of the record's colour, 40 rows up from the origin, premultiplied by the
// opacity its transparency leaves, as the application's text drawing does.
void drawTranslucentBlock(int32_t width, int32_t height, uint8_t* buffer, TextWatermarkRecord record) {
    const int alpha = (255 * (100 - record.transparency) + 50) / 100;
    const int rgb[3] = {int(record.colour >> 24) & 0xFF, int(record.colour >> 16) & 0xFF, int(record.colour >> 8) & 0xFF};
    for (int y_up = record.y; y_up < record.y + 40 && y_up < height; ++y_up) {
        const int row = height - 1 - y_up;
        for (int x = record.x; x < record.right && x < width; ++x) {
            uint8_t* p = buffer + (size_t(row) * width + x) * 4;
            for (int k = 0; k < 3; ++k) p[2 - k] = uint8_t((rgb[k] * alpha + 127) / 255);
            p[3] = uint8_t(alpha);
        }
    }
}

struct TranslucentTextCase {
    const char* name;
    int transparency_pct;
    bool crop_and_scale;   // crop 40/20 px from each side, then scale by 1.5
};

TEST(EngineConvertOverlay, TranslucentTextWatermarkKeepsItsColour) {
    TempDir dir;
    makeColourVideo(dir.file("slate.mp4"), "0x305080", 1.0, false);
    const Rgb text_colour{240, 200, 40};
    const TranslucentTextCase cases[] = {
        {"opaque", 0, false},
        {"half", 50, false},
        {"quarter", 75, false},
        {"half_cropped_scaled", 50, true},
    };
    for (const TranslucentTextCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = dir.file(std::string(c.name) + ".mp4");
        ASSERT_GE(runConvert(dir.file("slate.mp4"), out, [&](void* job) {
            if (c.crop_and_scale) {
                apiMediaConvertSetCropSize(job, MediaRect{40, 20, 40, 20});
                apiMediaConvertSetVideoFrameSize(job, 360, 300);
            }
            apiMediaConvertSetDrawTextCallback(drawTranslucentBlock);
            TextWatermarkRecord text{};
            std::strcpy(text.text, "Kestrel");
            text.x = 100;
            text.y = 60;  // rows 140..179 of the full frame
            text.right = 200;
            text.font_size = 30;
            text.colour = uint32_t(text_colour[0]) << 24 | uint32_t(text_colour[1]) << 16 | uint32_t(text_colour[2]) << 8;
            text.transparency = c.transparency_pct;
            ASSERT_GE(apiMediaConvertAddTextWatermask(job, text), 1);
        }), 1);
        const int width = c.crop_and_scale ? 360 : 320;
        const int height = c.crop_and_scale ? 300 : 240;
        auto rgb = decodeFrameRGB(out, 0.5, 0, 0);
        ASSERT_EQ(rgb.size(), size_t(width * height * 3));
        // The block's middle (150,160) and a point left of it, in output pixels.
        auto place = [&](int x, int y) {
            return c.crop_and_scale ? std::pair{(x - 40) * 3 / 2, (y - 20) * 3 / 2} : std::pair{x, y};
        };
        auto [mx, my] = place(150, 160);
        auto [bx, by] = place(60, 160);
        const Rgb background = pixelAt(rgb, width, bx, by);
        const double opacity = (255 * (100 - c.transparency_pct) + 50) / 100 / 255.0;
        Rgb expected;
        for (int k = 0; k < 3; ++k)
            expected[k] = int(std::lround(text_colour[k] * opacity + background[k] * (1 - opacity)));
        const Rgb shown = pixelAt(rgb, width, mx, my);
        EXPECT_TRUE(near(shown, expected, 6)) << "shown " << shown[0] << "," << shown[1] << "," << shown[2]
                                              << " expected " << expected[0] << "," << expected[1] << "," << expected[2];
        EXPECT_TRUE(near(background, {0x30, 0x50, 0x80}, 6));
    }
}

struct SubtitleCase {
    const char* name;
    std::string bytes;
};

std::string utf16le(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

TEST(EngineConvertOverlay, SubtitlesAreBurntInWhateverTheirEncoding) {
    TempDir dir;
    makeColourVideo(dir.file("black.mp4"), "black", 2.0, false);
    const std::string srt = "1\r\n00:00:01,000 --> 00:00:02,000\r\nHELLO WORLD\r\n\r\n";
    const SubtitleCase cases[] = {
        {"utf8", srt},
        {"utf16", utf16le(srt)},
        {"latin1", "1\n00:00:01,000 --> 00:00:02,000\nCAF\xC9 \xC0 LA CR\xC8ME\n\n"},
    };
    for (const SubtitleCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string sub = dir.file(std::string(c.name) + ".srt");
        std::string out = dir.file(std::string(c.name) + ".mp4");
        writeBytes(sub, c.bytes);
        ASSERT_GE(runConvert(dir.file("black.mp4"), out, [&](void* job) {
            SubtitleRecord record{};
            std::strcpy(record.path, sub.c_str());
            record.position = -1;
            record.font_size = 40;
            record.shadow = 1;
            record.colour = 0xFFFFFF00u;
            record.shadow_colour = record.colour;
            ASSERT_GE(apiMediaConvertSetSubtitle(job, record), 1);
        }), 1);
        auto before = decodeFrameRGB(out, 0.5, 0, 0);
        auto during = decodeFrameRGB(out, 1.5, 0, 0);
        ASSERT_EQ(before.size(), during.size());
        EXPECT_LT(meanAbsDiff(before, std::vector<unsigned char>(before.size(), 0)), 1.0);
        EXPECT_GT(meanAbsDiff(during, before), 1.0);  // text drawn
    }
}

}  // namespace
}  // namespace kestrel::test

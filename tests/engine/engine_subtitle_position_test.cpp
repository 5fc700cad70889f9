// Where a burnt-in caption lands: the Top, Center and Bottom places and a free position move an
// srt caption's top to that row of the exported frame (also after a crop); an ass file keeps its
// own placement.
#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace kestrel::test {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFontSize = 24;

struct BrightRows {
    int first = -1;  // -1: nothing bright in the frame
    int last = -1;
};

// Rows holding a near-white pixel (the caption; the rest of the fixture is black).
BrightRows brightRows(const std::vector<unsigned char>& rgb, int width, int height) {
    BrightRows rows;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = rgb.data() + (size_t(y) * width + x) * 3;
            if (p[0] > 200 && p[1] > 200 && p[2] > 200) {
                if (rows.first < 0) rows.first = y;
                rows.last = y;
                break;
            }
        }
    }
    return rows;
}

class SubtitlePosition : public ::testing::Test {
protected:
    void SetUp() override {
        makeColourVideo(dir_.file("black.mp4"), "black", 1.0, false);
        writeBytes(dir_.file("caption.srt"), "1\n00:00:00,000 --> 00:00:05,000\nHELLO\n\n");
    }

    // Exports the black fixture with the subtitle at `position` and returns the caption's rows
    // in the frame at 0.5 s (of `out_height` rows).
    BrightRows captionRows(const std::string& subtitle, int position, MediaRect crop = {0, 0, 0, 0},
                           int out_height = kHeight) {
        std::string out = dir_.file("out" + std::to_string(++outputs_) + ".mp4");
        EXPECT_GE(runConvert(dir_.file("black.mp4"), out, [&](void* job) {
            if (crop.left || crop.top || crop.right || crop.bottom) {
                EXPECT_GE(apiMediaConvertSetCropSize(job, crop), 1);
            }
            SubtitleRecord record{};
            std::strncpy(record.path, subtitle.c_str(), sizeof record.path - 1);
            record.position = position;
            record.font_size = kFontSize;
            record.shadow = 0;
            record.colour = 0xFFFFFF00u;
            record.shadow_colour = record.colour;
            EXPECT_GE(apiMediaConvertSetSubtitle(job, record), 1);
        }), 1);
        int out_width = kWidth - crop.left - crop.right;
        std::vector<unsigned char> rgb = decodeFrameRGB(out, 0.5, 0, 0);
        EXPECT_EQ(rgb.size(), size_t(out_width) * out_height * 3) << "not a frame of the expected size";
        if (rgb.size() != size_t(out_width) * out_height * 3) return {};
        return brightRows(rgb, out_width, out_height);
    }

    TempDir dir_;
    int outputs_ = 0;
};

TEST_F(SubtitlePosition, PlacesLandInTheirThirdWithTheCaptionTopAtThePosition) {
    // The panel's places for a 240-row video and 24-pixel font: Top 0, Center 120, Bottom 192
    // (height - 2 x font size). -1 leaves the placement to the file: bottom for srt.
    struct Case {
        const char* name;
        int position;
        int third;  // 0 top, 1 middle, 2 bottom
    };
    const Case cases[] = {{"top", 0, 0}, {"center", 120, 1}, {"bottom", 192, 2}, {"file's own", -1, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BrightRows rows = captionRows(dir_.file("caption.srt"), c.position);
        ASSERT_GE(rows.first, 0) << "no caption drawn";
        EXPECT_GE(rows.first, c.third * kHeight / 3);
        EXPECT_LT(rows.last, (c.third + 1) * kHeight / 3);
        // Capitals start a little below the line's top, never above it nor a line lower.
        if (c.position >= 0) {
            EXPECT_GE(rows.first, c.position);
            EXPECT_LT(rows.first, c.position + kFontSize / 2);
        }
    }
}

TEST_F(SubtitlePosition, ThePositionMovesTheCaptionDownStepByStep) {
    int previous = -1;
    for (int position : {10, 50, 90, 130, 170, 210}) {
        SCOPED_TRACE(position);
        BrightRows rows = captionRows(dir_.file("caption.srt"), position);
        ASSERT_GE(rows.first, 0) << "no caption drawn";
        if (previous >= 0) {
            EXPECT_GT(rows.first, previous + 30);  // the steps are 40 rows
        }
        previous = rows.first;
    }
}

TEST_F(SubtitlePosition, AfterACropThePositionStaysOnTheSamePictureRow) {
    // 60 rows cut at the top and 60 at the bottom: picture row 120 is row 60 of the output.
    BrightRows rows = captionRows(dir_.file("caption.srt"), 120, MediaRect{0, 60, 0, 60}, kHeight - 120);
    ASSERT_GE(rows.first, 0) << "no caption drawn";
    EXPECT_GE(rows.first, 60);
    EXPECT_LT(rows.first, 60 + kFontSize / 2);
    // The font keeps its size in picture rows: capitals are a bit over half the font size high.
    EXPECT_GE(rows.last - rows.first, kFontSize / 2);
    EXPECT_LT(rows.last - rows.first, kFontSize);
}

TEST_F(SubtitlePosition, AnAssFileKeepsItsOwnPlacement) {
    // Its style puts the caption at the top (numpad alignment 8); a bottom position is not applied.
    writeBytes(dir_.file("caption.ass"),
               "[Script Info]\nScriptType: v4.00+\nPlayResX: 384\nPlayResY: 288\n\n"
               "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
               "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, "
               "Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
               "Style: Default,Arial,28,&H00FFFFFF,&H00FFFFFF,&H00000000,&H00000000,0,0,0,0,100,100,0,0,1,0,0,"
               "8,10,10,10,1\n\n"
               "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
               "Dialogue: 0,0:00:00.00,0:00:05.00,Default,,0,0,0,,HELLO\n");
    BrightRows rows = captionRows(dir_.file("caption.ass"), 192);
    ASSERT_GE(rows.first, 0) << "no caption drawn";
    EXPECT_LT(rows.last, kHeight / 3);
}

}  // namespace
}  // namespace kestrel::test

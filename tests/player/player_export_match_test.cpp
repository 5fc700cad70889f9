// What the preview shows for a set of picture settings is what a convert job with the same
// settings writes: the preview snapshot and the exported frame at the matching time agree.
#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>

#include "engine/core/effect_chains.h"
#include "engine/mediacore/media_core.h"
#include "tests/player/player_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

using kestrel::player::DIVuverIzizud;
using kestrel::player::DrawTextParam;
using platform::MediaTime;

namespace kestrel::test {
namespace {

// Exported frames go through an extra yuv 4:2:0 round trip that the preview does not make.
constexpr double kSameFrame = 2.5;
// Settings that move or recolour whole quadrants change the picture at least this much.
constexpr double kLargeChange = 12.0;

// Four coloured quadrants (red, green / blue, yellow) with a moving test pattern in the top-left
// one, so orientation, crop and the time shown all change the picture. 320x240, 25 fps, 2 s.
void makeQuadrantClip(const std::string& path, int rotation_deg) {
    const std::string q = ":s=160x120:r=25:d=2";
    const std::string graph = "color=c=red" + q + "[a];color=c=green" + q + "[b];color=c=blue" + q +
                              "[c];color=c=yellow" + q + "[d];testsrc2=s=112x84:r=25:d=2[t];" +
                              "[a][b]hstack[top];[c][d]hstack[bottom];[top][bottom]vstack[q];" +
                              "[q][t]overlay=24:18,format=yuv420p";
    const std::string ffmpeg = "ffmpeg -hide_banner -loglevel error -nostdin -y ";
    const std::string encoded = rotation_deg != 0 ? path + ".plain.mp4" : path;
    std::string out;
    if (runCommand(ffmpeg + "-f lavfi -i '" + graph + "' -c:v libx264 -preset ultrafast -g 12 -keyint_min 12 '" + encoded + "'",
                   &out) != 0)
        throw std::runtime_error("quadrant clip: " + out);
    // ffmpeg writes the rotation tag only when it copies the stream.
    if (rotation_deg != 0 && runCommand(ffmpeg + "-i '" + encoded + "' -c copy -metadata:s:v:0 rotate=" +
                                            std::to_string(rotation_deg) + " '" + path + "'", &out) != 0)
        throw std::runtime_error("quadrant clip rotation tag: " + out);
}

const std::string& quadrantClip() {
    static const std::string path = [] {
        const std::string p = QDir::tempPath().toStdString() + "/player_match_quadrants.mp4";
        makeQuadrantClip(p, 0);
        return p;
    }();
    return path;
}

const std::string& turnedQuadrantClip() {
    static const std::string path = [] {
        const std::string p = QDir::tempPath().toStdString() + "/player_match_quadrants_turned.mp4";
        makeQuadrantClip(p, 90);
        return p;
    }();
    return path;
}

const std::string& watermarkPicture() {
    static const std::string path = [] {
        const std::string p = QDir::tempPath().toStdString() + "/player_match_mark.png";
        makePicture(p, 64, 48, "testsrc");
        return p;
    }();
    return path;
}

// A half-transparent magenta block from the origin to the right edge, 40 pixels high, as the
// application's text drawing would cover it (BGRA premultiplied, origin bottom-left).
void paintTextBlock(int32_t width, int32_t height, uint8_t* pixels, int32_t x0, int32_t y0, int32_t right) {
    for (int y_up = std::max(0, y0); y_up < y0 + 40 && y_up < height; ++y_up) {
        const int row = height - 1 - y_up;
        for (int x = std::max(0, x0); x < right && x < width; ++x) {
            uint8_t* p = pixels + (size_t(row) * width + x) * 4;
            p[0] = 160;
            p[1] = 0;
            p[2] = 160;
            p[3] = 160;
        }
    }
}

void previewTextCallback(int32_t width, int32_t height, uint8_t* pixels, DrawTextParam param) {
    paintTextBlock(width, height, pixels, param.x, param.y, param.right);
}

void exportTextCallback(int32_t width, int32_t height, uint8_t* pixels, TextWatermarkRecord record) {
    paintTextBlock(width, height, pixels, record.x, record.y, record.right);
}

TextWatermarkRecord textMark() {
    TextWatermarkRecord r{};
    std::strcpy(r.text, "Kestrel");
    r.x = 60;
    r.y = 30;
    r.right = 280;
    r.font_size = 30;
    r.colour = 0xFF00FF00u;
    r.start_us = 500000;
    r.end_us = 1500000;
    return r;
}

ImageWatermarkRecord pictureMark() {
    ImageWatermarkRecord r{};
    std::strcpy(r.path, watermarkPicture().c_str());
    r.left = 170;
    r.top = 130;
    r.right = 298;
    r.bottom = 226;
    r.transparency = 25;
    r.start_us = 800000;
    r.end_us = 1600000;
    return r;
}

// Keeps what a crop with these margins keeps of an RGB24 picture.
std::vector<unsigned char> cropRGB(const std::vector<unsigned char>& rgb, int width, int height, MediaRect m,
                                   int* out_w, int* out_h) {
    *out_w = width - m.left - m.right;
    *out_h = height - m.top - m.bottom;
    if (*out_w <= 0 || *out_h <= 0 || rgb.size() != size_t(width) * height * 3) return {};
    std::vector<unsigned char> out;
    out.reserve(size_t(*out_w) * *out_h * 3);
    for (int y = m.top; y < m.top + *out_h; ++y) {
        const unsigned char* row = rgb.data() + (size_t(y) * width + m.left) * 3;
        out.insert(out.end(), row, row + size_t(*out_w) * 3);
    }
    return out;
}

struct MatchCase {
    const char* name;
    const std::string& (*clip)();
    double source_time_s;
    // The same settings, once through the player's calls and once through the convert job's.
    std::function<void(DIVuverIzizud&)> preview;
    std::function<void(void* job)> convert;
    MediaRect crop{};          // the preview shows the whole frame; the crop box marks what is kept
    double speed = 1.0;
    // How far the exported frame must at least be from the unmodified one; 0: not at all.
    double min_change = kLargeChange;
};

int32_t convertWith(const std::string& input, const std::string& output, const MatchCase& c) {
    void* job = apiMediaConvertCreate();
    int32_t rc = apiMediaConvertSetInputMedia(job, input.c_str());
    // An intra, lossless codec: the only loss left is the 4:2:0 conversion.
    if (rc >= 1) rc = apiMediaConvertSetVcodec(job, "ffv1");
    if (rc >= 1 && (c.crop.left || c.crop.top || c.crop.right || c.crop.bottom)) rc = apiMediaConvertSetCropSize(job, c.crop);
    if (rc >= 1 && c.speed != 1.0) rc = apiMediaConvertSetSpeed(job, c.speed);
    if (rc >= 1 && c.convert) c.convert(job);
    if (rc >= 1) rc = apiMediaConvertSetOutputPath(job, output.c_str());
    if (rc >= 1) rc = apiMediaConvertStart(job);
    apiMediaConvertClose(job);
    return rc;
}

void expectPreviewMatchesExport(const MatchCase& c) {
    SCOPED_TRACE(c.name);
    const std::string& source = c.clip();
    auto player = openPlayer(source);
    ASSERT_NE(player, nullptr);
    if (c.preview) c.preview(*player);
    player->seekTime(MediaTime::fromSeconds(c.source_time_s));
    int shown_w = 0, shown_h = 0;
    const std::vector<unsigned char> shown = snapshotRGB(*player, &shown_w, &shown_h);
    ASSERT_FALSE(shown.empty());
    int w = 0, h = 0;
    const std::vector<unsigned char> preview = cropRGB(shown, shown_w, shown_h, c.crop, &w, &h);

    TempDir dir;
    const std::string output = dir.file("export.mkv");
    ASSERT_GE(convertWith(source, output, c), 1);
    const double output_time_s = c.source_time_s / c.speed;
    const std::vector<unsigned char> exported = decodeFrameRGB(output, output_time_s, 0, 0);
    ASSERT_EQ(exported.size(), size_t(w) * h * 3) << "preview " << w << "x" << h;

    const double diff = meanAbsDiff(preview, exported);
    EXPECT_LT(diff, kSameFrame);
    // The comparison can tell: the source as it stands (at the output time, scaled to the
    // output size) is far from both, and so is the frame next to the one exported.
    if (c.min_change > 0) {
        const std::vector<unsigned char> unmodified = decodeFrameRGB(source, output_time_s, w, h);
        EXPECT_GT(meanAbsDiff(unmodified, exported), diff + c.min_change);
    }
    const std::vector<unsigned char> neighbour = decodeFrameRGB(output, output_time_s + 0.12 / c.speed, 0, 0);
    EXPECT_GT(meanAbsDiff(preview, neighbour), diff + 1.0);
}

void addPreviewMark(DIVuverIzizud& p) { EXPECT_GE(p.AddImageWatermask(pictureMark()), 1); }
void addExportMark(void* job) { ASSERT_GE(apiMediaConvertAddImageWatermask(job, pictureMark()), 1); }

TEST(PlayerMatchesExport, PictureSettingsGiveTheSameFrame) {
    apiMediaConvertSetDrawTextCallback(exportTextCallback);
    const MediaRect crop{100, 10, 0, 60};
    const MatchCase cases[] = {
        {"plain", quadrantClip, 1.2, nullptr, nullptr, {}, 1.0, 0.0},
        {"crop", quadrantClip, 0.8, nullptr, nullptr, crop},
        {"rotation 90, mirrored, cropped", quadrantClip, 0.4,
         [](DIVuverIzizud& p) {
             p.SetRotateAngle(90);
             p.SetHFlip(1);
         },
         [](void* job) {
             apiMediaConvertSetRotateAngle(job, 90);
             apiMediaConvertHFlipStatus(job, 1);
         },
         MediaRect{20, 80, 40, 0}},
        {"colour", quadrantClip, 1.0, [](DIVuverIzizud& p) { p.SetBCS(40, 30, -60); },
         [](void* job) { ASSERT_GE(apiMediaConvertAdjustBCS(job, 40, 30, -60), 1); }},
        {"image effect", quadrantClip, 1.6,
         [](DIVuverIzizud& p) { EXPECT_EQ(p.AddImageEffect(engine::kMagicEnhanceEffect), 1); },
         [](void* job) { ASSERT_GE(apiMediaConvertAddImageEffect(job, engine::kMagicEnhanceEffect), 1); }, {}, 1.0,
         1.0},  // a mild sharpening
        {"picture watermark in its time", quadrantClip, 1.2, addPreviewMark, addExportMark},
        {"picture watermark before its time", quadrantClip, 0.4, addPreviewMark, addExportMark, {}, 1.0, 0.0},
        {"picture watermark after its time", quadrantClip, 1.8, addPreviewMark, addExportMark, {}, 1.0, 0.0},
        {"text watermark", quadrantClip, 1.0,
         [](DIVuverIzizud& p) {
             p.SetDrawTextCallback(previewTextCallback);
             EXPECT_GE(p.AddTextWatermask(textMark()), 1);
         },
         [](void* job) { ASSERT_GE(apiMediaConvertAddTextWatermask(job, textMark()), 1); }, {}, 1.0, 5.0},
        // Only the moving pattern tells the source time apart.
        {"speed 2x", quadrantClip, 1.2, [](DIVuverIzizud& p) { p.SetSpeed(2.0); }, nullptr, {}, 2.0, 1.5},
    };
    for (const MatchCase& c : cases) expectPreviewMatchesExport(c);
}

// The player shows a source with a rotation tag upright; the export gets the user's angle plus
// the source's (the convert job applies exactly the angle it is given) and must look the same.
TEST(PlayerMatchesExport, TaggedRotationShowsTheSameOrientation) {
    void* probe = apiMediaConvertCreate();
    ASSERT_GE(apiMediaConvertSetInputMedia(probe, turnedQuadrantClip().c_str()), 1);
    int32_t count = 1;
    MediaVideoInfo info{};
    ASSERT_GE(apiMediaConvertGetVideoStreamInfo(probe, &count, &info), 1);
    apiMediaConvertClose(probe);
    ASSERT_TRUE(info.rotation == 90 || info.rotation == 270) << info.rotation;
    const int source_turn = info.rotation;

    const MatchCase cases[] = {
        {"tag only", turnedQuadrantClip, 0.6, nullptr,
         [source_turn](void* job) { apiMediaConvertSetRotateAngle(job, source_turn); }, {}, 1.0, 0.0},
        {"tag and a user quarter turn", turnedQuadrantClip, 0.6, [](DIVuverIzizud& p) { p.SetRotateAngle(90); },
         [source_turn](void* job) { apiMediaConvertSetRotateAngle(job, source_turn + 90); }},
    };
    for (const MatchCase& c : cases) expectPreviewMatchesExport(c);

    // ffmpeg's own display of the tagged source is the upright picture the preview shows.
    auto player = openPlayer(turnedQuadrantClip());
    ASSERT_NE(player, nullptr);
    player->seekTime(MediaTime::fromSeconds(0.6));
    int w = 0, h = 0;
    const std::vector<unsigned char> shown = snapshotRGB(*player, &w, &h);
    EXPECT_EQ(w, 240);
    EXPECT_EQ(h, 320);
    EXPECT_LT(meanAbsDiff(shown, decodeFrameRGB(turnedQuadrantClip(), 0.6, 0, 0)), kSameFrame);
}

}  // namespace
}  // namespace kestrel::test

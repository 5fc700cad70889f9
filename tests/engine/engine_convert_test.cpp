// Convert jobs: encoding settings, cuts, keep-original, picture geometry and speed.
#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace kestrel::test {
namespace {

TEST(EngineConvert, ReencodesWithSizeFrameRateAndBitrate) {
    TempDir dir;
    makeMedia(dir.file("in.mp4"));
    int32_t rc = runConvert(dir.file("in.mp4"), dir.file("out.mp4"), [](void* job) {
        apiMediaConvertSetVcodec(job, "h264");
        apiMediaConvertSetVideoFrameSize(job, 160, 120);
        apiMediaConvertSetVideoFps(job, 29.97);
        apiMediaConvertSetVideoBitrate(job, 300);
        apiMediaConvertSetAcodec(job, "aac");
        apiMediaConvertSetAudioBitrate(job, 96);
        apiMediaConvertSetAudioEncodeContext(job, 1, 22050);
    });
    ASSERT_GE(rc, 1);
    ProbedMedia out = ffprobe(dir.file("out.mp4"));
    ASSERT_TRUE(out.ok) << out.error;
    const ProbedStream* v = out.firstOf("video");
    const ProbedStream* a = out.firstOf("audio");
    ASSERT_TRUE(v && a);
    EXPECT_EQ(v->codec, "h264");
    EXPECT_EQ(v->width, 160);
    EXPECT_EQ(v->height, 120);
    EXPECT_EQ(v->avg_frame_rate, "30000/1001");
    EXPECT_EQ(a->codec, "aac");
    EXPECT_EQ(a->channels, 1);
    EXPECT_EQ(a->sample_rate, 22050);
    EXPECT_NEAR(out.duration_s, 2.0, 0.1);
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"in.mp4", "out.mp4"}));
}

TEST(EngineConvert, KeepOriginalCopiesPacketsWhenNothingChanges) {
    TempDir dir;
    FixtureSpec spec;
    spec.gop = 25;
    makeMedia(dir.file("in.mp4"), spec);
    ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file("whole.mkv")), 1);
    // A cut that starts on the key frame at 1 s is copied too.
    ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file("cut.mp4"), [](void* job) { apiMediaConvertSetCutTime(job, 1000000, 2000000); }), 1);
    for (const char* name : {"whole.mkv", "cut.mp4"}) {
        double start = std::string(name) == "cut.mp4" ? 1.0 : 0.0;
        ProbedMedia out = ffprobe(dir.file(name), true);
        ASSERT_TRUE(out.ok) << name;
        EXPECT_EQ(out.firstOf("video")->codec, "h264");
        EXPECT_EQ(out.firstOf("audio")->codec, "aac");
        // Copied pictures decode to exactly the source's.
        auto ours = decodeFrameRGB(dir.file(name), 0.5, 0, 0);
        auto source = decodeFrameRGB(dir.file("in.mp4"), start + 0.5, 0, 0);
        ASSERT_FALSE(ours.empty());
        EXPECT_EQ(meanAbsDiff(ours, source), 0.0) << name;
    }
    ProbedMedia cut = ffprobe(dir.file("cut.mp4"), true);
    EXPECT_EQ(cut.firstOf("video")->frames, 25);
}

TEST(EngineConvert, CutBetweenKeyFramesIsFrameAccurateInTheSameCodec) {
    TempDir dir;
    FixtureSpec spec;
    spec.gop = 25;
    makeMedia(dir.file("in.mp4"), spec);
    // 0.52 s .. 1.48 s at 25 fps: frames 13..36, 24 frames.
    ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file("out.mp4"), [](void* job) { apiMediaConvertSetCutTime(job, 520000, 1480000); }), 1);
    ProbedMedia out = ffprobe(dir.file("out.mp4"), true);
    ASSERT_TRUE(out.ok);
    EXPECT_EQ(out.firstOf("video")->codec, "h264");
    EXPECT_NEAR(out.firstOf("video")->frames, 24, 1);
    EXPECT_NEAR(out.firstOf("audio")->duration_s, 0.96, 0.05);
    // The first picture is the source's picture at 0.52 s.
    auto first = decodeFrameRGB(dir.file("out.mp4"), 0, 0, 0);
    auto at = decodeFrameRGB(dir.file("in.mp4"), 0.52, 0, 0);
    auto before = decodeFrameRGB(dir.file("in.mp4"), 0.40, 0, 0);
    EXPECT_LT(meanAbsDiff(first, at), meanAbsDiff(first, before));
    EXPECT_LT(meanAbsDiff(first, at), 6.0);
}

TEST(EngineConvert, WholeFileAndEmptyRanges) {
    TempDir dir;
    makeMedia(dir.file("in.mp4"));
    ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file("whole.mp4"), [](void* job) { apiMediaConvertSetCutTime(job, 0, 0); }), 1);
    EXPECT_NEAR(ffprobe(dir.file("whole.mp4")).duration_s, 2.0, 0.1);
    EXPECT_EQ(runConvert(dir.file("in.mp4"), dir.file("empty.mp4"), [](void* job) { apiMediaConvertSetCutTime(job, 700000, 700000); }), -2);
    EXPECT_EQ(runConvert(dir.file("in.mp4"), dir.file("past.mp4"), [](void* job) { apiMediaConvertSetCutTime(job, 5000000, 6000000); }), -2);
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"in.mp4", "whole.mp4"}));
}

struct GeometryCase {
    const char* name;
    int angle;
    bool hflip, vflip;
    MediaRect crop;
    int out_w, out_h;
    // Expected colours of the output's quadrants: top left, top right, bottom left, bottom right.
    Rgb tl, tr, bl, br;
};

constexpr Rgb kRed{255, 0, 0}, kGreen{0, 128, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255};

TEST(EngineConvert, RotationFlipsAndCropActInOneOrder) {
    TempDir dir;
    makeQuadrantVideo(dir.file("in.mp4"));
    const GeometryCase cases[] = {
        {"none", 0, false, false, {0, 0, 0, 0}, 320, 240, kRed, kGreen, kBlue, kWhite},
        {"turn right", 90, false, false, {0, 0, 0, 0}, 240, 320, kBlue, kRed, kWhite, kGreen},
        {"turn left", 270, false, false, {0, 0, 0, 0}, 240, 320, kGreen, kWhite, kRed, kBlue},
        {"half turn", 180, false, false, {0, 0, 0, 0}, 320, 240, kWhite, kBlue, kGreen, kRed},
        {"angle not reduced", 450, false, false, {0, 0, 0, 0}, 240, 320, kBlue, kRed, kWhite, kGreen},
        {"mirror", 0, true, false, {0, 0, 0, 0}, 320, 240, kGreen, kRed, kWhite, kBlue},
        // Turned first, then mirrored: the mirror acts on what is seen.
        {"turn then mirror", 90, true, false, {0, 0, 0, 0}, 240, 320, kRed, kBlue, kGreen, kWhite},
        {"upside down", 0, false, true, {0, 0, 0, 0}, 320, 240, kBlue, kWhite, kRed, kGreen},
        // Crop in turned pixels: keep the turned picture's top half (blue | red).
        {"turn then crop", 90, false, false, {0, 0, 0, 160}, 240, 160, kBlue, kRed, kBlue, kRed},
    };
    for (const GeometryCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out = dir.file(std::string(c.name) + ".mp4");
        for (char& ch : out) if (ch == ' ') ch = '_';
        ASSERT_GE(runConvert(dir.file("in.mp4"), out, [&](void* job) {
            apiMediaConvertSetRotateAngle(job, c.angle);
            apiMediaConvertHFlipStatus(job, c.hflip);
            apiMediaConvertVFlipStatus(job, c.vflip);
            if (c.crop.left || c.crop.top || c.crop.right || c.crop.bottom) apiMediaConvertSetCropSize(job, c.crop);
        }), 1);
        ProbedMedia probed = ffprobe(out);
        ASSERT_TRUE(probed.ok);
        EXPECT_EQ(probed.firstOf("video")->width, c.out_w);
        EXPECT_EQ(probed.firstOf("video")->height, c.out_h);
        EXPECT_EQ(probed.firstOf("video")->rotation, 0);  // applied, not tagged
        auto rgb = decodeFrameRGB(out, 0.2, 0, 0);
        ASSERT_EQ(rgb.size(), size_t(c.out_w * c.out_h * 3));
        EXPECT_TRUE(near(pixelAt(rgb, c.out_w, c.out_w / 4, c.out_h / 4), c.tl));
        EXPECT_TRUE(near(pixelAt(rgb, c.out_w, 3 * c.out_w / 4, c.out_h / 4), c.tr));
        EXPECT_TRUE(near(pixelAt(rgb, c.out_w, c.out_w / 4, 3 * c.out_h / 4), c.bl));
        EXPECT_TRUE(near(pixelAt(rgb, c.out_w, 3 * c.out_w / 4, 3 * c.out_h / 4), c.br));
    }
}

TEST(EngineConvert, DoubleSpeedHalvesTheDurationOfBothStreams) {
    TempDir dir;
    makeMedia(dir.file("in.mp4"));
    ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file("fast.mp4"), [](void* job) { apiMediaConvertSetSpeed(job, 2.0); }), 1);
    ProbedMedia out = ffprobe(dir.file("fast.mp4"), true);
    ASSERT_TRUE(out.ok);
    EXPECT_NEAR(out.firstOf("video")->duration_s, 1.0, 0.08);
    EXPECT_NEAR(out.firstOf("audio")->duration_s, 1.0, 0.08);
    EXPECT_NEAR(tonePitch(dir.file("fast.mp4")), 440, 20);  // tempo changes, pitch is kept
}

TEST(EngineConvert, OddSizesAndNonSquarePixels) {
    TempDir dir;
    FixtureSpec odd;
    odd.width = 321;
    odd.height = 241;
    odd.pixel_format = "yuv444p";
    odd.audio_streams = 0;
    makeMedia(dir.file("odd.mkv"), odd);
    ASSERT_GE(runConvert(dir.file("odd.mkv"), dir.file("odd.mp4"), [](void* job) { apiMediaConvertSetVcodec(job, "mpeg4"); }), 1);
    ProbedMedia odd_out = ffprobe(dir.file("odd.mp4"));
    const ProbedStream* v = odd_out.firstOf("video");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->width, 320);
    EXPECT_EQ(v->height, 240);

    FixtureSpec wide;
    wide.sar = "4/3";
    makeMedia(dir.file("sar.mp4"), wide);
    ASSERT_GE(runConvert(dir.file("sar.mp4"), dir.file("sar.mkv"), [](void* job) { apiMediaConvertSetVideoBitrate(job, 400); }), 1);
    ProbedMedia sar_out = ffprobe(dir.file("sar.mkv"));
    v = sar_out.firstOf("video");
    ASSERT_TRUE(v);
    ProbedMedia sar_in = ffprobe(dir.file("sar.mp4"));
    ASSERT_NE(sar_in.firstOf("video")->sar, "1:1");
    EXPECT_EQ(v->sar, sar_in.firstOf("video")->sar);
    EXPECT_EQ(v->dar, sar_in.firstOf("video")->dar);
}

}  // namespace
}  // namespace kestrel::test

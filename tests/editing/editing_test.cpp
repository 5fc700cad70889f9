#include "engine/editing/rdve.h"
#include "tests/editing/editing_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using namespace kestrel::test;


TEST(EditingExport, QuadLayoutHasFourColoursAndSound) {
    TempDir dir;
    std::vector<std::string> files = {solidClip(dir, "r", "red"), solidClip(dir, "g", "lime"), solidClip(dir, "b", "blue"),
                                      solidClip(dir, "w", "white")};
    void* video = quadVideo(files);
    std::string out = dir.file("quad.mp4");
    ASSERT_EQ(rdVESetOutPath(video, out.c_str()), 1);
    rdVESetVideoCodec(video, "mp4");
    rdVEEditMediaInit(video);
    ASSERT_EQ(rdVEEditMedia(video), 1);
    EXPECT_DOUBLE_EQ(rdVEEditProgressEx(video), 100.0);
    EXPECT_EQ(rdVEEditStop(video), 1);
    auto probe = ffprobe(out);
    ASSERT_TRUE(probe.ok);
    ASSERT_NE(probe.firstOf("video"), nullptr);
    EXPECT_EQ(probe.firstOf("video")->codec, "h264");
    ASSERT_NE(probe.firstOf("audio"), nullptr);
    EXPECT_NEAR(probe.duration_s, 1.0, 0.15);
    auto rgb = decodeFrameRGB(out, 0.5, 320, 240);
    ASSERT_EQ(rgb.size(), 320u * 240 * 3);
    expectColour(rgb, 320, 80, 60, 255, 0, 0);
    expectColour(rgb, 320, 240, 60, 0, 255, 0);
    expectColour(rgb, 320, 80, 180, 0, 0, 255);
    expectColour(rgb, 320, 240, 180, 255, 255, 255);
    // Never overwritten: a second export to the same name fails and leaves the file.
    rdVEEditMediaInit(video);
    EXPECT_EQ(rdVEEditMedia(video), -8);
    EXPECT_EQ(rdVEVirtualVideoDestory(video), 1);
    EXPECT_LT(rdVEEditStop(video), 0);  // a destroyed handle is refused, not used
}

TEST(EditingExport, StopBeforeRunLeavesNoFile) {
    TempDir dir;
    std::string red = solidClip(dir, "r", "red");
    void* video = quadVideo({red, red, red, red});
    std::string out = dir.file("stopped.mp4");
    rdVESetOutPath(video, out.c_str());
    rdVEEditMediaInit(video);
    EXPECT_EQ(rdVEEditStop(video), 1);
    EXPECT_EQ(rdVEEditMedia(video), -1);
    EXPECT_FALSE(std::filesystem::exists(out));
    for (auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().extension(), ".mp4") << entry.path();
    rdVEVirtualVideoDestory(video);
}

TEST(EditingBadInput, RefusedCleanly) {
    TempDir dir;
    writeBytes(dir.file("junk.mp4"), "not a video at all");
    EXPECT_EQ(rdVESceneCreateMedia(dir.file("junk.mp4").c_str()), nullptr);
    EXPECT_EQ(rdVESceneCreateMedia(dir.file("missing.mp4").c_str()), nullptr);
    EXPECT_EQ(rdVESceneCreateMedia(nullptr), nullptr);
    EXPECT_LT(rdVESetFrameSize(nullptr, 10, 10), 0);
    EXPECT_LT(rdVEEditMedia(nullptr), 0);
    EXPECT_LT(rdVEEditStop(nullptr), 0);
    EXPECT_LT(rdVEEditProgressEx(nullptr), 0);
    EXPECT_LT(rdVEMediaReverseClose(nullptr), 0);
    EXPECT_LT(rdVEMediaSnapshotClose(nullptr), 0);
    EXPECT_EQ(rdVEMediaSnapshotOpen(dir.file("junk.mp4").c_str()), nullptr);
    int64_t duration = 0;
    char audio[528] = {}, video_info[548] = {};
    EXPECT_LT(rdVEGetMediaInfoLite(dir.file("junk.mp4").c_str(), &duration, audio, video_info), 0);
    void* video = rdVEVirtualVideoCreate();
    EXPECT_LT(rdVESetFrameSize(video, 0, 10), 0);
    rdVESetFrameSize(video, 64, 64);
    std::string out = dir.file("empty.mp4");
    rdVESetOutPath(video, out.c_str());
    EXPECT_EQ(rdVEEditMedia(video), -2);  // nothing to render
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(rdVEVirtualVideoDestory(video), 1);
    EXPECT_LT(rdVEVirtualVideoDestory(video), 0);

    std::string input = solidClip(dir, "r", "red");
    void* reverse = rdVEMediaReverseCreate();
    rdVEMediaReverseSetInputFile(reverse, input.c_str());
    rdVEMediaReverseSetOutputPath(reverse, dir.file("r_empty.mp4").c_str());
    rdVEMediaReverseSetCutTime(reverse, 500000, 500000);
    EXPECT_EQ(rdVEMediaReverseEncode(reverse), -2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("r_empty.mp4")));
    EXPECT_EQ(rdVEMediaReverseClose(reverse), 1);
    EXPECT_LT(rdVEMediaReverseClose(reverse), 0);  // closing twice is refused, not a crash
}

TEST(EditingReverse, FramesRunBackwardsAndSoundModes) {
    TempDir dir;
    FixtureSpec spec;
    spec.duration_s = 2.0;
    spec.gop = 10;
    std::string input = dir.file("in.mp4");
    makeMedia(input, spec);
    struct Case { int mode; bool sound; } cases[] = {{0, false}, {1, true}, {2, true}};
    for (const Case& c : cases) {
        std::string out = dir.file("rev" + std::to_string(c.mode) + ".mp4");
        void* reverse = rdVEMediaReverseCreate();
        rdVEMediaReverseSetInputFile(reverse, input.c_str());
        rdVEMediaReverseSetOutputPath(reverse, out.c_str());
        rdVEMediaReverseSetMaxCacheSize(reverse, 1);  // forces the spill to a temporary file
        rdVEMediaReverseSetAudioMode(reverse, c.mode);
        ASSERT_EQ(rdVEMediaReverseEncode(reverse), 1) << c.mode;
        EXPECT_DOUBLE_EQ(rdVEMediaReverseGetProgress(reverse), 100.0);
        EXPECT_EQ(rdVEMediaReverseStop(reverse), 1);
        EXPECT_EQ(rdVEMediaReverseClose(reverse), 1);
        auto probe = ffprobe(out);
        ASSERT_TRUE(probe.ok);
        EXPECT_EQ(probe.countOf("audio"), c.sound ? 1 : 0);
        EXPECT_NEAR(probe.duration_s, 2.0, 0.15);
        if (c.mode != 0) continue;
        for (double t : {0.2, 1.0, 1.6}) {
            auto got = decodeFrameRGB(out, t, 160, 120);
            double best = 1e9;
            // The frame at t shows the source near 2 - t (one frame either way for rounding).
            for (double d : {-0.04, 0.0, 0.04}) best = std::min(best, meanAbsDiff(got, decodeFrameRGB(input, 2.0 - 0.04 - t + d, 160, 120)));
            EXPECT_LT(best, 6.0) << t;
        }
    }
}

TEST(EditingSnapshot, PixelsOfASolidPicture) {
    TempDir dir;
    std::string input = solidClip(dir, "b", "blue");
    void* snapshot = rdVEMediaSnapshotOpen(input.c_str());
    ASSERT_NE(snapshot, nullptr);
    EXPECT_NEAR(rdVEMediaSnapshotGetDuration(snapshot), 1000000, 100000);
    std::vector<uint8_t> buffer(64 * 48 * 4);
    ASSERT_EQ(rdVEMediaSnapshotBGRA(snapshot, 1, 500000, 64, 48, buffer.data()), 1);
    EXPECT_NEAR(buffer[0], 255, 30);  // blue first
    EXPECT_NEAR(buffer[2], 0, 30);
    EXPECT_EQ(buffer[3], 255);
    std::string png = dir.file("s.png");
    EXPECT_EQ(rdVEMediaSnapshot(snapshot, 0, 0, 0, 0, png.c_str()), 1);
    EXPECT_EQ(ffprobe(png).firstOf("video")->width, 160);
    EXPECT_EQ(rdVEMediaSnapshot(snapshot, 0, 0, 0, 0, png.c_str()), -8);  // never overwritten
    EXPECT_EQ(rdVEMediaSnapshotClose(snapshot), 1);
}

// Scene timing and the sound mix of an export, checked with ffprobe and ffmpeg's volumedetect.
#include "engine/editing/rdve.h"
#include "tests/editing/editing_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kestrel::test;

namespace {

constexpr double kFrameS = 1.0 / 30;  // the virtual video's default rate

std::string exportOf(void* video, const std::string& out) {
    EXPECT_EQ(rdVESetOutPath(video, out.c_str()), 1);
    EXPECT_EQ(rdVEEditMediaInit(video), 1);
    EXPECT_EQ(rdVEEditMedia(video), 1);
    return out;
}

void expectColourAt(const std::string& path, double t, int r, int g, int b) {
    auto rgb = decodeFrameRGB(path, t, 160, 120);
    ASSERT_EQ(rgb.size(), 160u * 120 * 3) << t;
    SCOPED_TRACE("at " + std::to_string(t) + " s");
    expectColour(rgb, 160, 80, 60, r, g, b);
}

}  // namespace

TEST(EditingTiming, ScenesFollowEachOther) {
    TempDir dir;
    void* video = rdVEVirtualVideoCreate();
    ASSERT_EQ(rdVESetFrameSize(video, 160, 120), 1);
    struct { const char* colour; int64_t start_us, end_us; } scenes[] = {{"red", 0, 1000000}, {"blue", 1000000, 1500000}};
    for (const auto& s : scenes) {
        void* scene = rdVECreateScene(s.start_us, s.end_us);
        ASSERT_NE(rdVESceneAddMedia(scene, solidClip(dir, s.colour, s.colour).c_str()), nullptr);
        ASSERT_EQ(rdVEAddScene(video, scene), 1);
    }
    EXPECT_EQ(rdVEGetTotalPlaybackTime(video), 1500000);
    std::string out = exportOf(video, dir.file("scenes.mp4"));
    auto probe = ffprobe(out, true);
    ASSERT_TRUE(probe.ok);
    ASSERT_NE(probe.firstOf("video"), nullptr);
    EXPECT_EQ(probe.firstOf("video")->frames, 45);
    EXPECT_NEAR(probe.firstOf("video")->duration_s, 1.5, kFrameS);
    EXPECT_NEAR(probe.duration_s, 1.5, kFrameS);
    expectColourAt(out, 0.5, 255, 0, 0);
    expectColourAt(out, 1.25, 0, 0, 255);
    rdVEVirtualVideoDestory(video);
}

TEST(EditingTiming, MediaTimeLineInsideItsScene) {
    TempDir dir;
    void* video = rdVEVirtualVideoCreate();
    ASSERT_EQ(rdVESetFrameSize(video, 160, 120), 1);
    void* scene = rdVECreateScene(0, 1500000);
    ASSERT_NE(rdVESceneAddMedia(scene, solidClip(dir, "red", "red", 2.0).c_str()), nullptr);
    void* blue = rdVESceneAddMedia(scene, solidClip(dir, "blue", "blue").c_str());
    ASSERT_NE(blue, nullptr);
    ASSERT_EQ(rdVESetMediaTimeLine(blue, 500000, 1000000), 1);  // on top, for the middle third only
    ASSERT_EQ(rdVEAddScene(video, scene), 1);
    std::string out = exportOf(video, dir.file("timeline.mp4"));
    EXPECT_NEAR(ffprobe(out).duration_s, 1.5, kFrameS);
    expectColourAt(out, 0.25, 255, 0, 0);
    expectColourAt(out, 0.75, 0, 0, 255);
    expectColourAt(out, 1.25, 255, 0, 0);
    rdVEVirtualVideoDestory(video);
}

// A media's own 440 Hz tone and a 1 kHz audio track: each track's factor scales its
// amplitude, and together their powers add (the two tones are uncorrelated).
TEST(EditingSound, MediaSoundAndAudioTrackMix) {
    TempDir dir;
    std::string clip = solidClip(dir, "red", "red");
    std::string tone = dir.file("tone.wav");
    ASSERT_EQ(runCommand("ffmpeg -hide_banner -loglevel error -nostdin -f lavfi -i "
                         "sine=frequency=1000:sample_rate=44100:duration=1 '" + tone + "'"),
              0);
    struct Mix { const char* name; float media_factor; double track_factor; };
    auto loudness = [&](const Mix& mix) {
        void* video = rdVEVirtualVideoCreate();
        rdVESetFrameSize(video, 160, 120);
        void* scene = rdVECreateScene(0, 1000000);
        void* media = rdVESceneAddMedia(scene, clip.c_str());
        EXPECT_EQ(rdVESetMediaFactor(media, mix.media_factor), 1);
        rdVEAddScene(video, scene);
        if (mix.track_factor >= 0) {
            void* track = rdVEAddAudioMedia(video, tone.c_str(), 0, 1000000, 0, 1000000, 1.0);
            EXPECT_NE(track, nullptr);
            EXPECT_EQ(rdVESetAudioMediaVolFactor(track, mix.track_factor), 1);
        }
        std::string out = exportOf(video, dir.file(std::string(mix.name) + ".mp4"));
        rdVEVirtualVideoDestory(video);
        double db = meanVolumeDb(out);
        EXPECT_LT(db, 0) << mix.name;
        return db;
    };
    double media_only = loudness({"media", 1.0f, -1});
    double track_only = loudness({"track", 0.0f, 1.0});
    double track_half = loudness({"track_half", 0.0f, 0.5});
    double both = loudness({"both", 1.0f, 1.0});
    double silent = loudness({"silent", 0.0f, 0.0});
    EXPECT_NEAR(track_half, track_only - 20 * std::log10(2.0), 0.5);
    double power_sum = 10 * std::log10(std::pow(10, media_only / 10) + std::pow(10, track_only / 10));
    EXPECT_NEAR(both, power_sum, 0.5);
    EXPECT_LT(silent, media_only - 40);
}

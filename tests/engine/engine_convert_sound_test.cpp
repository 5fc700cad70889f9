// Convert jobs and sound: stream choice, inputs without picture or sound, music and muting.
#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace kestrel::test {
namespace {

TEST(EngineConvertSound, AudioIndexPicksTheStreamAndUnknownIndexFallsBackToDefault) {
    TempDir dir;
    FixtureSpec spec;
    spec.audio_streams = 2;  // 440 Hz at stream 1, 660 Hz at stream 2
    makeMedia(dir.file("in.mkv"), spec);
    ASSERT_GE(runConvert(dir.file("in.mkv"), dir.file("second.mp4"), [](void* job) { apiMediaConvertSetAudioIndex(job, 2); }), 1);
    ASSERT_GE(runConvert(dir.file("in.mkv"), dir.file("unknown.mp4"), [](void* job) { apiMediaConvertSetAudioIndex(job, -1); }), 1);
    ProbedMedia second = ffprobe(dir.file("second.mp4"));
    EXPECT_EQ(second.countOf("audio"), 1);
    EXPECT_NEAR(tonePitch(dir.file("second.mp4")), 660, 20);
    EXPECT_NEAR(tonePitch(dir.file("unknown.mp4")), 440, 20);
}

TEST(EngineConvertSound, AudioOnlyAndSilentInputs) {
    TempDir dir;
    FixtureSpec tone;
    tone.width = 0;
    makeMedia(dir.file("tone.m4a"), tone);
    ASSERT_GE(runConvert(dir.file("tone.m4a"), dir.file("tone.mp3")), 1);
    ProbedMedia mp3 = ffprobe(dir.file("tone.mp3"));
    EXPECT_EQ(mp3.countOf("video"), 0);
    EXPECT_EQ(mp3.firstOf("audio")->codec, "mp3");
    EXPECT_NEAR(mp3.duration_s, 2.0, 0.15);

    FixtureSpec silent;
    silent.audio_streams = 0;
    makeMedia(dir.file("silent.mp4"), silent);
    ASSERT_GE(runConvert(dir.file("silent.mp4"), dir.file("silent.mkv"), [](void* job) { apiMediaConvertSetVcodec(job, "mpeg4"); }), 1);
    ProbedMedia mkv = ffprobe(dir.file("silent.mkv"));
    EXPECT_EQ(mkv.countOf("audio"), 0);
    EXPECT_EQ(mkv.firstOf("video")->codec, "mpeg4");
}

TEST(EngineConvertSound, MusicGivesSoundToASilentVideoAndMutingDropsTheSource) {
    TempDir dir;
    FixtureSpec silent;
    silent.audio_streams = 0;
    makeMedia(dir.file("silent.mp4"), silent);
    FixtureSpec music;
    music.width = 0;
    music.duration_s = 0.5;
    makeMedia(dir.file("music.m4a"), music);
    // Half a second of music repeated over the whole two seconds, faded in.
    ASSERT_GE(runConvert(dir.file("silent.mp4"), dir.file("scored.mp4"), [&](void* job) {
        ASSERT_GE(apiMediaConvertAddDubbingMusic(job, dir.file("music.m4a").c_str(), 0, 500000, 0, 2000000, 200000, 0, 1.0), 1);
    }), 1);
    ProbedMedia scored = ffprobe(dir.file("scored.mp4"));
    ASSERT_EQ(scored.countOf("audio"), 1);
    EXPECT_NEAR(scored.firstOf("audio")->duration_s, 2.0, 0.15);
    EXPECT_NEAR(tonePitch(dir.file("scored.mp4")), 440, 25);

    makeMedia(dir.file("voiced.mp4"));
    ASSERT_GE(runConvert(dir.file("voiced.mp4"), dir.file("muted.mp4"), [](void* job) {
        ASSERT_GE(apiMediaConvertDisableMainAudio(job), 1);
    }), 1);
    ProbedMedia muted = ffprobe(dir.file("muted.mp4"));
    EXPECT_EQ(muted.countOf("audio"), 0);
    EXPECT_EQ(muted.countOf("video"), 1);

    void* job = apiMediaConvertCreate();
    EXPECT_LT(apiMediaConvertAddDubbingMusic(job, dir.file("missing.m4a").c_str(), 0, 0, 0, 1000000, 0, 0, 1.0), 1);
    EXPECT_LT(apiMediaConvertAddDubbingMusic(job, dir.file("music.m4a").c_str(), 0, 0, 1000000, 1000000, 0, 0, 1.0), 1);
    apiMediaConvertClose(job);
}

TEST(EngineConvertSound, PictureAndSoundStayInStep) {
    TempDir dir;
    FixtureSpec spec;
    spec.frame_rate = "30000/1001";
    makeMedia(dir.file("in.mp4"), spec);
    ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file("out.mp4"), [](void* job) {
        apiMediaConvertSetCutTime(job, 300000, 1700000);
        apiMediaConvertSetVcodec(job, "h264");
        apiMediaConvertSetAcodec(job, "aac");
    }), 1);
    ProbedMedia out = ffprobe(dir.file("out.mp4"), true);
    ASSERT_TRUE(out.ok);
    EXPECT_NEAR(out.firstOf("video")->duration_s, 1.4, 0.05);
    EXPECT_NEAR(out.firstOf("audio")->duration_s, 1.4, 0.05);
    EXPECT_EQ(out.firstOf("video")->avg_frame_rate, "30000/1001");
}

}  // namespace
}  // namespace kestrel::test

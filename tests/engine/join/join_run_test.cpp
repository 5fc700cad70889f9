// Joins that succeed: lengths, streams, normalisation, ranges, sound and transitions, checked
// with ffprobe and ffmpeg as independent oracles.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <thread>

#include "tests/engine/join/join_test_media.h"

namespace kestrel::test {
namespace {

constexpr double kFrame = 1.0 / 25;

void expectOneVideoOneAudio(const ProbedMedia& m) {
    ASSERT_TRUE(m.ok) << m.error;
    EXPECT_EQ(m.countOf("video"), 1);
    EXPECT_EQ(m.countOf("audio"), 1);
}

// Clips to join and the length the joined file must have.
struct LengthCase {
    std::vector<ClipRequest> clips;
    double expected_s;
};

// Joins one case into the folder; picture and sound both last the expected length.
ProbedMedia joinAndCheckLength(const LengthCase& k, const std::string& out, const char* video_codec = nullptr) {
    EXPECT_GE(runJoin(k.clips, out, video_codec), 0) << out;
    const ProbedMedia m = ffprobe(out, true);
    expectOneVideoOneAudio(m);
    if (m.countOf("video") == 1 && m.countOf("audio") == 1) {
        EXPECT_NEAR(m.firstOf("video")->duration_s, k.expected_s, kFrame + 0.001) << out;
        EXPECT_NEAR(m.firstOf("audio")->duration_s, k.expected_s, 0.05) << out;
    }
    return m;
}

TEST(JoinRun, LengthsAddUpForTwoAndThreeClips) {
    const JoinClips& c = joinClips();
    TempDir dir;
    const LengthCase cases[] = {
        {{{c.a}, {c.b}}, 2.0},
        {{{c.a}, {c.two_seconds}, {c.b}}, 4.0},
    };
    int n = 0;
    for (const LengthCase& k : cases) {
        const std::string out = dir.file("joined" + std::to_string(n++) + ".mp4");
        const ProbedMedia m = joinAndCheckLength(k, out, "libx264");
        if (const ProbedStream* v = m.firstOf("video")) {
            EXPECT_EQ(v->frames, std::lround(k.expected_s * 25)) << out;
        }
        // The first clip's last picture is there, not a copy of the one before it.
        const auto last = decodeFrameRGB(out, 0.96, 320, 240);
        EXPECT_LT(meanAbsDiff(last, decodeFrameRGB(c.a, 0.96, 320, 240)), 3.0) << out;
        EXPECT_GT(meanAbsDiff(last, decodeFrameRGB(c.a, 0.92, 320, 240)), 3.0) << out;
    }
}

TEST(JoinRun, DifferentSizesAndRatesAreFittedToTheFirstClip) {
    const JoinClips& c = joinClips();
    TempDir dir;
    const std::string out = dir.file("mixed.mp4");
    ASSERT_GE(runJoin({{c.a}, {c.portrait}, {c.other_rates}}, out), 0);
    const ProbedMedia m = ffprobe(out, true);
    expectOneVideoOneAudio(m);
    const ProbedStream* v = m.firstOf("video");
    EXPECT_EQ(v->width, 320);
    EXPECT_EQ(v->height, 240);
    EXPECT_EQ(v->avg_frame_rate, "25/1");
    EXPECT_NEAR(v->frames, 75, 1);
    EXPECT_EQ(m.firstOf("audio")->sample_rate, 44100);
    EXPECT_EQ(m.firstOf("audio")->channels, 2);
    EXPECT_NEAR(m.duration_s, 3.0, 0.05);
    // The white portrait clip sits in the middle with black bars on both sides.
    const auto frame = decodeFrameRGB(out, 1.5, 320, 240);
    ASSERT_EQ(frame.size(), 320u * 240 * 3);
    auto pixel = [&](int x, int y) { return static_cast<int>(frame[(y * 320 + x) * 3 + 1]); };
    EXPECT_LT(pixel(10, 120), 40);
    EXPECT_LT(pixel(310, 120), 40);
    EXPECT_GT(pixel(160, 120), 200);
}

TEST(JoinRun, OutputSettingsAreApplied) {
    const JoinClips& c = joinClips();
    TempDir dir;
    const std::string out = dir.file("settings.mkv");
    void* job = prepareJoin({{c.a}, {c.other_rates}}, out, "mpeg4", "libopus");
    EXPECT_GE(apiMediaJoinSetVideoFrameSize(job, 160, 90), 1);
    EXPECT_GE(apiMediaJoinSetVideoFps(job, 30000.0 / 1001), 1);
    EXPECT_GE(apiMediaJoinSetVideoBitrate(job, 300), 1);
    EXPECT_GE(apiMediaJoinSetAudioBitrate(job, 0), 1);
    EXPECT_GE(apiMediaJoinSetAudioEncodeContext(job, 1, 48000), 1);
    ASSERT_GE(apiMediaJoinStart(job), 0);
    apiMediaJoinClose(job);
    const ProbedMedia m = ffprobe(out);
    expectOneVideoOneAudio(m);
    EXPECT_EQ(m.firstOf("video")->codec, "mpeg4");
    EXPECT_EQ(m.firstOf("video")->width, 160);
    EXPECT_EQ(m.firstOf("video")->height, 90);
    EXPECT_EQ(m.firstOf("video")->r_frame_rate, "30000/1001");
    EXPECT_EQ(m.firstOf("audio")->codec, "opus");
    EXPECT_EQ(m.firstOf("audio")->channels, 1);
    EXPECT_NEAR(m.duration_s, 2.0, 0.08);
}

TEST(JoinRun, ClipRangesAreCut) {
    const JoinClips& c = joinClips();
    TempDir dir;
    const std::string out = dir.file("ranges.mp4");
    // 0.5 s from the middle of the two-second clip, then the whole of b, then a to its end.
    ASSERT_GE(runJoin({{c.two_seconds, 1'000'000, 1'500'000}, {c.b, 0, 0}, {c.a, 600'000, 0}}, out), 0);
    const ProbedMedia m = ffprobe(out);
    expectOneVideoOneAudio(m);
    EXPECT_NEAR(m.firstOf("video")->duration_s, 0.5 + 1.0 + 0.4, kFrame + 0.001);
    // The first frame is the one the source shows at 1.0 s.
    const auto joined = decodeFrameRGB(out, 0.0, 320, 240);
    const auto source = decodeFrameRGB(c.two_seconds, 1.0, 320, 240);
    EXPECT_LT(meanAbsDiff(joined, source), 6.0);
    EXPECT_GT(meanAbsDiff(joined, decodeFrameRGB(c.two_seconds, 0.0, 320, 240)), 6.0);
}

TEST(JoinRun, ClipWithoutSoundGetsSilenceAndKeepsSync) {
    const JoinClips& c = joinClips();
    TempDir dir;
    const std::string out = dir.file("silent.mp4");
    ASSERT_GE(runJoin({{c.silent}, {c.a}}, out), 0);
    const ProbedMedia m = ffprobe(out);
    expectOneVideoOneAudio(m);
    EXPECT_NEAR(m.firstOf("audio")->duration_s, 2.0, 0.05);
    EXPECT_LT(maxVolumeDb(out, 0.05, 0.9), -80);
    EXPECT_GT(maxVolumeDb(out, 1.1, 1.9), -30);
}

TEST(JoinRun, ClipVolumeScalesItsSoundOnly) {
    const JoinClips& c = joinClips();
    TempDir dir;
    const std::string out = dir.file("volume.mp4");
    ASSERT_GE(runJoin({{c.a, 0, 0, 0.0}, {c.b, 0, 0, 0.5}, {c.a}}, out), 0);
    EXPECT_LT(maxVolumeDb(out, 0.05, 0.9), -80);  // volume 0: silent
    const double half = maxVolumeDb(out, 1.1, 1.9);
    const double full = maxVolumeDb(out, 2.1, 2.9);
    EXPECT_GT(full, -30);
    // A fraction is kept, not truncated to 0: half the amplitude is about 6 dB lower.
    EXPECT_NEAR(full - half, 6.0, 1.0);
}

TEST(JoinRun, TransitionShortensTheTotalByTheOverlap) {
    const JoinClips& c = joinClips();
    TempDir dir;
    const LengthCase cases[] = {
        {{{c.a, 0, 0, 1.0, 1, 400'000}, {c.two_seconds}}, 2.6},
        {{{c.a, 0, 0, 1.0, 2, 400'000}, {c.two_seconds}}, 2.6},
        // After a plain join, into a clip without sound. 0.6 s is cut to half the shorter
        // neighbour (0.5 s); the last clip's transition is ignored.
        {{{c.a}, {c.two_seconds, 0, 0, 1.0, 3, 600'000}, {c.silent, 0, 0, 1.0, 3, 500'000}}, 3.5},
    };
    int n = 0;
    for (const LengthCase& k : cases) joinAndCheckLength(k, dir.file("transition" + std::to_string(n++) + ".mp4"));
    // Halfway through, the left slide and the upward slide show different pictures.
    EXPECT_GT(meanAbsDiff(decodeFrameRGB(dir.file("transition0.mp4"), 0.8, 320, 240),
                          decodeFrameRGB(dir.file("transition1.mp4"), 0.8, 320, 240)),
              3.0);
}

TEST(JoinRun, SameParametersAreCopiedUnchanged) {
    const JoinClips& c = joinClips();
    TempDir dir;
    // "copy" asked for, and no codec at all with whole clips: both keep the packets as they are.
    struct Case {
        const char* codec;
        std::string name;
    } cases[] = {{"copy", "copy.mp4"}, {nullptr, "keep.mp4"}};
    for (const Case& k : cases) {
        const std::string out = dir.file(k.name);
        ASSERT_GE(runJoin({{c.a}, {c.b}}, out, k.codec, k.codec), 0);
        const ProbedMedia m = ffprobe(out);
        expectOneVideoOneAudio(m);
        EXPECT_NEAR(m.duration_s, 2.0, 0.05);
        EXPECT_EQ(meanAbsDiff(decodeFrameRGB(out, 0.4, 0, 0), decodeFrameRGB(c.a, 0.4, 0, 0)), 0.0) << k.name;
        EXPECT_EQ(meanAbsDiff(decodeFrameRGB(out, 1.4, 0, 0), decodeFrameRGB(c.b, 0.4, 0, 0)), 0.0) << k.name;
    }
}

TEST(JoinRun, CopyStartsAtTheKeyFrameBeforeARange) {
    const JoinClips& c = joinClips();
    TempDir dir;
    const std::string out = dir.file("copycut.mp4");
    // Key frames every 0.2 s: a range from 0.5 s starts at 0.4 s when packets are copied.
    ASSERT_GE(runJoin({{c.two_seconds, 500'000, 1'000'000}, {c.a}}, out, "copy", "copy"), 0);
    const ProbedMedia m = ffprobe(out);
    expectOneVideoOneAudio(m);
    EXPECT_NEAR(m.firstOf("video")->duration_s, 0.6 + 1.0, kFrame + 0.001);
    EXPECT_EQ(meanAbsDiff(decodeFrameRGB(out, 0.0, 0, 0), decodeFrameRGB(c.two_seconds, 0.4, 0, 0)), 0.0);
}

TEST(JoinRun, CopiedRangeOfBFrameClipDecodesCleanly) {
    const JoinClips& c = joinClips();
    TempDir dir;
    const std::string out = dir.file("bframes.mp4");
    // The range ends inside a group of pictures whose last shown frames refer to later ones.
    ASSERT_GE(runJoin({{c.b_frames, 0, 1'100'000}, {c.b_frames, 400'000, 0}}, out, "copy", "copy"), 0);
    EXPECT_EQ(decodeErrors(out), "");
    const ProbedMedia m = ffprobe(out, true);
    expectOneVideoOneAudio(m);
    // At least what was asked, plus at most the few pictures the kept ones depend on.
    EXPECT_GE(m.firstOf("video")->frames, 27 + 40);
    EXPECT_LE(m.firstOf("video")->frames, 27 + 40 + 4);
}

TEST(JoinRun, CopiedMatroskaKeepsPictureOrder) {
    const JoinClips& c = joinClips();
    TempDir dir;
    const std::string out = dir.file("copied.mkv");
    // Decode times made up wrongly would reorder pictures: ffmpeg reports them while decoding.
    ASSERT_GE(runJoin({{c.b_frames_mkv}, {c.b_frames_mkv}}, out, "copy", "copy"), 0);
    EXPECT_EQ(decodeErrors(out), "");
    const ProbedMedia m = ffprobe(out, true);
    ASSERT_TRUE(m.ok) << m.error;
    EXPECT_EQ(m.firstOf("video")->frames, 100);
}

TEST(JoinRun, TurnedClipIsShownUpright) {
    const JoinClips& c = joinClips();
    TempDir dir;
    // First: the output takes its upright size. Second: it is fitted into the first clip's frame.
    const std::string first = dir.file("turned_first.mp4");
    ASSERT_GE(runJoin({{c.turned}, {c.a}}, first), 0);
    const ProbedMedia m = ffprobe(first);
    ASSERT_TRUE(m.ok) << m.error;
    EXPECT_EQ(m.firstOf("video")->width, 240);
    EXPECT_EQ(m.firstOf("video")->height, 320);
    EXPECT_EQ(m.firstOf("video")->rotation, 0);
    const std::string second = dir.file("turned_second.mp4");
    ASSERT_GE(runJoin({{c.a}, {c.turned}}, second), 0);
    const auto frame = decodeFrameRGB(second, 1.5, 320, 240);
    ASSERT_EQ(frame.size(), 320u * 240 * 3);
    EXPECT_LT(frame[(120 * 320 + 5) * 3], 20);  // bars beside the upright picture
}

TEST(JoinRun, ProgressRisesToOneHundred) {
    const JoinClips& c = joinClips();
    TempDir dir;
    void* job = prepareJoin({{c.a}, {c.two_seconds}}, dir.file("progress.mp4"));
    EXPECT_EQ(apiMediaJoinGetProgress(job), 0.0);
    std::atomic<bool> done{false};
    std::atomic<bool> went_down{false};
    std::thread poller([&] {
        double last = 0;
        while (!done) {
            const double p = apiMediaJoinGetProgress(job);
            if (p < last) went_down = true;
            last = p;
            std::this_thread::yield();
        }
    });
    const int32_t result = apiMediaJoinStart(job);
    done = true;
    poller.join();
    EXPECT_GE(result, 0);
    EXPECT_FALSE(went_down);
    EXPECT_EQ(apiMediaJoinGetProgress(job), 100.0);
    EXPECT_GE(apiMediaJoinClose(job), 1);
}

}  // namespace
}  // namespace kestrel::test

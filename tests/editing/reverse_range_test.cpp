// The reverse encoder's sound modes and cut range, checked on a clip whose first second
// sounds and whose second is silent.
#include "engine/editing/rdve.h"
#include "tests/editing/editing_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>

using namespace kestrel::test;

namespace {

// Mean volume of [from_s, from_s + length_s) of a file's sound.
double windowVolumeDb(const TempDir& dir, const std::string& path, double from_s, double length_s) {
    std::string piece = dir.file("window.wav");
    std::remove(piece.c_str());
    if (runCommand("ffmpeg -v error -nostdin -ss " + std::to_string(from_s) + " -t " + std::to_string(length_s) +
                   " -i '" + path + "' -vn '" + piece + "'") != 0)
        return 1;
    return meanVolumeDb(piece);
}

}  // namespace

TEST(EditingReverse, SoundModesAndCutFollowTheRange) {
    TempDir dir;
    std::string input = dir.file("half_tone.mp4");
    ASSERT_EQ(runCommand("ffmpeg -v error -nostdin -f lavfi -i testsrc2=size=160x120:rate=25:duration=2 -f lavfi -i "
                         "'aevalsrc=if(lt(t\\,1)\\,0.3*sin(2*PI*440*t)\\,0):s=44100:d=2' -c:v libx264 -preset "
                         "ultrafast -g 10 -pix_fmt yuv420p -c:a aac '" + input + "'"),
              0);
    struct Case { int mode; int64_t start_us, end_us; bool loud_first; } cases[] = {
        {2, 0, 0, false},              // reversed: the silent second comes first
        {1, 0, 0, true},               // kept forward
        {2, 500000, 1500000, false},   // 0.5 s of tone then 0.5 s of silence, reversed
        {1, 500000, 1500000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " from " + std::to_string(c.start_us));
        std::string out = dir.file("rev" + std::to_string(c.mode) + "_" + std::to_string(c.start_us) + ".mp4");
        void* reverse = rdVEMediaReverseCreate();
        rdVEMediaReverseSetInputFile(reverse, input.c_str());
        rdVEMediaReverseSetOutputPath(reverse, out.c_str());
        rdVEMediaReverseSetAudioMode(reverse, c.mode);
        rdVEMediaReverseSetCutTime(reverse, c.start_us, c.end_us);
        ASSERT_EQ(rdVEMediaReverseEncode(reverse), 1);
        rdVEMediaReverseClose(reverse);
        double length_s = (c.end_us > 0 ? c.end_us - c.start_us : 2000000) / 1e6;
        EXPECT_NEAR(ffprobe(out).duration_s, length_s, 0.1);
        double first = windowVolumeDb(dir, out, 0.1, length_s / 2 - 0.2);
        double second = windowVolumeDb(dir, out, length_s / 2 + 0.1, length_s / 2 - 0.2);
        EXPECT_LT(first, 0);
        EXPECT_LT(second, 0);
        EXPECT_GT(c.loud_first ? first - second : second - first, 30) << first << " / " << second;
        // The picture runs backwards from the end of the range.
        int64_t end_us = c.end_us > 0 ? c.end_us : 2000000;
        auto got = decodeFrameRGB(out, 0.2, 160, 120);
        double best = 1e9;
        for (double d : {-0.04, 0.0, 0.04})
            best = std::min(best, meanAbsDiff(got, decodeFrameRGB(input, end_us / 1e6 - 0.04 - 0.2 + d, 160, 120)));
        EXPECT_LT(best, 6.0);
    }
}

// A stop, before or during the run, returns "stopped" and leaves nothing in the output folder.
TEST(EditingReverse, StopLeavesNothingBehind) {
    TempDir source_dir, out_dir;
    FixtureSpec spec;
    spec.duration_s = 6.0;
    spec.gop = 25;
    std::string input = source_dir.file("long.mp4");
    makeMedia(input, spec);
    std::string out = out_dir.file("stopped.mp4");

    void* early = rdVEMediaReverseCreate();
    rdVEMediaReverseSetInputFile(early, input.c_str());
    rdVEMediaReverseSetOutputPath(early, out.c_str());
    EXPECT_EQ(rdVEMediaReverseStop(early), 1);
    EXPECT_EQ(rdVEMediaReverseEncode(early), -1);
    rdVEMediaReverseClose(early);

    void* running = rdVEMediaReverseCreate();
    rdVEMediaReverseSetInputFile(running, input.c_str());
    rdVEMediaReverseSetOutputPath(running, out.c_str());
    rdVEMediaReverseSetMaxCacheSize(running, 1);  // the spill file must go too
    std::atomic<int> rc{0};
    std::thread encode([&] { rc = rdVEMediaReverseEncode(running); });
    while (rc == 0 && rdVEMediaReverseGetProgress(running) <= 0) std::this_thread::yield();
    EXPECT_EQ(rdVEMediaReverseStop(running), 1);
    encode.join();
    EXPECT_EQ(rc, -1);
    rdVEMediaReverseClose(running);
    EXPECT_TRUE(std::filesystem::is_empty(out_dir.path()));
}

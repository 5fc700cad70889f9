// The reverse encoder writes what the viewer sees (the file's rotation applied) and honours the
// encoder thread count it is given.
#include "engine/editing/rdve.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace kestrel::test;

namespace {

int reverseFile(const std::string& input, const std::string& output, int threads = 0) {
    void* reverse = rdVEMediaReverseCreate();
    rdVEMediaReverseSetInputFile(reverse, input.c_str());
    rdVEMediaReverseSetOutputPath(reverse, output.c_str());
    rdVEMediaReverseSetAudioMode(reverse, 0);
    if (threads > 0) {
        EXPECT_EQ(rdVEMediaReverseSetEnocdeThreads(reverse, threads), 1);
    }
    int rc = rdVEMediaReverseEncode(reverse);
    rdVEMediaReverseClose(reverse);
    return rc;
}

// A 2 s 320x240 clip without sound whose container says to show it turned by rotation degrees.
std::string turnedClip(const TempDir& dir, const std::string& name, int rotation, const std::string& sar = "") {
    FixtureSpec spec;
    spec.duration_s = 2.0;
    spec.gop = 10;
    spec.audio_streams = 0;
    spec.sar = sar;
    std::string plain = dir.file(name + "_plain.mp4");
    makeMedia(plain, spec);
    if (rotation == 0) return plain;
    // The tag survives only a stream copy, not an encode.
    std::string turned = dir.file(name + ".mp4");
    EXPECT_EQ(runCommand("ffmpeg -v error -nostdin -i '" + plain + "' -c copy -metadata:s:v:0 rotate=" +
                         std::to_string(rotation) + " '" + turned + "'"),
              0);
    EXPECT_NE(ffprobe(turned).firstOf("video")->rotation % 360, 0);
    return turned;
}

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(EditingReverse, RotatedInputComesOutUpright) {
    TempDir dir;
    for (int rotation : {90, 180, 270}) {
        SCOPED_TRACE("rotation " + std::to_string(rotation));
        std::string input = turnedClip(dir, "turned" + std::to_string(rotation), rotation);
        std::string out = dir.file("rev" + std::to_string(rotation) + ".mp4");
        ASSERT_EQ(reverseFile(input, out), 1);

        auto probe = ffprobe(out);
        ASSERT_TRUE(probe.ok);
        const ProbedStream* v = probe.firstOf("video");
        ASSERT_NE(v, nullptr);
        bool quarter = rotation != 180;
        EXPECT_EQ(v->width, quarter ? 240 : 320);
        EXPECT_EQ(v->height, quarter ? 320 : 240);
        EXPECT_EQ(v->rotation, 0);
        // The command line shows the input turned upright; the output must match it backwards.
        int w = quarter ? 120 : 160, h = quarter ? 160 : 120;
        for (double t : {0.3, 1.2}) {
            auto got = decodeFrameRGB(out, t, w, h);
            double best = 1e9;
            for (double d : {-0.04, 0.0, 0.04})
                best = std::min(best, meanAbsDiff(got, decodeFrameRGB(input, 2.0 - 0.04 - t + d, w, h)));
            EXPECT_LT(best, 6.0) << t;
        }
    }
}

TEST(EditingReverse, NonSquarePixelsKeepTheirShape) {
    TempDir dir;
    struct Case { int rotation; const char* sar; } cases[] = {{0, "4:3"}, {90, "3:4"}};
    for (const Case& c : cases) {
        std::string input = turnedClip(dir, "wide" + std::to_string(c.rotation), c.rotation, "4/3");
        std::string out = dir.file("rev" + std::to_string(c.rotation) + ".mp4");
        ASSERT_EQ(reverseFile(input, out), 1);
        auto probe = ffprobe(out);
        ASSERT_NE(probe.firstOf("video"), nullptr);
        EXPECT_EQ(probe.firstOf("video")->sar, c.sar) << c.rotation;
    }
}

TEST(EditingReverse, EncoderThreadCountIsUsed) {
    TempDir dir;
    FixtureSpec spec;
    spec.duration_s = 1.0;
    spec.audio_streams = 0;
    std::string input = dir.file("in.mp4");
    makeMedia(input, spec);
    for (int threads : {1, 3}) {
        std::string out = dir.file("rev" + std::to_string(threads) + ".mp4");
        ASSERT_EQ(reverseFile(input, out, threads), 1);
        // x264 records its settings in the stream.
        std::string written = bytesOf(out);
        EXPECT_NE(written.find(" threads=" + std::to_string(threads) + " "), std::string::npos) << threads;
    }
    void* reverse = rdVEMediaReverseCreate();
    EXPECT_LT(rdVEMediaReverseSetEnocdeThreads(reverse, -1), 0);
    rdVEMediaReverseClose(reverse);
}

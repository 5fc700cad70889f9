// A cut convert at a set output frame rate keeps every frame of the range: the picture count
// and length follow the range, with no frame lost at its end and none added past a cut that
// ends inside a source picture.
#include "engine/mediacore/media_core.h"
#include "engine/mediacore/media_join.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <string>

namespace kestrel::test {
namespace {

struct FrameCountCase {
    std::string source_rate;   // as lavfi takes it
    double source_fps;
    double out_fps;
    int start_frame;           // the range in source frames, so it starts on a picture
    double end_frame;          // -1: the end of the file, sent as the file's length
    const char* what;
};

// 2 s sources with a key frame every 12 pictures.
constexpr int kGop = 12;

// The fps filter gives output picture n the time n / out_fps and shows the newest input
// picture at that time; it stops before the end time rounded to the nearest output tick
// (halves away from zero, its default). The range starts on a source picture, so its first
// output tick is 0 and the count is the range length in output ticks, rounded the same way.
// No range is a whole and a half ticks long: whether such an end rounds up then hangs on the
// microsecond rounding of the cut times, not on the convert.
long expectedFrames(double range_s, double out_fps) { return std::lround(range_s * out_fps); }

TEST(EngineConvertFrameCount, SetFrameRateOnACutKeepsTheLastFrame) {
    const FrameCountCase cases[] = {
        {"25", 25, 25, 0, 25, "25->25 from 0"},
        {"25", 25, 25, 12, 38, "25->25 from a key frame"},
        {"25", 25, 25, 13, 37, "25->25 between key frames"},
        {"25", 25, 25, 13, -1, "25->25 to the end"},
        {"30", 30, 25, 0, 30, "30->25 from 0"},
        {"30", 30, 25, 17, 43, "30->25 between key frames, 21.7 ticks"},
        {"30", 30, 25, 24, -1, "30->25 from a key frame to the end"},
        {"25", 25, 30, 0, 13, "25->30 from 0, 15.6 ticks"},
        {"25", 25, 30, 0, 12.5, "25->30 ending inside a source picture"},
        {"25", 25, 30, 19, 40, "25->30 between key frames"},
        {"25", 25, 30, 36, -1, "25->30 from a key frame to the end"},
        {"30000/1001", 30000.0 / 1001, 30, 0, 30, "29.97->30 from 0"},
        {"30000/1001", 30000.0 / 1001, 30, 14, 45, "29.97->30 between key frames"},
        {"30000/1001", 30000.0 / 1001, 30, 7, -1, "29.97->30 to the end"},
    };
    TempDir dir;
    std::map<std::string, std::string> sources;
    std::map<std::string, long> source_frames;
    int n = 0;
    for (const FrameCountCase& k : cases) {
        SCOPED_TRACE(k.what);
        std::string& source = sources[k.source_rate];
        if (source.empty()) {
            source = dir.file("in" + std::to_string(sources.size()) + ".mp4");
            FixtureSpec spec;
            spec.frame_rate = k.source_rate;
            spec.gop = kGop;
            spec.audio_streams = 0;
            makeMedia(source, spec);
            ProbedMedia in = ffprobe(source, true);
            ASSERT_TRUE(in.ok && in.firstOf("video")) << in.error;
            source_frames[k.source_rate] = in.firstOf("video")->frames;
        }
        const double end_frame = k.end_frame >= 0 ? k.end_frame : source_frames[k.source_rate];
        const int64_t start_us = std::llround(k.start_frame / k.source_fps * 1e6);
        // Rounded up so that the end is never before the picture boundary it means.
        const int64_t end_us = int64_t(std::ceil(end_frame / k.source_fps * 1e6));
        const double range_s = (end_frame - k.start_frame) / k.source_fps;

        const std::string out = dir.file("out" + std::to_string(n++) + ".mp4");
        ASSERT_GE(runConvert(source, out, [&](void* job) {
            apiMediaConvertSetVcodec(job, "h264");
            apiMediaConvertSetVideoFps(job, k.out_fps);
            apiMediaConvertSetCutTime(job, start_us, end_us);
        }), 1);
        ProbedMedia m = ffprobe(out, true);
        ASSERT_TRUE(m.ok) << m.error;
        const ProbedStream* v = m.firstOf("video");
        ASSERT_TRUE(v);
        EXPECT_EQ(v->frames, expectedFrames(range_s, k.out_fps)) << "range " << range_s << " s";
        EXPECT_NEAR(v->duration_s, range_s, 1.0 / k.out_fps + 1e-3);
    }
}

// Removing a part of a clip: the parts before and after it are converted at a set rate, then
// joined by copying their packets. The joined file has every picture of both parts.
TEST(EngineConvertFrameCount, RemovedPartExportKeepsEveryFrameOfBothParts) {
    TempDir dir;
    FixtureSpec spec;
    spec.frame_rate = "30";
    spec.gop = kGop;
    makeMedia(dir.file("in.mp4"), spec);
    ProbedMedia in = ffprobe(dir.file("in.mp4"));
    ASSERT_TRUE(in.ok) << in.error;
    const int64_t length_us = std::llround(in.duration_s * 1e6);
    // 0 .. 0.6 s and 1.4 s .. the end (2 s of pictures) are kept: 0.6 s each.
    const struct { int64_t start_us, end_us; const char* name; } parts[] = {
        {0, 600000, "before.mp4"}, {1400000, length_us, "after.mp4"}};
    void* join = apiMediaJoinCreate();
    ASSERT_TRUE(join);
    const long expected = 2 * expectedFrames(0.6, 25);
    for (const auto& part : parts) {
        ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file(part.name), [&](void* job) {
            apiMediaConvertSetVcodec(job, "h264");
            apiMediaConvertSetAcodec(job, "aac");
            apiMediaConvertSetVideoFps(job, 25);
            apiMediaConvertSetCutTime(job, part.start_us, part.end_us);
        }), 1) << part.name;
        EXPECT_GE(apiMediaJoinAddMediaClip(join, dir.file(part.name).c_str(), 0, 0), 1);
    }
    EXPECT_GE(apiMediaJoinSetOutputPath(join, dir.file("joined.mp4").c_str()), 1);
    EXPECT_GE(apiMediaJoinSetVideoCodec(join, "copy"), 1);
    EXPECT_GE(apiMediaJoinSetAudioCodec(join, "copy"), 1);
    EXPECT_GE(apiMediaJoinStart(join), 1);
    apiMediaJoinClose(join);
    ProbedMedia joined = ffprobe(dir.file("joined.mp4"), true);
    ASSERT_TRUE(joined.ok && joined.firstOf("video")) << joined.error;
    EXPECT_EQ(joined.firstOf("video")->frames, expected);
    EXPECT_NEAR(joined.firstOf("video")->duration_s, expected / 25.0, 1.0 / 25 + 1e-3);
}

}  // namespace
}  // namespace kestrel::test

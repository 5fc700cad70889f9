// The convert engine's answer to "are odd sizes rounded down to even?" agrees with what a
// convert run then writes, for encoders with and without that need.
#include <gtest/gtest.h>

#include <string>

#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

namespace kestrel::test {
namespace {

TEST(EngineEvenSizeRule, TheAnswerIsWhatTheRunWrites) {
    TempDir dir;
    FixtureSpec spec;
    spec.duration_s = 0.4;
    spec.audio_streams = 0;
    spec.pixel_format = "yuv444p";
    spec.video_source = "testsrc";
    const std::string h264 = dir.file("in444.mp4");
    makeMedia(h264, spec);
    spec.video_codec = "ffv1";
    const std::string ffv1 = dir.file("in444.mkv");
    makeMedia(ffv1, spec);

    const struct {
        const char* name;
        const std::string& input;
        const char* vcodec;  // "" keeps the source's
        const char* output;
        int rule;
    } cases[] = {
        {"H.264 kept", h264, "", "h264.mp4", 1},
        {"FFV1 4:4:4 kept", ffv1, "", "ffv1.mkv", 0},
        {"FFV1 to H.264", ffv1, "h264", "ffv1_h264.mkv", 1},
        {"H.264 to MPEG-4", h264, "mpeg4", "mpeg4.avi", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        void* job = apiMediaConvertCreate();
        ASSERT_GE(apiMediaConvertSetInputMedia(job, c.input.c_str()), 1);
        if (*c.vcodec) {
            ASSERT_GE(apiMediaConvertSetVcodec(job, c.vcodec), 1);
        }
        EXPECT_EQ(apiMediaConvertGetEvenSizeRule(job, c.output), c.rule);
        apiMediaConvertClose(job);

        // Margins that leave 201 x 151 of the 320 x 240 picture.
        const std::string out = dir.file(c.output);
        ASSERT_GE(runConvert(c.input, out, [&](void* j) {
            if (*c.vcodec) apiMediaConvertSetVcodec(j, c.vcodec);
            apiMediaConvertSetCropSize(j, MediaRect{40, 30, 79, 59});
        }), 1);
        const ProbedMedia probed = ffprobe(out);
        ASSERT_TRUE(probed.ok) << probed.error;
        EXPECT_EQ(probed.firstOf("video")->width, c.rule ? 200 : 201);
        EXPECT_EQ(probed.firstOf("video")->height, c.rule ? 150 : 151);
    }

    // Without an input, or for a name no container answers to, there is no answer.
    void* job = apiMediaConvertCreate();
    EXPECT_LT(apiMediaConvertGetEvenSizeRule(job, "out.mp4"), 0);
    ASSERT_GE(apiMediaConvertSetInputMedia(job, h264.c_str()), 1);
    EXPECT_LT(apiMediaConvertGetEvenSizeRule(job, "out.nosuchcontainer"), 0);
    EXPECT_LT(apiMediaConvertGetEvenSizeRule(job, nullptr), 0);
    apiMediaConvertClose(job);
    EXPECT_LT(apiMediaConvertGetEvenSizeRule(job, "out.mp4"), 0);
}

}  // namespace
}  // namespace kestrel::test

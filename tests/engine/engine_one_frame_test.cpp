// A video file that holds a single picture is a video one frame long, not a picture without
// a length: its duration is that frame's, and a cut of the whole file gives the picture back.
#include <gtest/gtest.h>

#include <string>

#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"

namespace kt = kestrel::test;

TEST(EngineOneFrame, ItsDurationIsOneFrameAndACutGivesThePictureBack) {
    kt::TempDir dir;
    for (const char* extension : {"mp4", "mkv", "mov"}) {
        SCOPED_TRACE(extension);
        kt::FixtureSpec spec;
        spec.frame_rate = "30";
        spec.audio_streams = 0;
        spec.extra_args = {"-frames:v", "1"};
        const std::string source = dir.file(std::string("one_frame.") + extension);
        kt::makeMedia(source, spec);

        void* job = apiMediaConvertCreate();
        ASSERT_GE(apiMediaConvertSetInputMedia(job, source.c_str()), 1);
        EXPECT_NEAR(apiMediaConvertGetDuration(job) / 1e6, 1.0 / 30, 0.005);
        apiMediaConvertClose(job);

        for (bool encode : {false, true}) {
            SCOPED_TRACE(encode ? "coded again" : "copied");
            const std::string out = dir.file(std::string(encode ? "encoded." : "copied.") + extension);
            ASSERT_GE(kt::runConvert(source, out, [&](void* j) { if (encode) apiMediaConvertSetForceEncode(j, 1); }), 1);
            EXPECT_TRUE(kt::decodesCleanly(out));
            EXPECT_TRUE(kt::showsSourceFrames(kt::mapFrames(out, source), 0, 1));
            EXPECT_TRUE(kt::framesMatch(out, kt::framesOf(source, 0, 1)));
        }
    }
}

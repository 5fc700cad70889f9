// The cutters and the joiner take a video of one frame: it is media, one frame long.
#include "tools/shared/media_input.h"

#include <gtest/gtest.h>

#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

TEST(ToolMediaInput, AOneFrameVideoIsTakenWithTheLengthOfOneFrame) {
    kestrel::test::TempDir dir;
    kestrel::test::FixtureSpec spec;
    spec.frame_rate = "30";
    spec.audio_streams = 0;
    spec.extra_args = {"-frames:v", "1"};
    const std::string path = dir.file("one_frame.mp4");
    kestrel::test::makeMedia(path, spec);

    const auto probed = kestrel::tools::shared::probeMediaFiles({QString::fromStdString(path)}, true);
    ASSERT_EQ(probed.accepted.size(), 1);
    EXPECT_TRUE(probed.refused.isEmpty());
    EXPECT_NEAR(probed.accepted.front()->sourceData.duration, 1.0 / 30, 0.005);
    EXPECT_NEAR(probed.accepted.front()->cutTimeRange_stop / 1e6, 1.0 / 30, 0.005);
}

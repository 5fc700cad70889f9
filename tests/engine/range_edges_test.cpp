// A range cut out by the convert engine and the same range joined by the join engine show the
// same source frames: both take the pictures that start inside the range, also when its edges
// fall between two pictures (the times a person marks by dragging rarely lie on one).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/engine/join/join_test_media.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"

namespace kt = kestrel::test;

namespace {

struct Source {
    const char* name;
    const char* frame_rate;
    const char* extension;
};

struct Range {
    const char* name;
    double start_s, end_s;
};

std::vector<int> sourceFramesShown(const kt::FrameMapping& mapping) {
    std::vector<int> frames;
    for (const kt::MappedFrame& frame : mapping.frames) frames.push_back(frame.source_frame);
    return frames;
}

}  // namespace

TEST(RangeEdges, ACutAndAJoinOfOneRangeShowTheSameFrames) {
    const Source sources[] = {{"25 fps", "25", "mp4"}, {"29.97 fps", "30000/1001", "mp4"}, {"25 fps in Matroska", "25", "mkv"}};
    const Range ranges[] = {
        {"edges on pictures", 1.0, 2.0},
        {"edges half way between pictures", 1.02, 2.02},
        {"edges just after pictures", 1.003, 2.003},
        {"edges just before pictures", 0.995, 1.995},
        {"start a third of a picture in, end two thirds", 0.813, 2.227},
    };
    kt::TempDir dir;
    int n = 0;
    for (const Source& source : sources) {
        kt::FixtureSpec spec;
        spec.duration_s = 3;
        spec.frame_rate = source.frame_rate;
        spec.gop = 12;
        const std::string src = dir.file(std::string("source") + std::to_string(n++) + "." + source.extension);
        kt::makeMedia(src, spec);
        const std::vector<double> times = kt::videoFrameTimes(src);
        for (const Range& range : ranges) {
            SCOPED_TRACE(std::string(source.name) + ", " + range.name);
            const int64_t start_us = std::llround(range.start_s * 1e6), end_us = std::llround(range.end_s * 1e6);
            const std::string cut = dir.file("cut" + std::to_string(n) + "." + source.extension);
            const std::string joined = dir.file("joined" + std::to_string(n++) + "." + source.extension);
            ASSERT_GE(kt::runConvert(src, cut, [&](void* job) { apiMediaConvertSetCutTime(job, start_us, end_us); }), 1);
            ASSERT_GE(kt::runJoin({{src, start_us, end_us}}, joined), 1);
            EXPECT_EQ(kt::decodeErrors(cut), "");
            EXPECT_EQ(kt::decodeErrors(joined), "");

            const kt::FrameMapping cut_frames = kt::mapFrames(cut, src);
            const kt::FrameMapping joined_frames = kt::mapFrames(joined, src);
            EXPECT_EQ(sourceFramesShown(cut_frames), sourceFramesShown(joined_frames))
                << "cut: " << cut_frames.describe() << "\njoined: " << joined_frames.describe();
            const auto [first, end] = kt::framesInRange(times, range.start_s, range.end_s);
            EXPECT_TRUE(kt::showsSourceFrames(cut_frames, first, end));
            EXPECT_TRUE(kt::showsSourceFrames(joined_frames, first, end));
        }
    }
}

// The oracle's frame mapping: which source frame each output frame shows, on both lavfi test
// patterns, naming a lost, doubled or foreign frame; and split pieces that together must hold
// every source frame once.
#include "tests/oracle/oracle_media.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"

#include <gtest/gtest.h>


namespace kestrel::test {
namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

FrameMapping mappingOf(Pattern pattern, const std::string& name) {
    return mapFrames(outputOf(pattern, name), sourceOf(pattern));
}

class FrameMappingOnPattern : public ::testing::TestWithParam<Pattern> {
protected:
    static void SetUpTestSuite() {
        for (const Pattern pattern : {Pattern::testsrc2, Pattern::testsrc})
            outputsOf(pattern, {"cut", "lost-41", "doubled-12", "noise-74"});
    }
    FrameMapping mapping(const std::string& name) const { return mappingOf(GetParam(), name); }
};

TEST_P(FrameMappingOnPattern, FaithfulCutShowsItsRange) {
    const FrameMapping m = mapping("cut");
    EXPECT_EQ(m.source_frames, 75);
    ASSERT_EQ(m.outputFrames(), 25) << m.describe();
    for (int k = 0; k < 25; ++k) EXPECT_EQ(m.frames[size_t(k)].source_frame, 25 + k) << m.describe();
    EXPECT_TRUE(showsSourceFrames(m, 25, 50));
    const std::string runs = "(25 frames) against " + sourceOf(GetParam()) + " (75 frames): source frames 25-49";
    EXPECT_TRUE(contains(m.describe(), runs)) << m.describe();

    const auto off_by_one = showsSourceFrames(m, 24, 49);
    EXPECT_FALSE(off_by_one);
    EXPECT_TRUE(contains(off_by_one.message(), "source frame 24 missing")) << off_by_one.message();
    EXPECT_TRUE(contains(off_by_one.message(), "output frame 24 shows source frame 49, which is not wanted"))
        << off_by_one.message();
}

TEST_P(FrameMappingOnPattern, LostFrameIsNamed) {
    const FrameMapping m = mapping("lost-41");
    ASSERT_EQ(m.outputFrames(), 74);
    EXPECT_EQ(m.frames[40].source_frame, 40);
    EXPECT_EQ(m.frames[41].source_frame, 42);
    const auto result = showsSourceFrames(m, 0, 75);
    EXPECT_FALSE(result);
    EXPECT_TRUE(contains(result.message(), "74 output frames, want 75")) << result.message();
    EXPECT_TRUE(contains(result.message(), "source frame 41 missing")) << result.message();
    EXPECT_TRUE(contains(result.message(), "source frames 0-40, 42-74")) << result.message();
}

TEST_P(FrameMappingOnPattern, DoubledFrameIsNamed) {
    const FrameMapping m = mapping("doubled-12");
    ASSERT_EQ(m.outputFrames(), 76);
    EXPECT_EQ(m.frames[12].source_frame, 12);
    EXPECT_EQ(m.frames[13].source_frame, 12);
    EXPECT_EQ(m.frames[14].source_frame, 13);
    const auto result = showsSourceFrames(m, 0, 75);
    EXPECT_FALSE(result);
    EXPECT_TRUE(contains(result.message(), "source frame 12 appears twice: output frame 12, output frame 13"))
        << result.message();
    // A sequence that wants frame 12 twice is what the output shows.
    std::vector<int> twelve_twice;
    for (int j = 0; j < 75; ++j) {
        twelve_twice.push_back(j);
        if (j == 12) twelve_twice.push_back(j);
    }
    EXPECT_TRUE(showsSourceSequence(m, twelve_twice));
}

TEST_P(FrameMappingOnPattern, FrameOfNoiseMatchesNoSourceFrame) {
    const FrameMapping m = mapping("noise-74");
    ASSERT_EQ(m.outputFrames(), 75);
    EXPECT_EQ(m.frames[73].source_frame, 73);
    EXPECT_EQ(m.frames[74].source_frame, -1);
    EXPECT_LT(m.frames[74].psnr_db, 20);
    const auto result = showsSourceFrames(m, 0, 75);
    EXPECT_FALSE(result);
    EXPECT_TRUE(contains(result.message(), "output frame 74 matches no source frame")) << result.message();
    EXPECT_TRUE(contains(result.message(), "source frame 74 missing")) << result.message();
}

INSTANTIATE_TEST_SUITE_P(Patterns, FrameMappingOnPattern, ::testing::Values(Pattern::testsrc2, Pattern::testsrc),
                         [](const auto& info) { return ::testing::PrintToString(info.param); });

TEST(FrameMapping, DoubledOverlayShowsNoSourceFrame) {
    const FrameMapping m = mappingOf(Pattern::testsrc2, "overlay");
    ASSERT_EQ(m.outputFrames(), 75);
    for (const auto& f : m.frames) EXPECT_EQ(f.source_frame, -1) << m.describe();
    const auto result = showsSourceFrames(m, 0, 75);
    EXPECT_FALSE(result);
    EXPECT_TRUE(contains(result.message(), "output frame 0 matches no source frame (nearest is source frame 0 at "))
        << result.message();
    EXPECT_TRUE(contains(result.message(), "... 75 output frames match no source frame")) << result.message();
    EXPECT_TRUE(contains(result.message(), "source frames none x75")) << result.message();
}

TEST(FrameMapping, ReversedOutputIsOutOfOrderUnlessReversalIsWanted) {
    const FrameMapping m = mappingOf(Pattern::testsrc2, "reversed");
    std::vector<int> last_to_first;
    for (int j = 74; j >= 0; --j) last_to_first.push_back(j);
    EXPECT_TRUE(showsSourceSequence(m, last_to_first));
    const auto forward = showsSourceFrames(m, 0, 75);
    EXPECT_FALSE(forward);
    EXPECT_TRUE(contains(forward.message(), "output frame 0 shows source frame 74, want source frame 0 (out of order)"))
        << forward.message();
    EXPECT_TRUE(contains(forward.message(), "source frames 74, 73, 72")) << forward.message();
}

TEST(FrameMapping, SplitPiecesTogetherHoldEverySourceFrameOnce) {
    const std::vector<std::string> names{"split-0-30", "split-30-55", "split-55-75", "split-29-55", "split-31-55"};
    std::vector<FrameSource> files;
    for (const auto& path : outputsOf(Pattern::testsrc2, names)) files.push_back(path);
    const std::vector<FrameMapping> mapped = mapPieces(files, sourceOf(Pattern::testsrc2));
    ASSERT_EQ(mapped.size(), names.size());
    const FrameMapping &first = mapped[0], &middle = mapped[1], &last = mapped[2];
    const FrameMapping &middle_from_29 = mapped[3], &middle_from_31 = mapped[4];

    EXPECT_TRUE(piecesShowSourceFramesOnce({first, middle, last}, 0, 75));

    const auto overlap = piecesShowSourceFramesOnce({first, middle_from_29, last}, 0, 75);
    EXPECT_FALSE(overlap);
    EXPECT_TRUE(contains(overlap.message(), "source frame 29 appears twice: piece 0 frame 29, piece 1 frame 0"))
        << overlap.message();

    const auto gap = piecesShowSourceFramesOnce({first, middle_from_31, last}, 0, 75);
    EXPECT_FALSE(gap);
    EXPECT_TRUE(contains(gap.message(), "source frame 30 missing")) << gap.message();

    const auto short_of_the_end = piecesShowSourceFramesOnce({first, middle}, 0, 75);
    EXPECT_FALSE(short_of_the_end);
    EXPECT_TRUE(contains(short_of_the_end.message(), "source frames 55, 56, 57")) << short_of_the_end.message();
}

TEST(FrameMapping, FramesOfAStillPictureAreOneAnother) {
    FixtureSpec still;
    still.duration_s = 1;
    still.audio_streams = 0;
    still.video_source = "color=c=teal";
    const std::string source = oracleMediaPath("still.mp4");
    makeMedia(source, still);
    const FrameMapping m = mapFrames(framesOf(source, 5, 15), source);
    ASSERT_EQ(m.outputFrames(), 10);
    EXPECT_TRUE(showsSourceFrames(m, 5, 15));
    EXPECT_TRUE(showsSourceFrames(m, 0, 10));
}

}  // namespace
}  // namespace kestrel::test

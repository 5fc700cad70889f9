// The oracle's frame comparison: a faithful output passes against the source frames it must
// show and against an ffmpeg-made reference; each known fault is rejected on the frame and the
// figure it lies in.
#include "tests/oracle/oracle_media.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace kestrel::test {
namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const std::string& source() { return sourceOf(Pattern::testsrc2); }
const std::string& output(const std::string& name) { return outputOf(Pattern::testsrc2, name); }

class FrameCompare : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        outputsOf(Pattern::testsrc2, {"cut", "small", "brighter", "overlay", "noise-74", "lost-41", "doubled-12"});
    }
};

TEST_F(FrameCompare, FaithfulCutMatchesTheSourceFramesItCameFrom) {
    const FrameComparison by_number = compareFrames(output("cut"), framesOf(source(), 25, 50));
    EXPECT_TRUE(by_number.ok()) << by_number.describe();
    EXPECT_EQ(by_number.output_frames, 25);
    EXPECT_EQ(by_number.reference_frames, 25);
    EXPECT_EQ(by_number.frames.size(), 25u);
    EXPECT_GE(by_number.lowest_psnr.psnr_db, 40) << by_number.describe();
    EXPECT_GE(by_number.lowest_ssim.ssim, 0.99) << by_number.describe();
    EXPECT_TRUE(framesMatch(output("cut"), timeRangeOf(source(), 1.0, 1.0)));

    // One frame off is another picture: testsrc2 moves every frame.
    const FrameComparison shifted = compareFrames(output("cut"), framesOf(source(), 26, 51));
    EXPECT_FALSE(shifted.ok()) << shifted.describe();
    EXPECT_EQ(shifted.firstFrameBelow(), 0) << shifted.describe();
}

TEST_F(FrameCompare, OutputOfAnotherSizeFormatAndTimeBaseIsComparedWhenScalingIsAsked) {
    const FrameComparison unscaled = compareFrames(output("small"), source());
    EXPECT_FALSE(unscaled.ok());
    EXPECT_TRUE(contains(unscaled.error, "frame 0: output is 160x120, reference is 320x240")) << unscaled.describe();
    EXPECT_EQ(unscaled.output_frames, 75);
    EXPECT_EQ(unscaled.reference_frames, 75);

    CompareOptions scaled;
    scaled.scale_reference = true;
    EXPECT_TRUE(framesMatch(output("small"), source(), scaled));
}

TEST_F(FrameCompare, OutputMatchesAReferenceTheCommandLineMadeDoingTheSameWork) {
    const TempDir dir;
    const std::string reference = makeReference(dir, "brighter", {"-i", source(), "-vf", "eq=brightness=0.15", "-an"});
    EXPECT_TRUE(framesMatch(output("brighter"), reference));
    // Against the untouched source every frame is off.
    const FrameComparison plain = compareFrames(output("brighter"), source());
    EXPECT_FALSE(plain.ok());
    EXPECT_EQ(plain.firstFrameBelow(), 0) << plain.describe();
}

TEST_F(FrameCompare, DoubledOverlayFailsOnEveryFrame) {
    const FrameComparison c = compareFrames(output("overlay"), source());
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.output_frames, c.reference_frames);
    ASSERT_EQ(c.frames.size(), 75u);
    for (const auto& f : c.frames) EXPECT_LT(f.psnr_db, 25) << "frame " << f.frame << "\n" << c.describe();
    EXPECT_LT(c.lowest_ssim.ssim, 0.9) << c.describe();
    const std::string lowest = "frame " + std::to_string(c.lowest_psnr.frame) + " of 75: PSNR ";
    EXPECT_TRUE(contains(c.describe(), lowest)) << c.describe();
    EXPECT_TRUE(contains(c.describe(), "(want >= 35.0 dB); 75 frames below, the first is frame 0")) << c.describe();
}

TEST_F(FrameCompare, NoiseInTheLastFrameIsNamed) {
    const FrameComparison c = compareFrames(output("noise-74"), source());
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.lowest_psnr.frame, 74) << c.describe();
    EXPECT_LT(c.lowest_psnr.psnr_db, 15) << c.describe();
    EXPECT_EQ(c.lowest_ssim.frame, 74) << c.describe();
    EXPECT_EQ(c.firstFrameBelow(), 74) << c.describe();
    EXPECT_TRUE(contains(c.describe(), "frame 74 of 75: PSNR ")) << c.describe();
    EXPECT_TRUE(contains(c.describe(), "1 frame below, the first is frame 74")) << c.describe();
}

TEST_F(FrameCompare, LostFrameFailsOnTheCountAndFromTheFrameOn) {
    const FrameComparison c = compareFrames(output("lost-41"), source());
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.output_frames, 74);
    EXPECT_EQ(c.reference_frames, 75);
    EXPECT_EQ(c.firstFrameBelow(), 41) << c.describe();
    EXPECT_TRUE(contains(c.describe(), "has 74 frames, reference " + source() + " has 75")) << c.describe();
}

TEST_F(FrameCompare, DoubledFrameFailsOnTheCountAndFromTheFrameOn) {
    const FrameComparison c = compareFrames(output("doubled-12"), source());
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.output_frames, 76);
    EXPECT_EQ(c.reference_frames, 75);
    EXPECT_EQ(c.firstFrameBelow(), 13) << c.describe();
}

TEST_F(FrameCompare, MissingFileIsAnErrorNotAPass) {
    const FrameComparison c = compareFrames(oracleMediaPath("no-such-file.mp4"), source());
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.output_frames, 0);
    EXPECT_TRUE(contains(c.error, "no-such-file.mp4: No such file or directory")) << c.describe();
}

}  // namespace
}  // namespace kestrel::test

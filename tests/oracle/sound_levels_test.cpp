// The oracle's sound levels: sound and silence found where they are, per 100 ms window, a
// silenced stretch named by its first window, and two tones told apart.
#include "tests/oracle/oracle_media.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"

#include <gtest/gtest.h>

namespace kestrel::test {
namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class SoundLevelWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() { outputsOf(Pattern::testsrc2, {"silenced", "late-sound"}); }
};

TEST_F(SoundLevelWindows, ToneIsSoundFromStartToEnd) {
    const SoundLevels levels = soundLevels(sourceOf(Pattern::testsrc2));
    ASSERT_TRUE(levels.error.empty()) << levels.error;
    EXPECT_NEAR(levels.durationS(), 3.0, 0.05);
    EXPECT_TRUE(soundThroughout(levels, 0, 3));
    EXPECT_TRUE(toneThroughout(levels, 0, 3, 440, 5));
    const auto spans = levels.spansAbove(-40);
    ASSERT_EQ(spans.size(), 1u) << levels.describe();
    EXPECT_DOUBLE_EQ(spans[0].start_s, 0);
    // lavfi's sine is at 1/8 of full scale: RMS -21 dBFS.
    for (const double level : levels.level_dbfs) EXPECT_NEAR(level, -21.1, 0.5) << levels.describe();

    const auto silence = silenceThroughout(levels, 1, 2);
    EXPECT_FALSE(silence);
    EXPECT_TRUE(contains(silence.message(), "window 1.0-1.1 s: level -2")) << silence.message();
    const auto past_end = soundThroughout(levels, 2.5, 3.5);
    EXPECT_FALSE(past_end);
    EXPECT_TRUE(contains(past_end.message(), "lies past the end of the sound")) << past_end.message();
}

TEST_F(SoundLevelWindows, SilencedStretchIsNamedByItsFirstWindow) {
    const SoundLevels levels = soundLevels(outputOf(Pattern::testsrc2, "silenced"));
    ASSERT_TRUE(levels.error.empty()) << levels.error;

    const auto sound = soundThroughout(levels, 0, 3);
    EXPECT_FALSE(sound);
    EXPECT_TRUE(contains(sound.message(), "window 1.0-1.1 s: level ")) << sound.message();
    EXPECT_TRUE(contains(sound.message(), "want sound at or above -40 dBFS from 0.00 to 3.00 s")) << sound.message();

    EXPECT_TRUE(soundThroughout(levels, 0, 1));
    EXPECT_TRUE(silenceThroughout(levels, 1, 2));
    EXPECT_TRUE(soundThroughout(levels, 2, 3));
    const auto spans = levels.spansAbove(-40);
    ASSERT_EQ(spans.size(), 2u) << levels.describe();
    EXPECT_NEAR(spans[0].end_s, 1.0, 1e-9) << levels.describe();
    EXPECT_NEAR(spans[1].start_s, 2.0, 1e-9) << levels.describe();
    EXPECT_TRUE(contains(levels.describe(), "0.0-1.0 s, 2.0-3.0 s")) << levels.describe();
}

TEST_F(SoundLevelWindows, LateStartInTheContainerIsSilenceOnTheTimeLine) {
    const SoundLevels levels = soundLevels(outputOf(Pattern::testsrc2, "late-sound"));
    ASSERT_TRUE(levels.error.empty()) << levels.error;
    EXPECT_TRUE(silenceThroughout(levels, 0, 0.5));
    EXPECT_TRUE(soundThroughout(levels, 0.5, 3.5));
}

TEST_F(SoundLevelWindows, TwoTonesAreToldApart) {
    FixtureSpec two_tones;
    two_tones.width = 0;
    two_tones.duration_s = 1;
    two_tones.audio_streams = 2;  // 440 Hz and 660 Hz
    two_tones.audio_codec = "flac";
    const std::string path = oracleMediaPath("two-tones.mka");
    makeMedia(path, two_tones);
    const SoundLevels first = soundLevels(path, 0);
    EXPECT_TRUE(toneThroughout(first, 0, 1, 440, 5));
    // The stereo file has the mono tone 3 dB lower in each channel (ffmpeg's upmix): the level is
    // that of the channels, not of their sum (-21.1 dBFS).
    for (const double level : first.level_dbfs) EXPECT_NEAR(level, -24.1, 0.5) << first.describe();
    const SoundLevels second = soundLevels(path, 1);
    EXPECT_TRUE(toneThroughout(second, 0, 1, 660, 5));
    const auto wrong = toneThroughout(second, 0, 1, 440);
    EXPECT_FALSE(wrong);
    EXPECT_TRUE(contains(wrong.message(), "window 0.0-0.1 s: strongest frequency 660 Hz")) << wrong.message();
}

TEST_F(SoundLevelWindows, FileWithoutThatStreamIsAnError) {
    const SoundLevels levels = soundLevels(sourceOf(Pattern::testsrc2), 3);
    EXPECT_FALSE(levels.error.empty());
    EXPECT_FALSE(soundThroughout(levels, 0, 1));
    EXPECT_FALSE(silenceThroughout(levels, 0, 1));
}

}  // namespace
}  // namespace kestrel::test

// Music timing: the time rows, the bar and prune rules, and the track each item becomes.
#include <gtest/gtest.h>

#include "session/edit/music_timing.h"

using namespace kestrel::session;

TEST(MusicTimeRows, MillisecondsAreWrittenAndReadBack) {
    EXPECT_EQ(millisecondTexts(3725.5), (QStringList{"01", "02", "05", "500"}));
    EXPECT_EQ(millisecondTexts(0.0015), (QStringList{"00", "00", "00", "001"}));
    EXPECT_EQ(millisecondTexts(360000).first(), "100");
    EXPECT_EQ(millisecondTexts(10.25f).last(), "250");
    EXPECT_DOUBLE_EQ(secondsFromMillisecondTexts("01", "02", "05", "500"), 3725.5);
    EXPECT_EQ(steppedMusicFieldValue(59, 1, false), 59);
    EXPECT_EQ(steppedMusicFieldValue(0, -1, false), 0);
    EXPECT_EQ(steppedMusicFieldValue(999, 1, true), 999);
}

TEST(MusicTiming, NewItemsStartNowAndUseAtMostTheVideosLength) {
    const kestrel::model::MusicInfo longer = newMusicInfo("a.mp3", 90, 60, 10);
    EXPECT_EQ(longer.duration, 60);
    EXPECT_EQ(longer.pruneDuration, 60);
    EXPECT_EQ(longer.positionStart, 10);
    EXPECT_EQ(longer.positionEnd, 60);
    EXPECT_EQ(longer.volume, 0.5f);
    EXPECT_TRUE(longer.isCheck);
    const kestrel::model::MusicInfo shorter = newMusicInfo("b.mp3", 8, 28.855, 2);
    EXPECT_EQ(shorter.pruneDuration, 8);
    EXPECT_FLOAT_EQ(shorter.positionEnd - shorter.positionStart, 8) << "the span is the music's own length";
}

TEST(MusicTiming, BarAndLengthRowsKeepTheUsedPartInsideTheSpan) {
    kestrel::model::MusicInfo info = newMusicInfo("a.mp3", 60, 40, 0);
    info.pruneDuration = 25;
    changeRangeValue(info, 0.25, 0.75, 40);
    EXPECT_EQ(info.positionStart, 10);
    EXPECT_EQ(info.positionEnd, 30);
    EXPECT_EQ(info.pruneDuration, 20);
    info.pruneDuration = 20;
    changeRangeValue(info, 0.25, 0.75, 40);
    EXPECT_EQ(info.pruneDuration, 20);

    setPositionLength(info, 100, 40);  // a length past the video's end stops at the end
    EXPECT_EQ(info.positionEnd, 40);
    setPositionLength(info, 5, 40);
    EXPECT_EQ(info.positionEnd, 15);
    EXPECT_EQ(info.pruneDuration, 5);
    setPruneLength(info, 50);
    EXPECT_EQ(info.pruneDuration, 5);
}

TEST(MusicTiming, SettingThePruneStartAndEndAtThePreviewPosition) {
    kestrel::model::MusicInfo info = newMusicInfo("a.mp3", 60, 100, 0);
    info.pruneStart = 10;
    info.pruneDuration = 10;
    setPruneEndAt(info, 5, 100);  // before the start: the used part starts at 0
    EXPECT_EQ(info.pruneStart, 0);
    EXPECT_EQ(info.pruneDuration, 5);
    setPruneStartAt(info, 30, 60);  // after the end: the used part runs to the end of the file
    EXPECT_EQ(info.pruneStart, 30);
    EXPECT_EQ(info.pruneDuration, 30);

    kestrel::model::MusicInfo tight = newMusicInfo("a.mp3", 60, 40, 30);  // span 30..40
    tight.pruneStart = 0;
    setPruneEndAt(tight, 20, 40);  // 20 s used: the span is shifted to end at the video's end
    EXPECT_EQ(tight.positionStart, 20);
    EXPECT_EQ(tight.positionEnd, 40);
}

TEST(MusicTiming, TracksOfThePreviewMixAndTheExport) {
    kestrel::model::MusicInfo info;
    info.duration = 60;
    info.positionStart = 5;
    info.positionEnd = 50;
    info.pruneDuration = 30;
    info.volume = 0;
    info.fadeIn = true;
    struct Case {
        bool prune, repeat;
        double sourceStart, sourceEnd, timelineEnd;
    };
    const Case cases[] = {
        {false, false, 0, 45, 35},
        {false, true, 0, 45, 50},
        {true, false, 12, 42, 35},
        {true, true, 12, 42, 50},
    };
    for (const Case& c : cases) {
        info.prune = c.prune;
        info.repeat = c.repeat;
        info.pruneStart = 12;
        const DubbingTrack t = dubbingTrackOf(info);
        EXPECT_EQ(t.sourceStart, c.sourceStart);
        EXPECT_EQ(t.sourceEnd, c.sourceEnd);
        EXPECT_EQ(t.timelineStart, 5);
        EXPECT_EQ(t.timelineEnd, c.timelineEnd);
        EXPECT_EQ(t.fadeIn, 1.0);
        EXPECT_EQ(t.fadeOut, 0.0);
        EXPECT_EQ(t.volume, 0.0);
    }
}

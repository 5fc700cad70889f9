// Music timing: the time rows, the bar and prune rules, and the tracks each item becomes in an output.
#include <gtest/gtest.h>

#include "session/edit/music_time_line.h"
#include "session/edit/music_timing.h"

#include <vector>

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

// One item placed at 5..50 s of the video (its own time line), a 30 s used part starting 12 s
// into a 60 s file, in outputs of the whole file, of a trim, at double speed and of the part
// after a removed range.
TEST(MusicTimeLine, TracksInEachOutput) {
    kestrel::model::MusicInfo info;
    info.duration = 60;
    info.positionStart = 5;
    info.positionEnd = 50;
    info.pruneStart = 12;
    info.pruneDuration = 30;
    info.volume = 0.25f;
    info.fadeIn = true;
    struct Track {
        double sourceStart, sourceEnd, timelineStart, timelineEnd;
        bool fadeIn;
    };
    struct Case {
        const char* name;
        bool prune, repeat;
        OutputSpan span;
        std::vector<Track> tracks;
    };
    const Case cases[] = {
        {"whole file, once", false, false, {0, 100, 1}, {{0, 30, 5, 35, true}}},
        {"whole file, repeated", false, true, {0, 100, 1}, {{0, 60, 5, 50, true}}},
        {"whole file, pruned", true, false, {0, 100, 1}, {{12, 42, 5, 35, true}}},
        {"whole file, pruned and repeated", true, true, {0, 100, 1}, {{12, 42, 5, 50, true}}},
        // The trim starts 15 s into the item: the music is 15 s in there, as the preview has it.
        {"trim 20..40, pruned", true, false, {20, 40, 1}, {{27, 42, 0, 15, false}}},
        {"trim 20..40, pruned and repeated", true, true, {20, 40, 1}, {{27, 42, 0, 15, false}, {12, 42, 15, 20, false}}},
        {"trim 2..10", true, false, {2, 10, 1}, {{12, 17, 3, 8, true}}},
        // Twice as fast: the video's 5..50 s last 2.5..25 s; the music keeps its own pace.
        {"double speed", true, false, {0, 100, 2}, {{12, 34.5, 2.5, 25, true}}},
        {"part after a removed range", true, false, {60, 100, 1}, {}},
        {"part before a removed range", true, false, {0, 20, 1}, {{12, 27, 5, 20, true}}},
    };
    for (const Case& c : cases) {
        info.prune = c.prune;
        info.repeat = c.repeat;
        const QList<DubbingTrack> tracks = dubbingTracksInOutput(info, c.span);
        ASSERT_EQ(size_t(tracks.size()), c.tracks.size()) << c.name;
        for (size_t i = 0; i < c.tracks.size(); ++i) {
            const DubbingTrack& t = tracks[qsizetype(i)];
            const Track& want = c.tracks[i];
            EXPECT_DOUBLE_EQ(t.sourceStart, want.sourceStart) << c.name << ", track " << i;
            EXPECT_DOUBLE_EQ(t.sourceEnd, want.sourceEnd) << c.name << ", track " << i;
            EXPECT_DOUBLE_EQ(t.timelineStart, want.timelineStart) << c.name << ", track " << i;
            EXPECT_DOUBLE_EQ(t.timelineEnd, want.timelineEnd) << c.name << ", track " << i;
            EXPECT_EQ(t.fadeIn, want.fadeIn ? 1.0 : 0.0) << c.name << ", track " << i;
            EXPECT_EQ(t.fadeOut, 0.0) << c.name;
            EXPECT_FLOAT_EQ(float(t.volume), 0.25f) << c.name;
        }
    }
}

#pragma once
// The timing rules of one background-music item as the music panel edits it (where it becomes
// tracks of the preview mix and of an export: music_time_line.h). All times are seconds.
//
// The panel's second time rows are lengths: the position row below the start shows how long the
// music plays on the video's time line (positionEnd - positionStart), the prune row below the
// prune start shows the used part's length (pruneDuration). They are filled and read back that way
// everywhere (typed, stepped and dragged), as their "Length" title says.
#include <QStringList>

#include "model/music_info.h"

namespace kestrel::session {

// "%02i" hours, minutes, seconds and "%03i" milliseconds.
QStringList millisecondTexts(double seconds);
double secondsFromMillisecondTexts(const QString& hours, const QString& minutes, const QString& seconds,
                                   const QString& milliseconds);
// A stepped field: 0..999 for milliseconds, else 0..59.
int steppedMusicFieldValue(int value, int delta, bool isMillisecondField);

// A new item for a music file of that length, added at `now` of a video of that length: it
// spans the music's own length on the video, cut at the video's end.
kestrel::model::MusicInfo newMusicInfo(const QString& path, double musicDuration, double videoDuration, double now);

// The used part never lasts longer than the span it plays in.
void applySpanRule(kestrel::model::MusicInfo& info);
// The position bar moved to lower..upper (fractions of the video's length).
void changeRangeValue(kestrel::model::MusicInfo& info, double lower, double upper, double videoDuration);
// The two length rows read back.
void setPositionLength(kestrel::model::MusicInfo& info, double length, double videoDuration);
void setPruneLength(kestrel::model::MusicInfo& info, double length);
// Set the used part's start or end at the music preview's position t.
void setPruneStartAt(kestrel::model::MusicInfo& info, double t, double musicDuration);
void setPruneEndAt(kestrel::model::MusicInfo& info, double t, double videoDuration);

// One track of the preview mix or of an export: a part of the music file and where it plays.
struct DubbingTrack {
    double sourceStart = 0, sourceEnd = 0;      // used part of the music file
    double timelineStart = 0, timelineEnd = 0;  // where it plays on the output's time line
    double fadeIn = 0, fadeOut = 0;
    double volume = 0;
};

}  // namespace kestrel::session

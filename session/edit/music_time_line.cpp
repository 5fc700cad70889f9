#include "session/edit/music_time_line.h"

#include <algorithm>
#include <cmath>

namespace kestrel::session {
namespace {

// Less than this is rounding of the time fields, not music.
constexpr double kLeastSeconds = 0.001;

}  // namespace

double OutputSpan::lengthSeconds() const { return std::max(0.0, (toSeconds - fromSeconds) / (speed > 0 ? speed : 1.0)); }

double OutputSpan::outputTime(double sourceSeconds) const {
    return (sourceSeconds - fromSeconds) / (speed > 0 ? speed : 1.0);
}

QList<DubbingTrack> dubbingTracksInOutput(const kestrel::model::MusicInfo& info, const OutputSpan& span) {
    QList<DubbingTrack> tracks;
    // The part of the music file the item uses, in music seconds: the pruned part, or the file
    // from its start. Without repeat it sounds once, for the used part's length (pruneDuration,
    // which the panel keeps within the span, pruned or not).
    const double usedStart = info.prune ? info.pruneStart : 0.0;
    const double usedLength = info.prune ? info.pruneDuration : info.duration;
    const double playedLength = info.repeat ? usedLength : std::min<double>(info.pruneDuration, usedLength);
    if (usedLength < kLeastSeconds || playedLength < kLeastSeconds) return tracks;

    // Where the item sounds in the output, before the output's own ends cut it.
    const double itemStart = span.outputTime(info.positionStart);
    const double itemEnd = span.outputTime(info.positionEnd);
    const double soundEnd = info.repeat ? itemEnd : std::min(itemEnd, itemStart + playedLength);
    const double length = span.lengthSeconds();
    const double from = std::max(itemStart, 0.0);
    const double to = std::min(soundEnd, length);
    if (to - from < kLeastSeconds) return tracks;

    // How far into the item the output begins, as a place in the used part.
    double into = from - itemStart;
    if (info.repeat) into = std::fmod(into, usedLength);
    if (usedLength - into < kLeastSeconds) into = 0;

    DubbingTrack first;
    first.sourceStart = usedStart + into;
    first.timelineStart = from;
    first.volume = info.volume;
    if (!info.repeat || into == 0) {
        // One track: the engine repeats the used part for as long as the place lasts.
        first.sourceEnd = info.repeat ? usedStart + usedLength : usedStart + into + (to - from);
        first.timelineEnd = to;
        tracks.append(first);
    } else {
        // The rest of the part the output begins in, then the whole part repeating.
        first.sourceEnd = usedStart + usedLength;
        first.timelineEnd = std::min(to, from + (usedLength - into));
        tracks.append(first);
        if (to - first.timelineEnd >= kLeastSeconds) {
            DubbingTrack rest;
            rest.sourceStart = usedStart;
            rest.sourceEnd = usedStart + usedLength;
            rest.timelineStart = first.timelineEnd;
            rest.timelineEnd = to;
            rest.volume = info.volume;
            tracks.append(rest);
        }
    }
    if (info.fadeIn && itemStart >= -kLeastSeconds) tracks.first().fadeIn = 1.0;
    if (info.fadeOut && soundEnd <= length + kLeastSeconds) tracks.last().fadeOut = 1.0;
    return tracks;
}

}  // namespace kestrel::session

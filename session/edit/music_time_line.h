#pragma once
// Where a music item sounds in an output. The music panel places an item on the video's own
// (source) time line, as its bar and the playhead show it; an output shows one source range at
// one speed, and the engines take music on that output's time line. This is the one conversion
// between the two, used by the preview (the whole file at the chosen speed) and by every convert
// of an export (the trim range, or each part kept around a removed range), so each kept moment
// of the video carries the music the preview plays with it. The music itself plays at its own
// pace whatever the speed.
#include <QList>

#include "model/music_info.h"
#include "session/edit/music_timing.h"

namespace kestrel::session {

// A source range [fromSeconds, toSeconds) of the video shown at speed in an output.
struct OutputSpan {
    double fromSeconds = 0;
    double toSeconds = 0;
    double speed = 1.0;

    double lengthSeconds() const;
    // The output time of a source time.
    double outputTime(double sourceSeconds) const;
};

// The tracks (music file part, output place) one item sounds as in that output, in order;
// empty when none of it falls inside. A repeating item that starts before the span takes two
// tracks: the rest of the part it is in, then the part repeating. A fade belongs to the item's own
// start or end and is kept only where that end falls inside the output.
QList<DubbingTrack> dubbingTracksInOutput(const kestrel::model::MusicInfo& info, const OutputSpan& span);

}  // namespace kestrel::session

#pragma once
// The checked music items as tracks of the preview player's mix and of a transcoding job.
#include <QList>

#include "model/music_info.h"
#include "session/edit/music_time_line.h"

namespace kestrel::player {
class DIVuverIzizud;
}

namespace kestrel::session {

// Rebuilds the player's music mix from the checked items, placed on the preview's time line (the
// whole file at speed). A playing preview is paused while the mix changes and then plays on, with
// the video's own sound silenced when removeOriginal is set. Returns how many tracks the player took.
int addDubbingWithPlayer(kestrel::player::DIVuverIzizud* player, const QList<kestrel::model::MusicInfo>& musicList,
                         bool removeOriginal, double speed = 1.0);

// The export's music step for a convert of span: the tracks of each checked item in list order
// (music_time_line.h), then the video's own sound dropped when removeOriginal is set. 1 when
// nothing was to be done; otherwise the last engine result, and a result below 1 (a track or the
// drop refused) ends the step at once.
int addDubbingMusic(void* job, const QList<kestrel::model::MusicInfo>& musicList, bool removeOriginal,
                    const OutputSpan& span);

}  // namespace kestrel::session

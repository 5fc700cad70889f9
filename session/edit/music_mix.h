#pragma once
// The checked music items as tracks of the preview player's mix and of a transcoding job.
#include <QList>

#include "model/music_info.h"

namespace kestrel::player {
class DIVuverIzizud;
}

namespace kestrel::session {

// Rebuilds the player's music mix from the checked items. A playing preview is paused while the
// mix changes and then plays on, with the video's own sound silenced when removeOriginal is set.
// Returns how many tracks the player took.
int addDubbingWithPlayer(kestrel::player::DIVuverIzizud* player, const QList<kestrel::model::MusicInfo>& musicList,
                         bool removeOriginal);

// The export's music step: one track per checked item, in list order, then the video's own sound
// dropped when removeOriginal is set. 1 when nothing was to be done; otherwise the last engine
// result, and a result below 1 (a track or the drop refused) ends the step at once.
int addDubbingMusic(void* job, const QList<kestrel::model::MusicInfo>& musicList, bool removeOriginal);

}  // namespace kestrel::session

#include "session/edit/music_mix.h"

#include "engine/mediacore/media_core.h"
#include "engine/player/DIVuverIzizud.h"
#include "session/edit/music_timing.h"
#include "session/edit/watermark_records.h"

namespace kestrel::session {

namespace {

platform::MediaTime mediaTime(double seconds) {
    return seconds == 0 ? platform::MediaTime::zero() : platform::MediaTime::fromSeconds(seconds, 1000000000);
}

}  // namespace

int addDubbingWithPlayer(kestrel::player::DIVuverIzizud* player, const QList<kestrel::model::MusicInfo>& musicList,
                         bool removeOriginal, double speed) {
    if (!player) return 0;
    const bool wasPlaying = player->playerStatus() == 1;
    if (wasPlaying) player->pause();
    player->ClearDubbingMusic();
    // The preview plays the whole file, on the source's time line, at the chosen speed.
    const OutputSpan whole{0.0, player->duration().seconds(), speed > 0 ? speed : 1.0};
    int added = 0;
    for (const kestrel::model::MusicInfo& info : musicList) {
        if (!info.isCheck) continue;
        for (const DubbingTrack& t : dubbingTracksInOutput(info, whole)) {
            const int32_t result = player->AddDubbingMusic(info.path.toUtf8().constData(), mediaTime(t.sourceStart),
                                                           mediaTime(t.sourceEnd), mediaTime(t.timelineStart),
                                                           mediaTime(t.timelineEnd), mediaTime(t.fadeIn),
                                                           mediaTime(t.fadeOut), t.volume);
            if (result >= 1) ++added;
        }
    }
    if (wasPlaying) {
        player->DisableMainAudio(removeOriginal);
        player->play();
    }
    return added;
}

int addDubbingMusic(void* job, const QList<kestrel::model::MusicInfo>& musicList, bool removeOriginal,
                    const OutputSpan& span) {
    int result = 1;
    for (const kestrel::model::MusicInfo& info : musicList) {
        if (!info.isCheck) continue;
        for (const DubbingTrack& t : dubbingTracksInOutput(info, span)) {
            result = apiMediaConvertAddDubbingMusic(
                job, info.path.toUtf8().constData(), microsecondsFromSeconds(t.sourceStart),
                microsecondsFromSeconds(t.sourceEnd), microsecondsFromSeconds(t.timelineStart),
                microsecondsFromSeconds(t.timelineEnd), microsecondsFromSeconds(t.fadeIn),
                microsecondsFromSeconds(t.fadeOut), t.volume);
            if (result < 1) break;
        }
        if (result < 1) break;
    }
    if (removeOriginal) {
        const int32_t dropped = apiMediaConvertDisableMainAudio(job);
        if (result >= 1) result = dropped;
    }
    return result;
}

}  // namespace kestrel::session

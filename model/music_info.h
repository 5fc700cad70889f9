#pragma once
// One background-music item. Times are seconds; the creating window sets the volume.
#include <QString>

namespace kestrel::model {

struct MusicInfo {
    QString path;
    float musicDuration = 0;  // s, length of the music file
    float duration = 0;       // s, length of the music used in the video
    float pruneStart = 0;     // s, start of the used part in the music file
    float pruneDuration = 0;  // s, length of the used part
    float positionStart = 0;  // s, on the video's time line
    float positionEnd = 0;    // s
    bool fadeIn = false;
    bool fadeOut = false;
    bool repeat = false;
    bool prune = false;       // use only the pruned part
    bool selected = false;
    float volume = 0;         // 0 to 1
    bool isCheck = false;

    bool operator==(const MusicInfo&) const = default;
};

}  // namespace kestrel::model

#include "session/edit/music_timing.h"

#include <algorithm>
#include <cmath>

namespace kestrel::session {

QStringList millisecondTexts(double t) {
    if (!std::isfinite(t) || t < 0) t = 0;
    const double whole = std::floor(t);
    const int hours = static_cast<int>(static_cast<long long>(whole) / 3600);
    const double rest = t - 3600.0 * hours;
    const int minutes = static_cast<int>(static_cast<long long>(std::floor(rest)) / 60);
    const int seconds = static_cast<int>(std::floor(rest - 60.0 * minutes));
    // A float second count such as 10.25f is a hair off; do not lose a millisecond to it.
    const int milliseconds = std::min(999, static_cast<int>((t - whole) * 1000.0 + 1e-4));
    return {QString::asprintf("%02i", hours), QString::asprintf("%02i", minutes), QString::asprintf("%02i", seconds),
            QString::asprintf("%03i", milliseconds)};
}

double secondsFromMillisecondTexts(const QString& hours, const QString& minutes, const QString& seconds,
                                   const QString& milliseconds) {
    return hours.toInt() * 3600.0 + minutes.toInt() * 60.0 + seconds.toInt() + milliseconds.toInt() / 1000.0;
}

int steppedMusicFieldValue(int value, int delta, bool isMillisecondField) {
    return std::clamp(value + delta, 0, isMillisecondField ? 999 : 59);
}

kestrel::model::MusicInfo newMusicInfo(const QString& path, double musicDuration, double videoDuration, double now) {
    kestrel::model::MusicInfo info;
    info.path = path;
    info.musicDuration = static_cast<float>(musicDuration);
    info.duration = static_cast<float>(std::min(musicDuration, videoDuration));
    info.positionStart = static_cast<float>(std::clamp(now, 0.0, videoDuration));
    // The music plays for its own length, or up to the video's end when that comes first.
    info.positionEnd = static_cast<float>(std::min(videoDuration, double(info.positionStart) + musicDuration));
    info.pruneStart = 0;
    info.pruneDuration = info.duration;
    info.volume = 0.5f;
    info.isCheck = true;
    return info;
}

void applySpanRule(kestrel::model::MusicInfo& info) {
    const float span = info.positionEnd - info.positionStart;
    if (span < info.pruneDuration) info.pruneDuration = std::max(0.0f, span);
}

void changeRangeValue(kestrel::model::MusicInfo& info, double lower, double upper, double videoDuration) {
    info.positionStart = static_cast<float>(lower * videoDuration);
    info.positionEnd = static_cast<float>(upper * videoDuration);
    applySpanRule(info);
}

void setPositionLength(kestrel::model::MusicInfo& info, double length, double videoDuration) {
    length = std::max(0.0, length);
    info.positionEnd = static_cast<float>(std::min(videoDuration, info.positionStart + length));
    applySpanRule(info);
}

void setPruneLength(kestrel::model::MusicInfo& info, double length) {
    const double room = std::max(0.0, double(info.musicDuration) - info.pruneStart);
    const double span = std::max(0.0, double(info.positionEnd) - info.positionStart);
    info.pruneDuration = static_cast<float>(std::clamp(length, 0.0, std::min(room, span)));
}

void setPruneStartAt(kestrel::model::MusicInfo& info, double t, double musicDuration) {
    const double end = info.pruneStart + info.pruneDuration;
    info.pruneStart = static_cast<float>(t);
    info.pruneDuration = static_cast<float>(end > t ? end - t : std::max(0.0, musicDuration - t));
    applySpanRule(info);
}

void setPruneEndAt(kestrel::model::MusicInfo& info, double t, double videoDuration) {
    if (info.pruneStart > t) info.pruneStart = 0;
    info.pruneDuration = static_cast<float>(t - info.pruneStart);
    if (info.pruneDuration > info.positionEnd - info.positionStart) {
        info.positionEnd = info.positionStart + info.pruneDuration;
        if (info.positionEnd > videoDuration) {
            info.positionStart = static_cast<float>(std::max(0.0, videoDuration - info.pruneDuration));
            info.positionEnd = static_cast<float>(videoDuration);
        }
    }
}

}  // namespace kestrel::session

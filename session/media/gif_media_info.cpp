#include "session/media/gif_media_info.h"

#include "engine/editing/rdve.h"
#include "session/jobs/engine_outcome.h"

#include <cstring>

namespace kestrel::session {

GifMediaInfo probeGifMedia(const QString& path) {
    GifMediaInfo info;
    int64_t duration_us = 0;
    unsigned char audio[528] = {}, video[548] = {};
    if (!accepted(rdVEGetMediaInfoLite(path.toUtf8().constData(), &duration_us, audio, video))) return info;
    int32_t width = 0, height = 0;
    double fps = 0;
    std::memcpy(&width, video + 132, sizeof width);
    std::memcpy(&height, video + 136, sizeof height);
    std::memcpy(&fps, video + 144, sizeof fps);
    info.width = width;
    info.height = height;
    info.duration_us = duration_us;
    info.fps = fps;
    info.ok = width > 0 && height > 0;
    return info;
}

}  // namespace kestrel::session

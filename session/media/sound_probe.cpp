#include "session/media/sound_probe.h"

#include "engine/editing/rdve.h"
#include "session/jobs/engine_outcome.h"

#include <cstring>

namespace kestrel::session {

bool hasSound(const QString& path) {
    int64_t duration_us = 0;
    unsigned char audio[528];
    unsigned char video[548];
    std::memset(audio, 0, sizeof audio);
    std::memset(video, 0, sizeof video);
    if (!accepted(rdVEGetMediaInfoLite(path.toUtf8().constData(), &duration_us, audio, video))) return false;
    // The engine's audio area starts with the sample rate (int32); a file without sound leaves it 0.
    int32_t sample_rate = 0;
    std::memcpy(&sample_rate, audio, sizeof sample_rate);
    return sample_rate > 0;
}

}  // namespace kestrel::session

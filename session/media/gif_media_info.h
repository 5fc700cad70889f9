#pragma once
// What the GIF maker needs to know of its video or of a photo: size, length and frame rate, from
// the editing engine's light probe.
#include <QString>
#include <cstdint>

namespace kestrel::session {

struct GifMediaInfo {
    bool ok = false;
    int width = 0, height = 0;
    int64_t duration_us = 0;  // 0 for a still picture
    double fps = 0;
};

GifMediaInfo probeGifMedia(const QString& path);

}  // namespace kestrel::session

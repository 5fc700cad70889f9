#include "session/media/first_frame.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/mediacore/media_core.h"
#include "session/jobs/engine_handles.h"

namespace kestrel::session {

namespace {

constexpr int kFrameHeight = 180;

ProbeHandle openMedia(const QString& path) { return openProbe(path.toUtf8().constData()); }

}  // namespace

QImage getWaterImageWithPath(const QString& path) {
    ProbeHandle probe = openMedia(path);
    if (!probe) return {};
    MediaVideoInfo info;
    std::memset(&info, 0, sizeof info);
    if (MediaGetInfo(probe.get(), nullptr, &info) < 0 || !info.exist || info.width <= 0 || info.height <= 0) return {};
    const float scale = static_cast<float>(info.height) / kFrameHeight;
    const int width = static_cast<int>(std::floor(info.width / scale));
    if (width <= 0) return {};
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * kFrameHeight * 4);
    if (MediaSnapshot(probe.get(), 0, width, kFrameHeight, pixels.data(), 0) < 1) return {};
    // BGRA premultiplied in memory is QImage's premultiplied 32-bit format on this byte order.
    return QImage(pixels.data(), width, kFrameHeight, width * 4, QImage::Format_ARGB32_Premultiplied).copy();
}

double soundLengthSeconds(const QString& path) {
    ProbeHandle probe = openMedia(path);
    if (!probe) return 0;
    MediaAudioInfo audio;
    MediaVideoInfo video;
    std::memset(&audio, 0, sizeof audio);
    std::memset(&video, 0, sizeof video);
    if (MediaGetInfo(probe.get(), &audio, &video) < 0 || !audio.exist) return 0;
    return std::max<int64_t>(0, MediaGetDuration(probe.get())) / 1e6;
}

double mediaDurationSeconds(const QString& path) {
    ProbeHandle probe = openMedia(path);
    if (!probe) return 0;
    const int64_t us = MediaGetDuration(probe.get());
    return us > 0 ? us / 1e6 : 0;
}

}  // namespace kestrel::session

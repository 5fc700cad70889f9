#include "editor/watermark/first_frame.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/mediacore/media_core.h"

namespace kestrel::editor {

namespace {

constexpr int kFrameHeight = 180;

struct MediaCloser {
    void operator()(void* media) const { MediaClose(media); }
};
using MediaHandle = std::unique_ptr<void, MediaCloser>;

MediaHandle openMedia(const QString& path) { return MediaHandle(MediaOpen(path.toUtf8().constData())); }

}  // namespace

QImage getWaterImageWithPath(const QString& path) {
    MediaHandle probe = openMedia(path);
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

double mediaDurationSeconds(const QString& path) {
    MediaHandle probe = openMedia(path);
    if (!probe) return 0;
    const int64_t us = MediaGetDuration(probe.get());
    return us > 0 ? us / 1e6 : 0;
}

}  // namespace kestrel::editor

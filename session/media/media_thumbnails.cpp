#include "session/media/media_thumbnails.h"

#include "engine/core/cover_picture.h"
#include "engine/mediacore/media_core.h"
#include "services/folders.h"

#include <algorithm>
#include <cmath>

namespace kestrel::session {
namespace {

struct MediaHandle {
    void* h;
    explicit MediaHandle(const QString& path) : h(MediaOpen(path.toUtf8().constData())) {}
    ~MediaHandle() {
        if (h) MediaClose(h);
    }
    MediaHandle(const MediaHandle&) = delete;
    MediaHandle& operator=(const MediaHandle&) = delete;
};

}  // namespace

QImage firstVideoFrame(const QString& path, int max_side) {
    MediaHandle media(path);
    if (!media.h) return {};
    MediaVideoInfo video{};
    if (MediaGetInfo(media.h, nullptr, &video) < 0 || video.exist == 0 || video.width <= 0 || video.height <= 0)
        return {};
    const double scale = std::min(1.0, double(max_side) / double(std::max(video.width, video.height)));
    const int width = std::max(1, int(std::lround(video.width * scale)));
    const int height = std::max(1, int(std::lround(video.height * scale)));
    // BGRA rows without padding are exactly what a premultiplied ARGB32 image holds.
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (MediaSnapshot(media.h, 0, width, height, image.bits(), 0) < 1) return {};
    return image;
}

QImage audioArtwork(const QString& path) {
    const std::vector<uint8_t> bytes = engine::coverPictureBytes(path.toStdString());
    if (bytes.empty()) return {};
    return QImage::fromData(bytes.data(), int(bytes.size()));
}

void installMediaThumbnails() {
    services::FileManager& files = services::FileManager::sharedManager();
    files.setVideoFrameGrabber([](const QString& path) { return firstVideoFrame(path); });
    files.setAudioArtworkGrabber([](const QString& path) { return audioArtwork(path); });
}

}  // namespace kestrel::session

#include "session/media/cut_pictures.h"

#include <algorithm>
#include <cmath>

#include "engine/mediacore/media_core.h"
#include "session/jobs/engine_handles.h"
#include "session/jobs/engine_outcome.h"

namespace kestrel::session {

QImage videoFrameAt(const QString& path, int64_t time_us, int max_side) {
    ProbeHandle media = openProbe(path.toUtf8().constData());
    if (!media) return {};
    MediaVideoInfo video{};
    if (MediaGetInfo(media.get(), nullptr, &video) < 0 || video.exist == 0 || video.width <= 0 || video.height <= 0)
        return {};
    const double scale = std::min(1.0, double(max_side) / double(std::max(video.width, video.height)));
    const int width = std::max(1, int(std::lround(video.width * scale)));
    const int height = std::max(1, int(std::lround(video.height * scale)));
    // Rows of BGRA without padding: the layout of a premultiplied ARGB32 image.
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (!accepted(MediaSnapshot(media.get(), std::max<int64_t>(time_us, 0), width, height, image.bits(), 0))) return {};
    return image;
}

}  // namespace kestrel::session

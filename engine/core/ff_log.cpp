#include "engine/core/ff_log.h"

extern "C" {
#include <libavutil/log.h>
}
#include <cstdlib>
#include <mutex>

namespace kestrel::engine {

int ffmpegLogLevelFor(const char* setting) {
    if (setting && *setting) return av_log_get_level();
    return AV_LOG_ERROR;
}

void quietFfmpegLog() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(ffmpegLogLevelFor(std::getenv("KESTREL_FFMPEG_LOG"))); });
}

}  // namespace kestrel::engine

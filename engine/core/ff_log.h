#pragma once
// FFmpeg's own log lines: errors only, unless KESTREL_FFMPEG_LOG is set in the environment.

namespace kestrel::engine {

// The av_log level for the value of KESTREL_FFMPEG_LOG (null when unset): AV_LOG_ERROR when it
// is unset or empty, otherwise FFmpeg's own current level.
int ffmpegLogLevelFor(const char* setting);

// Sets the level once per process; every engine entry that opens FFmpeg calls it first.
void quietFfmpegLog();

}  // namespace kestrel::engine

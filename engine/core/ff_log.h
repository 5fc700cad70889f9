#pragma once
// FFmpeg's messages, and those of the encoders it drives, go to the program's log and never
// straight to the console. The log is silent unless logging is asked for with KESTREL_FFMPEG_LOG
// in the environment (any value): then FFmpeg's lines at its usual level go to the log sink the
// program set (the console when it set none), and x265 and SVT-AV1 print their own at theirs.

namespace kestrel::engine {

// One formatted line of FFmpeg's, with its av_log level.
using EngineLogSink = void (*)(int av_level, const char* line);

// The av_log level for the value of KESTREL_FFMPEG_LOG (null when unset): AV_LOG_ERROR when it
// is unset or empty, otherwise FFmpeg's own current level.
int ffmpegLogLevelFor(const char* setting);

// True when KESTREL_FFMPEG_LOG is set (read once, at the first engine call).
bool engineLoggingAsked();

// Where FFmpeg's lines go when logging is asked for; null: the console.
void setEngineLogSink(EngineLogSink sink);

// Routes FFmpeg's log once per process; every engine entry that opens FFmpeg calls it first.
void quietFfmpegLog();

// The "log-level" x265 is opened with: "none" unless logging is asked for.
const char* x265LogLevel();

}  // namespace kestrel::engine

#include "engine/core/ff_log.h"

extern "C" {
#include <libavutil/log.h>
}
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace kestrel::engine {

namespace {

std::atomic<EngineLogSink> g_sink{nullptr};
std::atomic<bool> g_asked{false};

void routeLine(void* context, int level, const char* format, va_list arguments) {
    if (!g_asked.load(std::memory_order_relaxed) || level > av_log_get_level()) return;
    thread_local int print_prefix = 1;
    char line[2048];
    av_log_format_line2(context, level, format, arguments, line, sizeof line, &print_prefix);
    if (EngineLogSink sink = g_sink.load()) sink(level, line);
    else std::fputs(line, stderr);
}

}  // namespace

int ffmpegLogLevelFor(const char* setting) {
    if (setting && *setting) return av_log_get_level();
    return AV_LOG_ERROR;
}

void quietFfmpegLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        const char* setting = std::getenv("KESTREL_FFMPEG_LOG");
        const bool asked = setting && *setting;
        g_asked.store(asked);
        av_log_set_level(ffmpegLogLevelFor(setting));
        av_log_set_callback(&routeLine);
        // SVT-AV1 prints to the console itself; it reads its level from the environment when an
        // encoder opens. A level the user set stays.
        if (!asked) ::setenv("SVT_LOG", "0", 0);
    });
}

bool engineLoggingAsked() {
    quietFfmpegLog();
    return g_asked.load();
}

void setEngineLogSink(EngineLogSink sink) {
    quietFfmpegLog();
    g_sink.store(sink);
}

const char* x265LogLevel() { return engineLoggingAsked() ? "info" : "none"; }

}  // namespace kestrel::engine

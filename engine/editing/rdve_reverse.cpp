// The reverse encoder's handles.
#include "engine/editing/handle_registry.h"
#include "engine/editing/rdve.h"
#include "engine/editing/rdve_result.h"
#include "engine/editing/reverse_job.h"

#include <memory>
#include <mutex>

using namespace kestrel::editing;
using kestrel::engine::ResultCode;

namespace {

struct Reverse {
    std::mutex mutex;
    ReverseSettings settings;
    std::shared_ptr<ReverseJob> job;   // made when the encode starts
    bool stopped = false;              // a stop before the encode makes it return at once
};

SharedHandles<Reverse>& reverses() {
    static SharedHandles<Reverse> handles;
    return handles;
}

template <typename F>
int32_t withSettings(void* handle, F&& apply) {
    auto reverse = reverses().find(handle);
    if (!reverse) return kBadHandle;
    std::lock_guard lock(reverse->mutex);
    if (reverse->job && reverse->job->isRunning()) return result(ResultCode::BadArgument);
    return apply(reverse->settings);
}

}  // namespace

extern "C" {

void* rdVEMediaReverseCreate(void) {
    return reverses().add(std::make_shared<Reverse>());
}

int32_t rdVEMediaReverseSetInputFile(void* h, const char* path) {
    return withSettings(h, [&](ReverseSettings& s) {
        if (!path || !*path) return result(ResultCode::BadArgument);
        s.input_path = path;
        return kOk;
    });
}

int32_t rdVEMediaReverseSetOutputPath(void* h, const char* path) {
    return withSettings(h, [&](ReverseSettings& s) {
        if (!path || !*path) return result(ResultCode::BadArgument);
        s.output_path = path;
        return kOk;
    });
}

int32_t rdVEMediaReverseSetCutTime(void* h, int64_t start_us, int64_t end_us) {
    return withSettings(h, [&](ReverseSettings& s) {
        if (start_us < 0 || end_us < 0) return result(ResultCode::BadArgument);
        s.start_us = start_us, s.end_us = end_us;
        return kOk;
    });
}

int32_t rdVEMediaReverseSetAudioMode(void* h, int32_t mode) {
    return withSettings(h, [&](ReverseSettings& s) {
        if (mode < 0 || mode > 2) return result(ResultCode::BadArgument);
        s.audio_mode = mode;
        return kOk;
    });
}

int32_t rdVEMediaReverseSetAudioBitrate(void* h, int32_t kbps) {
    return withSettings(h, [&](ReverseSettings& s) {
        if (kbps <= 0) return result(ResultCode::BadArgument);
        s.audio_kbps = kbps;
        return kOk;
    });
}

int32_t rdVEMediaReverseSetVideoBitrate(void* h, int32_t kbps) {
    return withSettings(h, [&](ReverseSettings& s) {
        if (kbps <= 0) return result(ResultCode::BadArgument);
        s.video_kbps = kbps;
        return kOk;
    });
}

int32_t rdVEMediaReverseSetEnocdeThreads(void* h, int32_t threads) {
    return withSettings(h, [&](ReverseSettings& s) {
        if (threads < 0) return result(ResultCode::BadArgument);
        s.threads = threads;
        return kOk;
    });
}

int32_t rdVEMediaReverseSetMaxCacheSize(void* h, int32_t megabytes) {
    return withSettings(h, [&](ReverseSettings& s) {
        if (megabytes <= 0) return result(ResultCode::BadArgument);
        s.cache_mb = megabytes;
        return kOk;
    });
}

int32_t rdVEMediaReverseEncode(void* handle) {
    auto reverse = reverses().find(handle);
    if (!reverse) return kBadHandle;
    std::shared_ptr<ReverseJob> job;
    {
        std::lock_guard lock(reverse->mutex);
        if (reverse->job && reverse->job->isRunning()) return result(ResultCode::BadArgument);
        reverse->job = std::make_shared<ReverseJob>(reverse->settings);
        if (reverse->stopped) reverse->job->stop();
        job = reverse->job;
    }
    return result(job->start());
}

double rdVEMediaReverseGetProgress(void* handle) {
    auto reverse = reverses().find(handle);
    if (!reverse) return kBadHandle;
    std::lock_guard lock(reverse->mutex);
    return reverse->job ? reverse->job->progressExact() : 0.0;
}

int32_t rdVEMediaReverseStop(void* handle) {
    auto reverse = reverses().find(handle);
    if (!reverse) return kBadHandle;
    std::shared_ptr<ReverseJob> job;
    {
        std::lock_guard lock(reverse->mutex);
        reverse->stopped = true;
        job = reverse->job;
    }
    if (job) job->stop();  // waits until the output is closed and removed
    return kOk;
}

int32_t rdVEMediaReverseClose(void* handle) {
    auto reverse = reverses().remove(handle);
    if (!reverse) return kBadHandle;
    std::shared_ptr<ReverseJob> job;
    {
        std::lock_guard lock(reverse->mutex);
        job = reverse->job;
    }
    if (job) job->stop();
    return kOk;   // a call still running on it holds its own owner
}

}  // extern "C"

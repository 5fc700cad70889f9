// Preview control and export of a virtual video.
#include "engine/editing/composition.h"
#include "engine/editing/composition_plan.h"
#include "engine/editing/edit_job.h"
#include "engine/editing/face_model.h"
#include "engine/editing/handle_registry.h"
#include "engine/editing/preview_player.h"
#include "engine/editing/preview_surface.h"
#include "engine/editing/rdve.h"
#include "engine/editing/rdve_result.h"

#include <algorithm>

using namespace kestrel::editing;
using kestrel::engine::ResultCode;

namespace {

// The preview of a live video; null when it has none. Used outside the lock, since the
// preview thread itself takes it.
std::shared_ptr<PreviewPlayer> previewOf(void* handle) {
    std::lock_guard lock(compositionMutex());
    auto* video = handleCast<VirtualVideo>(handle, HandleKind::VirtualVideo);
    return video ? video->preview : nullptr;
}

template <typename F>
int32_t withPreview(void* handle, F&& apply) {
    auto preview = previewOf(handle);
    if (!preview) return isHandle(handle, HandleKind::VirtualVideo) ? result(ResultCode::BadArgument) : kBadHandle;
    apply(*preview);
    return kOk;
}

template <typename F>
int32_t withVideo(void* handle, F&& apply) {
    std::lock_guard lock(compositionMutex());
    auto* video = handleCast<VirtualVideo>(handle, HandleKind::VirtualVideo);
    if (!video) return kBadHandle;
    return apply(*video);
}

std::shared_ptr<EditJob> jobOf(void* handle) {
    std::lock_guard lock(compositionMutex());
    auto* video = handleCast<VirtualVideo>(handle, HandleKind::VirtualVideo);
    return video ? video->job : nullptr;
}

}  // namespace

extern "C" {

int32_t rdVEPreviewInit(void* handle) {
    std::shared_ptr<PreviewPlayer> old;
    int32_t rc = withVideo(handle, [&](VirtualVideo& v) {
        int w = 0, h = 0;
        previewCanvasSize(v, &w, &h);
        if (!v.surface) v.surface = createPreviewSurface(v.width, v.height);
        if (!v.surface) return result(ResultCode::BadArgument);
        old = std::move(v.preview);
        v.preview = std::make_shared<PreviewPlayer>(&v, v.surface);
        return kOk;
    });
    old.reset();
    return rc;
}

void* rdVEGetPreview(void* handle) {
    std::lock_guard lock(compositionMutex());
    auto* video = handleCast<VirtualVideo>(handle, HandleKind::VirtualVideo);
    return video && video->surface ? video->surface->widget() : nullptr;
}

int32_t rdVEPreview(void* h) { return withPreview(h, [](PreviewPlayer& p) { p.playFromStart(); }); }
int32_t rdVEPreviewPause(void* h) { return withPreview(h, [](PreviewPlayer& p) { p.pause(); }); }
int32_t rdVEPreviewConintue(void* h) { return withPreview(h, [](PreviewPlayer& p) { p.resume(); }); }
int32_t rdVEPreviewStop(void* h) { return withPreview(h, [](PreviewPlayer& p) { p.stop(); }); }
int32_t rdVEPreviewRefresh(void* h) { return withPreview(h, [](PreviewPlayer& p) { p.refresh(); }); }
int32_t rdVEPreviewSeek(void* h, int64_t position_us) {
    if (position_us < 0) return result(ResultCode::BadArgument);
    return withPreview(h, [&](PreviewPlayer& p) { p.seek(position_us); });
}

int64_t rdVEGetCurrentPlaybackTime(void* handle) {
    auto preview = previewOf(handle);
    if (!preview) return isHandle(handle, HandleKind::VirtualVideo) ? 0 : kBadHandle;
    int64_t total = rdVEGetTotalPlaybackTime(handle);
    return std::min(preview->positionUs(), std::max<int64_t>(0, total));
}

int64_t rdVEGetTotalPlaybackTime(void* handle) {
    std::lock_guard lock(compositionMutex());
    auto* video = handleCast<VirtualVideo>(handle, HandleKind::VirtualVideo);
    if (!video) return kBadHandle;
    return makePlan(*video, 0, 0).total_us;
}

int32_t rdVESetPreviewPlayFinishCallback(void* handle, RDVEPlayFinishCallback callback, void* context) {
    return withPreview(handle, [&](PreviewPlayer& p) { p.setFinishCallback(callback, context); });
}

int32_t rdVESetOutPath(void* handle, const char* path) {
    return withVideo(handle, [&](VirtualVideo& v) {
        if (!path || !*path) return result(ResultCode::BadArgument);
        v.output.path = path;
        return kOk;
    });
}

int32_t rdVESetVideoCodec(void* handle, const char* name) {
    return withVideo(handle, [&](VirtualVideo& v) {
        if (!name || !*name) return result(ResultCode::BadArgument);
        v.output.codec = name;
        return kOk;
    });
}

int32_t rdVESetVideoBitrate(void* handle, int32_t kbps) {
    return withVideo(handle, [&](VirtualVideo& v) {
        if (kbps <= 0) return result(ResultCode::BadArgument);
        v.output.video_kbps = kbps;
        return kOk;
    });
}

int32_t rdVESetAudioBitrate(void* handle, int32_t kbps) {
    return withVideo(handle, [&](VirtualVideo& v) {
        if (kbps <= 0) return result(ResultCode::BadArgument);
        v.output.audio_kbps = kbps;
        return kOk;
    });
}

int32_t rdVESetAudioChannels(void* handle, int32_t channels) {
    return withVideo(handle, [&](VirtualVideo& v) {
        if (channels < 1 || channels > 2) return result(ResultCode::BadArgument);
        v.output.channels = channels;
        return kOk;
    });
}

int32_t rdVESetAudioSamples(void* handle, int32_t rate) {
    return withVideo(handle, [&](VirtualVideo& v) {
        if (rate < 8000 || rate > 192000) return result(ResultCode::BadArgument);
        v.output.sample_rate = rate;
        return kOk;
    });
}

int32_t rdVEEditMediaInit(void* handle) {
    std::shared_ptr<EditJob> previous;
    int32_t rc = withVideo(handle, [&](VirtualVideo& v) {
        if (v.job && v.job->isRunning()) return result(ResultCode::BadArgument);
        int w = std::max(2, v.width), h = std::max(2, v.height);
        if (v.width <= 0 || v.height <= 0) w = h = 0;  // refused when the render starts
        previous = std::move(v.job);
        v.job = std::make_shared<EditJob>(makePlan(v, w, h), v.output);
        if (v.stop_before_job) v.job->stop();
        v.stop_before_job = false;
        return kOk;
    });
    return rc;
}

int32_t rdVEEditMedia(void* handle) {
    auto job = jobOf(handle);
    if (!job) {
        if (!isHandle(handle, HandleKind::VirtualVideo)) return kBadHandle;
        if (int32_t rc = rdVEEditMediaInit(handle); rc != kOk) return rc;
        job = jobOf(handle);
        if (!job) return kBadHandle;
    }
    // Slimming and eye enlarging cannot be rendered without the landmark model: refuse the
    // export before anything is written rather than leave them out.
    if (job->needsLandmarks() && !landmarkModel()) return kNotAvailable;
    return result(job->start());
}

int32_t rdVEEditProgress(void* handle) {
    auto job = jobOf(handle);
    if (!job) return isHandle(handle, HandleKind::VirtualVideo) ? 0 : kBadHandle;
    return job->progressPercent();
}

double rdVEEditProgressEx(void* handle) {
    auto job = jobOf(handle);
    if (!job) return isHandle(handle, HandleKind::VirtualVideo) ? 0.0 : double(kBadHandle);
    return job->progressExact();
}

int32_t rdVEEditStop(void* handle) {
    std::shared_ptr<EditJob> job;
    {
        std::lock_guard lock(compositionMutex());
        auto* video = handleCast<VirtualVideo>(handle, HandleKind::VirtualVideo);
        if (!video) return kBadHandle;
        job = video->job;
        if (!job) video->stop_before_job = true;
    }
    if (job) job->stop();
    return kOk;
}

}  // extern "C"

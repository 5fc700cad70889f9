// Virtual videos, scenes, media and audio tracks.
#include "engine/editing/composition.h"
#include "engine/editing/edit_job.h"
#include "engine/editing/face_model.h"
#include "engine/editing/handle_registry.h"
#include "engine/editing/lookup_filter.h"
#include "engine/editing/preview_player.h"
#include "engine/editing/preview_surface.h"
#include "engine/editing/rdve.h"
#include "engine/editing/rdve_result.h"
#include "engine/editing/stereo_filter.h"

#include "engine/core/media_input.h"

#include <algorithm>
#include <cmath>

using namespace kestrel::editing;
using kestrel::engine::ResultCode;

namespace {

// Scenes and media not yet added anywhere; owned here until they are.
std::vector<std::unique_ptr<Scene>>& looseScenes() {
    static std::vector<std::unique_ptr<Scene>> scenes;
    return scenes;
}
std::vector<std::unique_ptr<Media>>& looseMedia() {
    static std::vector<std::unique_ptr<Media>> media;
    return media;
}

template <typename T>
std::unique_ptr<T> takeFrom(std::vector<std::unique_ptr<T>>& list, T* item) {
    auto it = std::find_if(list.begin(), list.end(), [&](const auto& p) { return p.get() == item; });
    if (it == list.end()) return nullptr;
    std::unique_ptr<T> owned = std::move(*it);
    list.erase(it);
    return owned;
}

void forgetScene(Scene& scene) {
    for (auto& media : scene.media) unregisterHandle(media.get());
    unregisterHandle(&scene);
}

std::unique_ptr<Media> detachMedia(Media* media) {
    if (!media->scene) return takeFrom(looseMedia(), media);
    std::unique_ptr<Media> owned = takeFrom(media->scene->media, media);
    media->scene = nullptr;
    return owned;
}

std::unique_ptr<Scene> detachScene(Scene* scene) {
    if (!scene->video) return takeFrom(looseScenes(), scene);
    std::unique_ptr<Scene> owned = takeFrom(scene->video->scenes, scene);
    scene->video = nullptr;
    return owned;
}

bool isRect(const SLIDE_RECT& r) {
    for (float v : {r.left, r.top, r.right, r.bottom})
        if (!std::isfinite(v) || v < 0 || v > 1) return false;
    bool empty = r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0;
    return empty || (r.left < r.right && r.top < r.bottom);
}

bool isRange(int64_t start_us, int64_t end_us) { return start_us >= 0 && end_us >= start_us; }

bool opensWith(const char* path, bool need_sound) {
    if (!path || !*path) return false;
    auto input = kestrel::engine::MediaInput::open(path);
    if (!input) return false;
    return need_sound ? input->bestAudioStream() >= 0 : (input->bestVideoStream() >= 0 || input->bestAudioStream() >= 0);
}

// Runs a setter on a live media under the composition lock.
template <typename F>
int32_t withMedia(void* handle, F&& apply) {
    std::lock_guard lock(compositionMutex());
    Media* media = handleCast<Media>(handle, HandleKind::Media);
    if (!media) return kBadHandle;
    return apply(*media);
}

template <typename F>
int32_t withVideo(void* handle, F&& apply) {
    std::lock_guard lock(compositionMutex());
    VirtualVideo* video = handleCast<VirtualVideo>(handle, HandleKind::VirtualVideo);
    if (!video) return kBadHandle;
    return apply(*video);
}

}  // namespace

extern "C" {

void* rdVEVirtualVideoCreate(void) {
    auto* video = new VirtualVideo();
    registerHandle(video, HandleKind::VirtualVideo);
    return video;
}

int32_t rdVEVirtualVideoDestory(void* handle) {
    std::shared_ptr<PreviewPlayer> preview;
    std::shared_ptr<PreviewSurface> surface;
    std::shared_ptr<EditJob> job;
    VirtualVideo* video = nullptr;
    {
        std::lock_guard lock(compositionMutex());
        video = handleCast<VirtualVideo>(handle, HandleKind::VirtualVideo);
        if (!video) return kBadHandle;
        unregisterHandle(video);
        preview = std::move(video->preview);
        surface = std::move(video->surface);
        job = video->job;
    }
    if (job) job->stop();  // returns once the export no longer writes
    preview.reset();       // joins the preview thread before the composition goes
    if (surface) surface->release();
    std::lock_guard lock(compositionMutex());
    for (auto& scene : video->scenes) forgetScene(*scene);
    for (auto& track : video->audio) unregisterHandle(track.get());
    delete video;
    return kOk;
}

int32_t rdVESetFrameSize(void* handle, int32_t width, int32_t height) {
    return withVideo(handle, [&](VirtualVideo& v) {
        if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return result(ResultCode::BadArgument);
        v.width = width, v.height = height;
        return kOk;
    });
}

int32_t rdVESetDisplayRatio(void* handle, float ratio) {
    return withVideo(handle, [&](VirtualVideo& v) {
        if (!std::isfinite(ratio) || ratio < 0) return result(ResultCode::BadArgument);
        v.display_ratio = ratio;
        return kOk;
    });
}

int32_t rdVESetFPS(void* handle, float fps) {
    return withVideo(handle, [&](VirtualVideo& v) {
        if (!std::isfinite(fps) || fps <= 0 || fps > 240) return result(ResultCode::BadArgument);
        v.fps = fps;
        return kOk;
    });
}

int32_t rdVESetVolume(void* handle, float volume) {
    return withVideo(handle, [&](VirtualVideo& v) {
        if (!std::isfinite(volume) || volume < 0) return result(ResultCode::BadArgument);
        v.volume = volume;
        return kOk;
    });
}

int32_t rdVEClearScenes(void* handle) {
    return withVideo(handle, [&](VirtualVideo& v) {
        for (auto& scene : v.scenes) forgetScene(*scene);
        v.scenes.clear();
        return kOk;
    });
}

// A filter is a scene without media that holds the configuration; rdVEDeleteScene removes it.
void* rdVEAddFilter(void* video_handle, const char* config_path, int64_t start_us, int64_t end_us) {
    if (!config_path || !isRange(start_us, end_us) || end_us == start_us) return nullptr;
    std::shared_ptr<const StereoConfig> config = readStereoConfig(config_path);
    if (!config) return nullptr;
    std::lock_guard lock(compositionMutex());
    auto* video = handleCast<VirtualVideo>(video_handle, HandleKind::VirtualVideo);
    if (!video) return nullptr;
    auto scene = std::make_unique<Scene>();
    scene->start_us = start_us;
    scene->end_us = end_us;
    scene->filter = std::move(config);
    scene->video = video;
    Scene* raw = scene.get();
    video->scenes.push_back(std::move(scene));
    registerHandle(raw, HandleKind::Scene);
    return raw;
}

void* rdVECreateScene(int64_t start_us, int64_t end_us) {
    if (!isRange(start_us, end_us)) return nullptr;
    std::lock_guard lock(compositionMutex());
    auto scene = std::make_unique<Scene>();
    scene->start_us = start_us;
    scene->end_us = end_us;
    Scene* raw = scene.get();
    looseScenes().push_back(std::move(scene));
    registerHandle(raw, HandleKind::Scene);
    return raw;
}

int32_t rdVEAddScene(void* video_handle, void* scene_handle) {
    std::lock_guard lock(compositionMutex());
    auto* video = handleCast<VirtualVideo>(video_handle, HandleKind::VirtualVideo);
    auto* scene = handleCast<Scene>(scene_handle, HandleKind::Scene);
    if (!video || !scene) return kBadHandle;
    if (scene->video == video) return kOk;
    std::unique_ptr<Scene> owned = detachScene(scene);
    if (!owned) return kBadHandle;
    scene->video = video;
    video->scenes.push_back(std::move(owned));
    return kOk;
}

int32_t rdVEDeleteScene(void* handle) {
    std::lock_guard lock(compositionMutex());
    auto* scene = handleCast<Scene>(handle, HandleKind::Scene);
    if (!scene) return kBadHandle;
    forgetScene(*scene);
    detachScene(scene);  // freed here
    return kOk;
}

int32_t rdVEUpdateSceneTimeline(void* handle, int64_t start_us, int64_t end_us) {
    std::lock_guard lock(compositionMutex());
    auto* scene = handleCast<Scene>(handle, HandleKind::Scene);
    if (!scene) return kBadHandle;
    if (!isRange(start_us, end_us)) return result(ResultCode::BadArgument);
    scene->start_us = start_us;
    scene->end_us = end_us;
    return kOk;
}

void* rdVESceneCreateMedia(const char* path) {
    if (!opensWith(path, false)) return nullptr;
    std::lock_guard lock(compositionMutex());
    auto media = std::make_unique<Media>();
    media->id = nextObjectId();
    media->path = path;
    Media* raw = media.get();
    looseMedia().push_back(std::move(media));
    registerHandle(raw, HandleKind::Media);
    return raw;
}

int32_t rdVESceneAddMediaHandle(void* scene_handle, void* media_handle) {
    std::lock_guard lock(compositionMutex());
    auto* scene = handleCast<Scene>(scene_handle, HandleKind::Scene);
    auto* media = handleCast<Media>(media_handle, HandleKind::Media);
    if (!scene || !media) return kBadHandle;
    if (media->scene == scene) return kOk;
    std::unique_ptr<Media> owned = detachMedia(media);
    if (!owned) return kBadHandle;
    media->scene = scene;
    scene->media.push_back(std::move(owned));
    return kOk;
}

void* rdVESceneAddMedia(void* scene_handle, const char* path) {
    if (!isHandle(scene_handle, HandleKind::Scene)) return nullptr;
    void* media = rdVESceneCreateMedia(path);
    if (!media) return nullptr;
    if (rdVESceneAddMediaHandle(scene_handle, media) != kOk) {
        rdVESceneDeleteMedia(media);
        return nullptr;
    }
    return media;
}

int32_t rdVESceneDeleteMedia(void* handle) {
    std::lock_guard lock(compositionMutex());
    auto* media = handleCast<Media>(handle, HandleKind::Media);
    if (!media) return kBadHandle;
    unregisterHandle(media);
    detachMedia(media);
    return kOk;
}

int32_t rdVESceneClearMedia(void* handle) {
    std::lock_guard lock(compositionMutex());
    auto* scene = handleCast<Scene>(handle, HandleKind::Scene);
    if (!scene) return kBadHandle;
    for (auto& media : scene->media) unregisterHandle(media.get());
    scene->media.clear();
    return kOk;
}

int32_t rdVESetMediaCutTime(void* handle, int64_t start_us, int64_t end_us) {
    return withMedia(handle, [&](Media& m) {
        if (start_us == end_us && start_us != 0) return result(ResultCode::EmptyRange);
        if (start_us < 0 || (end_us != 0 && end_us < start_us)) return result(ResultCode::BadArgument);
        m.cut_start_us = start_us, m.cut_end_us = end_us;
        return kOk;
    });
}

int32_t rdVESetMediaTimeLine(void* handle, int64_t start_us, int64_t end_us) {
    return withMedia(handle, [&](Media& m) {
        if (!isRange(start_us, end_us)) return result(ResultCode::BadArgument);
        m.timeline_set = true;
        m.timeline_start_us = start_us, m.timeline_end_us = end_us;
        return kOk;
    });
}

int32_t rdVESetMediaClip(void* handle, SLIDE_RECT clip) {
    return withMedia(handle, [&](Media& m) {
        if (!isRect(clip)) return result(ResultCode::BadArgument);
        m.clip = clip;
        return kOk;
    });
}

int32_t rdVESetMediaShowRect(void* handle, SLIDE_RECT show) {
    return withMedia(handle, [&](Media& m) {
        if (!isRect(show)) return result(ResultCode::BadArgument);
        m.show = show;
        return kOk;
    });
}

int32_t rdVESetMediaDisplayMode(void* handle, int32_t mode) {
    return withMedia(handle, [&](Media& m) {
        if (mode < 0 || mode > 3) return result(ResultCode::BadArgument);
        m.display_mode = mode;
        return kOk;
    });
}

int32_t rdVESetMediaFactor(void* handle, float factor) {
    return withMedia(handle, [&](Media& m) {
        if (!std::isfinite(factor) || factor < 0) return result(ResultCode::BadArgument);
        m.factor = factor;
        return kOk;
    });
}

int32_t rdVESetMediaFlip(void* handle, int32_t flip) {
    return withMedia(handle, [&](Media& m) {
        if (flip < 0 || flip > 3) return result(ResultCode::BadArgument);
        m.flip = flip;
        return kOk;
    });
}

int32_t rdVESetMediaRotateAngle(void* handle, int32_t degrees) {
    return withMedia(handle, [&](Media& m) {
        if (degrees % 90 != 0) return result(ResultCode::BadArgument);
        m.rotate_deg = kestrel::engine::normalizedAngle(degrees);
        return kOk;
    });
}

// A null or empty path removes the filter; a file that is no usable .cube table is refused and
// leaves the media as it was.
int32_t rdVESetMediaLookupFilter(void* handle, const char* lut_path) {
    std::string path = lut_path ? lut_path : "";
    bool usable = path.empty() || isUsableLookupFile(path);
    return withMedia(handle, [&](Media& m) {
        if (!usable) return result(ResultCode::OpenFailed);
        m.lookup_path = path;
        return kOk;
    });
}

// Face beauty: 0..100 for smoothing, brightening and tone, -100..100 for the shape effects.
int32_t rdVESetMediaBeautyBlurIntensity(void* h, int32_t v) {
    return withMedia(h, [&](Media& m) { return v < 0 || v > 100 ? result(ResultCode::BadArgument) : (m.beauty.blur = v, kOk); });
}
int32_t rdVESetMediaBeautyBrightIntensity(void* h, int32_t v) {
    return withMedia(h, [&](Media& m) { return v < 0 || v > 100 ? result(ResultCode::BadArgument) : (m.beauty.bright = v, kOk); });
}
int32_t rdVESetMediaBeautyToneIntensity(void* h, int32_t v) {
    return withMedia(h, [&](Media& m) { return v < 0 || v > 100 ? result(ResultCode::BadArgument) : (m.beauty.tone = v, kOk); });
}
int32_t rdVESetMediaThinFaceIntensity(void* h, int32_t v) {
    return withMedia(h, [&](Media& m) { return v < -100 || v > 100 ? result(ResultCode::BadArgument) : (m.beauty.thin = v, kOk); });
}
int32_t rdVESetMediaBigEyeIntensity(void* h, int32_t v) {
    return withMedia(h, [&](Media& m) { return v < -100 || v > 100 ? result(ResultCode::BadArgument) : (m.beauty.eye = v, kOk); });
}
// The landmark model; without it the box-based effects still render (the load answers -12).
int32_t rdVEDlibFaceInit2(const char* model_path) {
    return model_path && loadFaceModel(model_path) ? kOk : kNotAvailable;
}
int32_t rdVEDlibFaceUnInit(void) {
    releaseFaceModel();
    return kOk;
}

void* rdVEAddAudioMedia(void* video_handle, const char* path, int64_t source_start_us, int64_t source_end_us,
                        int64_t timeline_start_us, int64_t timeline_end_us, double factor) {
    if (!isHandle(video_handle, HandleKind::VirtualVideo)) return nullptr;
    if (!isRange(timeline_start_us, timeline_end_us) || source_start_us < 0 ||
        (source_end_us != 0 && source_end_us < source_start_us) || !std::isfinite(factor) || factor < 0)
        return nullptr;
    if (!opensWith(path, true)) return nullptr;
    std::lock_guard lock(compositionMutex());
    auto* video = handleCast<VirtualVideo>(video_handle, HandleKind::VirtualVideo);
    if (!video) return nullptr;
    auto track = std::make_unique<AudioTrack>();
    track->id = nextObjectId();
    track->path = path;
    track->video = video;
    track->source_start_us = source_start_us, track->source_end_us = source_end_us;
    track->timeline_start_us = timeline_start_us, track->timeline_end_us = timeline_end_us;
    track->factor = factor;
    AudioTrack* raw = track.get();
    video->audio.push_back(std::move(track));
    registerHandle(raw, HandleKind::Audio);
    return raw;
}

int32_t rdVEDeleteAudioMedia(void* handle) {
    std::lock_guard lock(compositionMutex());
    auto* track = handleCast<AudioTrack>(handle, HandleKind::Audio);
    if (!track) return kBadHandle;
    unregisterHandle(track);
    takeFrom(track->video->audio, track);
    return kOk;
}

int32_t rdVEClearAudioMedias(void* handle) {
    return withVideo(handle, [&](VirtualVideo& v) {
        for (auto& track : v.audio) unregisterHandle(track.get());
        v.audio.clear();
        return kOk;
    });
}

int32_t rdVESetAudioMediaTimeline(void* handle, int64_t start_us, int64_t end_us) {
    std::lock_guard lock(compositionMutex());
    auto* track = handleCast<AudioTrack>(handle, HandleKind::Audio);
    if (!track) return kBadHandle;
    if (!isRange(start_us, end_us)) return result(ResultCode::BadArgument);
    track->timeline_start_us = start_us, track->timeline_end_us = end_us;
    return kOk;
}

int32_t rdVESetAudioMediaVolFactor(void* handle, double factor) {
    std::lock_guard lock(compositionMutex());
    auto* track = handleCast<AudioTrack>(handle, HandleKind::Audio);
    if (!track) return kBadHandle;
    if (!std::isfinite(factor) || factor < 0) return result(ResultCode::BadArgument);
    track->factor = factor;
    return kOk;
}

}  // extern "C"

#include "session/model/ve_virual_video.h"

#include "engine/editing/rdve.h"
#include "session/jobs/engine_outcome.h"
#include "session/model/ve_audio.h"
#include "session/model/ve_scene.h"

#include <cstdio>

namespace kestrel::session {

VEVirualVideo::VEVirualVideo() : video_(VirtualVideoHandle::create()) {}

VEVirualVideo::~VEVirualVideo() {
    // The engine releases them with the video.
    forgetScenes();
    forgetAudio();
}

void VEVirualVideo::forgetScenes() {
    for (VEScene* scene : scenes_) scene->forget();
    scenes_.clear();
    keptScenes_.clear();   // forgotten: their objects release nothing
}

void VEVirualVideo::forgetAudio() {
    for (const std::unique_ptr<VEAudio>& audio : keptAudio_) audio->forget();
    keptAudio_.clear();
}

QObject* VEVirualVideo::createPreviewWithDisplayRatio(double ratio, QSizeF frame_size) {
    const char* failure = nullptr;
    if (!video_) video_ = VirtualVideoHandle::create();
    void* view = nullptr;
    if (!video_) failure = "rdVEVirtualVideoCreate failed!";
    else if (!accepted(rdVESetFrameSize(video_.get(), int32_t(frame_size.width()), int32_t(frame_size.height()))))
        failure = "rdVESetFrameSize failed!";
    else {
        videoFrameSize = frame_size;
        if (!accepted(rdVESetDisplayRatio(video_.get(), float(ratio)))) failure = "rdVESetDisplayRatio failed!";
        else {
            displayRatio = ratio;
            if (!accepted(rdVEPreviewInit(video_.get()))) failure = "rdVEPreviewInit failed!";
            else if (!(view = rdVEGetPreview(video_.get()))) failure = "rdVEGetPreview failed!";
        }
    }
    // The engine's preview is a QWidget, so a QObject: the caller casts it back checked.
    if (!failure) return static_cast<QObject*>(view);
    std::fprintf(stderr, "%s\n", failure);
    virtualVideoDestory();
    return nullptr;
}

bool VEVirualVideo::virtualVideoDestory() {
    if (!video_) return false;
    forgetScenes();
    forgetAudio();
    const bool ok = accepted(rdVEVirtualVideoDestory(video_.release()));
    return ok;
}

bool VEVirualVideo::addScene(VEScene* scene) {
    if (!scene || !video_ || !scene->scene_ || !accepted(rdVEAddScene(video_.get(), scene->scene_))) {
        std::fprintf(stderr, "rdVEAddScene fails\n");
        return false;
    }
    if (scene->video_ && scene->video_ != this) scene->video_->scenes_.erase(scene);
    scene->video_ = this;
    scenes_.insert(scene);
    return true;
}

VEScene* VEVirualVideo::addScene(std::unique_ptr<VEScene> scene) {
    if (!scene || !addScene(scene.get())) return nullptr;
    keptScenes_.push_back(std::move(scene));
    return keptScenes_.back().get();
}

bool VEVirualVideo::removeScene(VEScene* scene) {
    if (!scene || scene->video_ != this || !accepted(rdVEDeleteScene(scene->scene_))) {
        std::fprintf(stderr, "rdVEDeleteScene fails\n");
        return false;
    }
    scenes_.erase(scene);
    scene->forget();   // released by the engine, with its media
    std::erase_if(keptScenes_, [scene](const std::unique_ptr<VEScene>& kept) { return kept.get() == scene; });
    return true;
}

void VEVirualVideo::removeAllScene() {
    if (!video_) return;
    rdVEClearScenes(video_.get());
    forgetScenes();
}

VEAudio* VEVirualVideo::addAudio(std::unique_ptr<VEAudio> audio) {
    if (!audio || !video_ || audio->audio_) return nullptr;
    audio->audio_ = rdVEAddAudioMedia(video_.get(), audio->filePath.toUtf8().constData(), audio->sourceStart_us,
                                      audio->sourceEnd_us, audio->timelineStart_us, audio->timelineEnd_us,
                                      audio->audioFactor);
    if (!audio->audio_) {
        std::fprintf(stderr, "rdVEAddAudioMedia fails\n");
        return nullptr;
    }
    audio->video_ = this;
    keptAudio_.push_back(std::move(audio));
    return keptAudio_.back().get();
}

bool VEVirualVideo::removeAudio(VEAudio* audio) {
    if (!audio || audio->video_ != this) return false;
    // Its object releases the engine track as it goes.
    std::erase_if(keptAudio_, [audio](const std::unique_ptr<VEAudio>& kept) { return kept.get() == audio; });
    return true;
}

void VEVirualVideo::removeAllAudio() {
    if (!video_) return;
    rdVEClearAudioMedias(video_.get());
    forgetAudio();
}

VirtualVideoHandle VEVirualVideo::takeHandle() {
    forgetScenes();
    forgetAudio();
    return std::move(video_);
}

}  // namespace kestrel::session

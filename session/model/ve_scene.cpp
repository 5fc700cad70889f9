#include "session/model/ve_scene.h"

#include "engine/editing/rdve.h"
#include "session/jobs/engine_outcome.h"
#include "session/model/ve_media.h"
#include "session/model/ve_virual_video.h"

#include <cstdio>

namespace kestrel::session {

VEScene::VEScene() = default;

VEScene::VEScene(int64_t start_time, int64_t end_time) { setupStartTime(start_time, end_time); }

VEScene::~VEScene() {
    if (video_) video_->scenes_.erase(this);
    void* scene = scene_;
    forget();
    if (scene) rdVEDeleteScene(scene);   // releases its media too
}

void VEScene::forget() {
    for (VEMedia* media : media_) media->forget();
    media_.clear();
    scene_ = nullptr;
    video_ = nullptr;
}

void VEScene::setupStartTime(int64_t start_time, int64_t end_time) {
    if (scene_) {
        if (!accepted(rdVEUpdateSceneTimeline(scene_, start_time, end_time)))
            std::fprintf(stderr, "rdVEUpdateSceneTimeline fails\n");
    } else {
        scene_ = rdVECreateScene(start_time, end_time);
    }
    startTime = start_time;
    endTime = end_time;
}

void VEScene::setStartTime(int64_t start_time) {
    startTime = start_time;
    if (endTime > 0) setupStartTime(startTime, endTime);
}

void VEScene::setEndTime(int64_t end_time) {
    endTime = end_time;
    if (startTime >= 0) setupStartTime(startTime, endTime);
}

bool VEScene::addMedia(VEMedia* media) {
    if (!media || !scene_ || !media->media_ || !accepted(rdVESceneAddMediaHandle(scene_, media->media_))) {
        std::fprintf(stderr, "rdVESceneAddMediaHandle fails\n");
        return false;
    }
    if (media->scene_ && media->scene_ != this) media->scene_->media_.erase(media);
    media->scene_ = this;
    media_.insert(media);
    return true;
}

VEMedia* VEScene::addMedia(std::unique_ptr<VEMedia> media) {
    if (!media || !addMedia(media.get())) return nullptr;
    kept_.push_back(std::move(media));
    return kept_.back().get();
}

bool VEScene::removeMedia(VEMedia* media) {
    if (!media || media->scene_ != this || !accepted(rdVESceneDeleteMedia(media->media_))) {
        std::fprintf(stderr, "rdVESceneDeleteMedia fails\n");
        return false;
    }
    media_.erase(media);
    media->forget();   // the engine released it
    std::erase_if(kept_, [media](const std::unique_ptr<VEMedia>& kept) { return kept.get() == media; });
    return true;
}

}  // namespace kestrel::session

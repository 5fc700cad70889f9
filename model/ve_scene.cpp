#include "model/ve_scene.h"

#include "model/ve_media.h"

#include <cstdio>

namespace kestrel::model {

void VEScene::setupStartTime(int64_t start_time, int64_t end_time) {
    if (hScene) {
        if (rdVEUpdateSceneTimeline(hScene, start_time, end_time) < 0) std::fprintf(stderr, "rdVEUpdateSceneTimeline fails\n");
    } else {
        hScene = rdVECreateScene(start_time, end_time);
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
    if (!media || rdVESceneAddMediaHandle(hScene, media->hMedia) < 0) {
        std::fprintf(stderr, "rdVESceneAddMediaHandle fails\n");
        return false;
    }
    hmediaSet.insert(media);
    return true;
}

bool VEScene::removeMedia(VEMedia* media) {
    if (!media || rdVESceneDeleteMedia(media->hMedia) < 0) {
        std::fprintf(stderr, "rdVESceneDeleteMedia fails\n");
        return false;
    }
    media->hMedia = nullptr;  // the engine released it
    hmediaSet.erase(media);
    return true;
}

}  // namespace kestrel::model

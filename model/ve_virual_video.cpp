#include "model/ve_virual_video.h"

#include "engine/editing/rdve.h"
#include "model/ve_scene.h"

#include <cstdio>

namespace kestrel::model {

VEVirualVideo::VEVirualVideo() : hVirualVideo(rdVEVirtualVideoCreate()) {}

QWidget* VEVirualVideo::createPreviewWithDisplayRatio(double ratio, QSizeF frame_size) {
    const char* failure = nullptr;
    if (!hVirualVideo) hVirualVideo = rdVEVirtualVideoCreate();
    void* view = nullptr;
    if (!hVirualVideo) failure = "rdVEVirtualVideoCreate failed!";
    else if (rdVESetFrameSize(hVirualVideo, int32_t(frame_size.width()), int32_t(frame_size.height())) < 0)
        failure = "rdVESetFrameSize failed!";
    else {
        videoFrameSize = frame_size;
        if (rdVESetDisplayRatio(hVirualVideo, float(ratio)) < 0) failure = "rdVESetDisplayRatio failed!";
        else {
            displayRatio = ratio;
            if (rdVEPreviewInit(hVirualVideo) < 0) failure = "rdVEPreviewInit failed!";
            else if (!(view = rdVEGetPreview(hVirualVideo))) failure = "rdVEGetPreview failed!";
        }
    }
    if (!failure) return static_cast<QWidget*>(view);
    std::fprintf(stderr, "%s\n", failure);
    if (hVirualVideo) rdVEVirtualVideoDestory(hVirualVideo);
    hVirualVideo = nullptr;
    hSceneSet.clear();
    return nullptr;
}

bool VEVirualVideo::virtualVideoDestory() {
    bool ok = rdVEVirtualVideoDestory(hVirualVideo) > 0;
    hVirualVideo = nullptr;   // a destroyed handle is never kept
    hSceneSet.clear();        // the engine released the scenes with it
    return ok;
}

bool VEVirualVideo::addScene(VEScene* scene) {
    if (!scene || rdVEAddScene(hVirualVideo, scene->hScene) < 0) {
        std::fprintf(stderr, "rdVEAddScene fails\n");
        return false;
    }
    hSceneSet.insert(scene);
    return true;
}

bool VEVirualVideo::removeScene(VEScene* scene) {
    if (!scene || rdVEDeleteScene(scene->hScene) < 0) {
        std::fprintf(stderr, "rdVEDeleteScene fails\n");
        return false;
    }
    scene->hScene = nullptr;  // released by the engine
    hSceneSet.erase(scene);
    return true;
}

void VEVirualVideo::removeAllScene() {
    if (hVirualVideo) hSceneSet.clear();
}

VEVirualVideo& VEMediaManager::shareVirualVideo() {
    static VEVirualVideo* shared = new VEVirualVideo();  // lives until the process ends
    return *shared;
}

}  // namespace kestrel::model

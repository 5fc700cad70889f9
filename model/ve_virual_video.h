#pragma once
// One virtual video of the editing engine, with its preview and its scenes.
#include <QSizeF>
#include <QWidget>

#include <set>

namespace kestrel::model {

class VEScene;

class VEVirualVideo {
public:
    VEVirualVideo();

    void* hVirualVideo = nullptr;
    double displayRatio = 0;
    QSizeF videoFrameSize;
    double seekTime = 0;
    double globalVolume = 1.0;
    QWidget* setupSupperView = nullptr;
    QSizeF textBgSize;
    std::set<VEScene*> hSceneSet;

    // The preview view, or null (the handle is then destroyed and cleared).
    QWidget* createPreviewWithDisplayRatio(double ratio, QSizeF frame_size);
    // Destroys the engine video and clears the handle, so it is never used again.
    bool virtualVideoDestory();
    bool addScene(VEScene* scene);
    bool removeScene(VEScene* scene);
    void removeAllScene();
};

class VEMediaManager {
public:
    // The process-wide virtual video, made on first use.
    static VEVirualVideo& shareVirualVideo();
};

}  // namespace kestrel::model

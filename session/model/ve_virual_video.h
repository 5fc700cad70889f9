#pragma once
// One virtual video of the editing engine, with its preview and its scenes. It owns its engine
// handle; scenes added to it are released with it (each VEScene then forgets its handle).
#include <QObject>
#include <QSizeF>

#include <set>

#include "session/jobs/engine_handles.h"

namespace kestrel::session {

class VEScene;

class VEVirualVideo {
public:
    VEVirualVideo();
    ~VEVirualVideo();
    VEVirualVideo(const VEVirualVideo&) = delete;
    VEVirualVideo& operator=(const VEVirualVideo&) = delete;

    void* hVirualVideo() const { return video_.get(); }
    const std::set<VEScene*>& scenes() const { return scenes_; }

    double displayRatio = 0;
    QSizeF videoFrameSize;
    double seekTime = 0;
    double globalVolume = 1.0;
    QSizeF textBgSize;

    // The engine's preview view (a widget: the window takes it with qobject_cast<QWidget*> and
    // places it), or null; on failure the engine video is released and the scenes forgotten.
    QObject* createPreviewWithDisplayRatio(double ratio, QSizeF frame_size);
    // Releases the engine video and its scenes now; the handle is never used again.
    bool virtualVideoDestory();
    bool addScene(VEScene* scene);
    // Releases the scene (and its media) in the engine.
    bool removeScene(VEScene* scene);
    // Releases every scene in the engine.
    void removeAllScene();

private:
    friend class VEScene;
    void forgetScenes();

    VirtualVideoHandle video_;
    std::set<VEScene*> scenes_;
};

}  // namespace kestrel::session

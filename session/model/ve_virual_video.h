#pragma once
// One virtual video of the editing engine, with its preview and its scenes. It owns its engine
// handle; scenes added to it are released with it (each VEScene then forgets its handle).
#include <QObject>
#include <QSizeF>

#include <memory>
#include <set>
#include <vector>

#include "session/jobs/engine_handles.h"

namespace kestrel::session {

class VEAudio;
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
    // Adds the scene and keeps it (with the media it keeps) for as long as the engine holds it:
    // the scene, or null when it holds no engine scene or was refused (it is released then).
    VEScene* addScene(std::unique_ptr<VEScene> scene);
    // Releases the scene (and its media) in the engine, and the scene object when kept here.
    bool removeScene(VEScene* scene);
    // Releases every scene in the engine.
    void removeAllScene();

    // Places the sound track on the time line and keeps it: the track, or null when the file
    // has no sound the engine can read.
    VEAudio* addAudio(std::unique_ptr<VEAudio> audio);
    bool removeAudio(VEAudio* audio);
    void removeAllAudio();

    // Hands the engine video, with its scenes, media and sound, to a blocking run that owns it
    // from now on; this object forgets them and holds no engine video any more.
    VirtualVideoHandle takeHandle();

private:
    friend class VEScene;
    void forgetScenes();
    void forgetAudio();

    VirtualVideoHandle video_;
    std::set<VEScene*> scenes_;
    std::vector<std::unique_ptr<VEScene>> keptScenes_;
    std::vector<std::unique_ptr<VEAudio>> keptAudio_;
};

}  // namespace kestrel::session

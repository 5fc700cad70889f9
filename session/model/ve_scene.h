#pragma once
// One scene of a virtual video: a time span and its media, over the engine's scene handle. The
// scene is released in the engine when this object goes, unless its video released it first.
#include <cstdint>
#include <memory>
#include <set>
#include <vector>

namespace kestrel::session {

class VEMedia;
class VEVirualVideo;

class VEScene {
public:
    VEScene();
    VEScene(int64_t start_time, int64_t end_time);
    ~VEScene();
    VEScene(const VEScene&) = delete;
    VEScene& operator=(const VEScene&) = delete;

    void* hScene() const { return scene_; }
    const std::set<VEMedia*>& media() const { return media_; }

    int64_t startTime = 0;
    int64_t endTime = 0;

    // Re-timing keeps the engine scene and moves it, instead of leaking a new one each time.
    void setupStartTime(int64_t start_time, int64_t end_time);
    void setStartTime(int64_t start_time);
    void setEndTime(int64_t end_time);
    bool addMedia(VEMedia* media);
    // Adds the media and keeps it for as long as the scene lasts: the media, or null when it
    // holds no engine media or the engine refused it (it is released then).
    VEMedia* addMedia(std::unique_ptr<VEMedia> media);
    // Releases the media in the engine (and the media object, when the scene keeps it).
    bool removeMedia(VEMedia* media);

private:
    friend class VEVirualVideo;
    friend class VEMedia;
    // The engine released this scene and its media (with the video, or on removal).
    void forget();

    void* scene_ = nullptr;
    VEVirualVideo* video_ = nullptr;
    std::set<VEMedia*> media_;
    std::vector<std::unique_ptr<VEMedia>> kept_;
};

}  // namespace kestrel::session

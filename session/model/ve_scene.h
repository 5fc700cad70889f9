#pragma once
// One scene of a virtual video: a time span and its media, over the engine's scene handle. The
// scene is released in the engine when this object goes, unless its video released it first.
#include <cstdint>
#include <set>

namespace kestrel::session {

class VEMedia;
class VEVirualVideo;

class VEScene {
public:
    VEScene() = default;
    VEScene(int64_t start_time, int64_t end_time) { setupStartTime(start_time, end_time); }
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
    // Releases the media in the engine.
    bool removeMedia(VEMedia* media);

private:
    friend class VEVirualVideo;
    friend class VEMedia;
    // The engine released this scene and its media (with the video, or on removal).
    void forget();

    void* scene_ = nullptr;
    VEVirualVideo* video_ = nullptr;
    std::set<VEMedia*> media_;
};

}  // namespace kestrel::session

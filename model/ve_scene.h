#pragma once
// One scene of a virtual video: a time span and its media, over the engine's scene handle.
#include "engine/editing/rdve.h"

#include <cstdint>
#include <memory>
#include <set>

namespace kestrel::model {

class VEMedia;

class VEScene {
public:
    VEScene() = default;
    VEScene(int64_t start_time, int64_t end_time) { setupStartTime(start_time, end_time); }

    void* hScene = nullptr;
    int64_t startTime = 0;
    int64_t endTime = 0;
    std::set<VEMedia*> hmediaSet;   // made with the scene, so adding a media always records it

    // Re-timing keeps the engine scene and moves it, instead of leaking a new one each time.
    void setupStartTime(int64_t start_time, int64_t end_time);
    void setStartTime(int64_t start_time);
    void setEndTime(int64_t end_time);
    bool addMedia(VEMedia* media);
    bool removeMedia(VEMedia* media);
};

}  // namespace kestrel::model

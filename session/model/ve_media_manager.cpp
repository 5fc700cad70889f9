#include "session/model/ve_media_manager.h"

#include "session/model/ve_virual_video.h"

namespace kestrel::session {

VEVirualVideo& VEMediaManager::shareVirualVideo() {
    // Never destroyed: the engine may be gone by the time static objects are.
    static VEVirualVideo* shared = new VEVirualVideo;
    return *shared;
}

}  // namespace kestrel::session

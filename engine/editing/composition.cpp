#include "engine/editing/composition.h"

#include "engine/editing/edit_job.h"
#include "engine/editing/preview_player.h"
#include "engine/editing/preview_surface.h"

#include <atomic>

namespace kestrel::editing {

std::mutex& compositionMutex() {
    static std::mutex mutex;
    return mutex;
}

uint64_t nextObjectId() {
    static std::atomic<uint64_t> next{1};
    return next++;
}

VirtualVideo::VirtualVideo() = default;
VirtualVideo::~VirtualVideo() = default;

}  // namespace kestrel::editing

#pragma once
// Picks, at each display tick, the picture whose time has come: pictures of an older seek
// generation are thrown away, and when the clock has already passed several, only the newest
// is shown and the late ones are dropped.
#include <cstdint>
#include <optional>

#include "engine/player/bounded_queue.h"
#include "engine/player/picture.h"

namespace kestrel::player {

class FramePresenter {
public:
    // The picture to show at now_us, if a new one is due.
    std::optional<Picture> due(BoundedQueue<Picture>& queue, uint64_t generation, int64_t now_us);

    // True when the queue has no picture of this generation left.
    static bool drained(BoundedQueue<Picture>& queue, uint64_t generation);

    uint64_t droppedLate() const { return dropped_late_; }

private:
    uint64_t dropped_late_ = 0;
};

}  // namespace kestrel::player

#include "engine/player/frame_presenter.h"

namespace kestrel::player {

std::optional<Picture> FramePresenter::due(BoundedQueue<Picture>& queue, uint64_t generation, int64_t now_us) {
    std::optional<Picture> chosen;
    for (;;) {
        bool stale = false, ready = false;
        if (!queue.peek([&](const Picture& p) {
                stale = p.generation != generation;
                ready = p.pts_us <= now_us;
            }))
            break;
        if (!stale && !ready) break;
        std::optional<Picture> p = queue.tryPop();
        if (!p || stale) continue;
        if (chosen) ++dropped_late_;
        chosen = std::move(p);
    }
    return chosen;
}

bool FramePresenter::drained(BoundedQueue<Picture>& queue, uint64_t generation) {
    for (;;) {
        bool stale = false;
        if (!queue.peek([&](const Picture& p) { stale = p.generation != generation; })) return true;
        if (!stale) return false;
        queue.tryPop();
    }
}

}  // namespace kestrel::player

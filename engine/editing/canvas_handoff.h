#pragma once
// Carries composited canvases from the render loop to the encoding thread. A few canvases
// circulate, so the next frame is composited while the previous one is converted and encoded,
// and memory stays at those few pictures however long the export.
#include "engine/editing/compositor.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace kestrel::editing {

class CanvasHandoff {
public:
    explicit CanvasHandoff(int canvases);

    // An unused canvas to draw into; waits for one; null once cancelled.
    Canvas* takeEmpty();
    // Hands a drawn canvas, frame number `index`, to the encoding side.
    void submit(Canvas* canvas, int64_t index);
    // No more canvases follow.
    void close();
    // The next drawn canvas; waits for one; false once closed and empty, or cancelled.
    bool takeDrawn(Canvas** canvas, int64_t* index);
    // Gives an encoded canvas back for drawing.
    void giveBack(Canvas* canvas);
    // Wakes both sides for good (a failure or a stop on either side).
    void cancel();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Canvas> canvases_;
    std::deque<Canvas*> empty_;
    std::deque<std::pair<Canvas*, int64_t>> drawn_;
    bool closed_ = false;
    bool cancelled_ = false;
};

}  // namespace kestrel::editing

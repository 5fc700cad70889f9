#include "engine/editing/canvas_handoff.h"

#include <algorithm>

namespace kestrel::editing {

CanvasHandoff::CanvasHandoff(int canvases) : canvases_(static_cast<size_t>(std::max(1, canvases))) {
    for (Canvas& canvas : canvases_) empty_.push_back(&canvas);
}

Canvas* CanvasHandoff::takeEmpty() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return cancelled_ || !empty_.empty(); });
    if (cancelled_) return nullptr;
    Canvas* canvas = empty_.front();
    empty_.pop_front();
    return canvas;
}

void CanvasHandoff::submit(Canvas* canvas, int64_t index) {
    {
        std::lock_guard lock(mutex_);
        drawn_.emplace_back(canvas, index);
    }
    changed_.notify_all();
}

void CanvasHandoff::close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}

bool CanvasHandoff::takeDrawn(Canvas** canvas, int64_t* index) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return cancelled_ || closed_ || !drawn_.empty(); });
    if (cancelled_ || drawn_.empty()) return false;
    *canvas = drawn_.front().first;
    *index = drawn_.front().second;
    drawn_.pop_front();
    return true;
}

void CanvasHandoff::giveBack(Canvas* canvas) {
    {
        std::lock_guard lock(mutex_);
        empty_.push_back(canvas);
    }
    changed_.notify_all();
}

void CanvasHandoff::cancel() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
}

}  // namespace kestrel::editing

#include "engine/editing/preview_player.h"

#include "engine/editing/composition_plan.h"
#include "engine/editing/filter_stage.h"
#include "engine/editing/preview_surface.h"

#include <algorithm>

namespace kestrel::editing {

void previewCanvasSize(const VirtualVideo& video, int* width, int* height) {
    int w = video.width > 0 ? video.width : 640;
    int h = video.height > 0 ? video.height : 360;
    if (video.display_ratio > 0) {
        if (double(w) / h > video.display_ratio) w = std::max(2, static_cast<int>(h * video.display_ratio));
        else h = std::max(2, static_cast<int>(w / video.display_ratio));
    }
    *width = std::max(2, w & ~1);
    *height = std::max(2, h & ~1);
}

PreviewPlayer::PreviewPlayer(VirtualVideo* video, std::shared_ptr<PreviewSurface> surface)
    : video_(video), surface_(std::move(surface)) {
    thread_ = std::thread([this] { loop(); });
}

PreviewPlayer::~PreviewPlayer() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

int64_t PreviewPlayer::positionLocked() const {
    if (!playing_) return base_us_;
    auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - base_clock_);
    return base_us_ + elapsed.count();
}

void PreviewPlayer::playFromStart() {
    std::lock_guard lock(mutex_);
    base_us_ = 0;
    base_clock_ = std::chrono::steady_clock::now();
    playing_ = true;
    redraw_ = true;
    wake_.notify_all();
}

void PreviewPlayer::pause() {
    std::lock_guard lock(mutex_);
    base_us_ = positionLocked();
    playing_ = false;
    redraw_ = true;
    wake_.notify_all();
}

void PreviewPlayer::resume() {
    std::lock_guard lock(mutex_);
    if (playing_) return;
    base_clock_ = std::chrono::steady_clock::now();
    playing_ = true;
    redraw_ = true;
    wake_.notify_all();
}

void PreviewPlayer::stop() {
    std::lock_guard lock(mutex_);
    base_us_ = positionLocked();
    playing_ = false;
    wake_.notify_all();
}

void PreviewPlayer::seek(int64_t position_us) {
    std::lock_guard lock(mutex_);
    base_us_ = std::max<int64_t>(0, position_us);
    base_clock_ = std::chrono::steady_clock::now();
    redraw_ = true;
    wake_.notify_all();
}

void PreviewPlayer::refresh() {
    std::lock_guard lock(mutex_);
    redraw_ = true;
    wake_.notify_all();
}

int64_t PreviewPlayer::positionUs() {
    std::lock_guard lock(mutex_);
    return positionLocked();
}

void PreviewPlayer::setFinishCallback(RDVEPlayFinishCallback callback, void* context) {
    std::lock_guard lock(mutex_);
    callback_ = callback;
    context_ = context;
}

Canvas PreviewPlayer::lastPicture() {
    std::lock_guard lock(mutex_);
    return last_;
}

void PreviewPlayer::loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || playing_ || redraw_; });
        if (quit_) return;
        redraw_ = false;
        int64_t t_us = positionLocked();
        lock.unlock();

        CompositionPlan plan;
        {
            std::lock_guard composition(compositionMutex());
            int w = 0, h = 0;
            previewCanvasSize(*video_, &w, &h);
            plan = makePlan(*video_, w, h);
        }
        bool finished = false;
        int64_t shown_us = t_us;
        if (t_us >= plan.total_us) {
            shown_us = std::max<int64_t>(0, plan.total_us - 1);
            finished = true;
        }
        Canvas canvas;
        compositor_.render(plan, shown_us, &canvas);
        compositor_.prune(plan);
        // Alternating views show one after the other at twice the frame rate.
        int view = static_cast<int>((shown_us * 2 * plan.fps / 1000000.0)) % filteredPicturesPerFrame(plan);
        applyFilterStage(plan, shown_us, view, &canvas);
        if (surface_) surface_->present(canvas);

        lock.lock();
        last_ = std::move(canvas);
        if (finished && playing_) {
            // Played to the end: hold there and tell the owner, on this thread.
            base_us_ = plan.total_us;
            playing_ = false;
            RDVEPlayFinishCallback callback = callback_;
            void* context = context_;
            if (callback) {
                lock.unlock();
                callback(context);
                lock.lock();
            }
            continue;
        }
        if (playing_) {
            auto frame = std::chrono::microseconds(static_cast<int64_t>(1e6 / std::max(1.0, plan.fps)));
            wake_.wait_for(lock, frame, [this] { return quit_ || redraw_ || !playing_; });
        }
    }
}

}  // namespace kestrel::editing

#include "engine/player/video_worker.h"

#include <chrono>

#include "engine/player/video_pipeline.h"

namespace kestrel::player {

namespace {
// A seek that takes longer than this is treated as failed rather than freezing the window.
constexpr auto kRequestTimeout = std::chrono::seconds(20);
}  // namespace

VideoWorker::VideoWorker(std::unique_ptr<VideoPipeline> pipeline) : pipeline_(std::move(pipeline)) {
    thread_ = std::thread([this] { run(); });
}

VideoWorker::~VideoWorker() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    pipeline_->requestStop();
    wake_.notify_all();
    queue_.close();
    thread_.join();
}

uint64_t VideoWorker::generation() const {
    std::lock_guard lock(mutex_);
    return generation_;
}

bool VideoWorker::reachedEnd() const {
    std::lock_guard lock(mutex_);
    return ended_;
}

std::optional<Picture> VideoWorker::seek(int64_t target_us) {
    std::unique_lock lock(mutex_);
    seek_pending_ = true;
    target_us_ = target_us;
    const uint64_t id = ++request_id_;
    ++generation_;
    ended_ = false;
    lock.unlock();
    // Wakes the thread if it waits for room in a full queue; what it pushes then is of the
    // old generation and is dropped by the presenter.
    queue_.clear();
    wake_.notify_all();
    lock.lock();
    if (!done_.wait_for(lock, kRequestTimeout, [&] { return answered_id_ >= id || quit_; })) return std::nullopt;
    if (answered_id_ != id) return std::nullopt;
    return std::move(answer_);
}

void VideoWorker::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return quit_ || seek_pending_ || !ended_; });
        if (quit_) return;
        if (seek_pending_) {
            const int64_t target = target_us_;
            const uint64_t id = request_id_;
            const uint64_t generation = generation_;
            seek_pending_ = false;
            lock.unlock();
            std::optional<Picture> picture = pipeline_->seekTo(target);
            if (picture) picture->generation = generation;
            lock.lock();
            if (!picture && generation == generation_) ended_ = true;
            answer_ = std::move(picture);
            answered_id_ = id;
            done_.notify_all();
            continue;
        }
        const uint64_t generation = generation_;
        lock.unlock();
        std::optional<Picture> picture = pipeline_->next();
        if (picture) {
            picture->generation = generation;
            const size_t bytes = picture->bytes();
            queue_.push(std::move(*picture), bytes);
            lock.lock();
        } else {
            lock.lock();
            if (generation == generation_ && !seek_pending_) ended_ = true;
        }
    }
}

}  // namespace kestrel::player

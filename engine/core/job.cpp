#include "engine/core/job.h"

#include <algorithm>

namespace kestrel::engine {

ResultCode Job::start() {
    {
        std::lock_guard lock(mutex_);
        if (stopRequested()) return ResultCode::Stopped;
        if (running_) return ResultCode::BadArgument;
        running_ = true;
    }
    percent_.store(0);
    ResultCode result = run();
    if (result == ResultCode::Ok) percent_.store(100);
    {
        std::lock_guard lock(mutex_);
        running_ = false;
    }
    finished_.notify_all();
    return result;
}

void Job::stop() {
    std::unique_lock lock(mutex_);
    stop_.store(true);
    finished_.wait(lock, [this] { return !running_; });
}

bool Job::isRunning() const {
    std::lock_guard lock(mutex_);
    return running_;
}

void Job::setProgress(double fraction) {
    int percent = std::clamp(static_cast<int>(fraction * 100.0), 0, 99);
    if (percent != percent_.load(std::memory_order_relaxed)) percent_.store(percent, std::memory_order_relaxed);
}

}  // namespace kestrel::engine

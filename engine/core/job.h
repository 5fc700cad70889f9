#pragma once
// Base of every long engine operation: one blocking start, a sticky stop and a progress value
// that other threads may read at any time.
#include "engine/core/result_code.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace kestrel::engine {

class Job {
public:
    virtual ~Job() = default;

    // Runs the job on the calling thread. Returns Stopped at once when stop() came first.
    ResultCode start();
    // Asks the job to stop. Returns once a running start() has finished writing and cleaning up.
    void stop();
    bool stopRequested() const { return stop_.load(std::memory_order_relaxed); }
    bool isRunning() const;
    // Whole percent 0..100; 100 only once the job succeeded.
    int progressPercent() const { return percent_.load(std::memory_order_relaxed); }

protected:
    virtual ResultCode run() = 0;
    // Fraction of the work done; stored only when the whole percent changes (kept below 100).
    void setProgress(double fraction);

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> percent_{0};
    mutable std::mutex mutex_;
    std::condition_variable finished_;
    bool running_ = false;
};

}  // namespace kestrel::engine

#include "engine/editing/row_bands.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace kestrel::editing {

namespace {

struct Batch {
    const std::function<void(int, int)>* body = nullptr;
    int left = 0;   // bands not finished yet, guarded by the pool's mutex
    std::condition_variable done;
};

struct Band {
    Batch* batch;
    int first, end;
};

class BandPool {
public:
    BandPool() {
        const int workers = std::clamp(int(std::thread::hardware_concurrency()) - 1, 1, 3);
        for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
    }
    ~BandPool() {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        for (auto& thread : threads_) thread.join();
    }

    int lanes() const { return int(threads_.size()) + 1; }

    void run(int rows, const std::function<void(int, int)>& body, int min_rows) {
        const int bands = std::clamp(rows / std::max(1, min_rows), 1, lanes());
        if (bands == 1) {
            body(0, rows);
            return;
        }
        Batch batch;
        batch.body = &body;
        batch.left = bands;
        const int step = (rows + bands - 1) / bands;
        {
            std::lock_guard lock(mutex_);
            for (int b = 1; b < bands; ++b) queue_.push_back(Band{&batch, b * step, std::min(rows, (b + 1) * step)});
        }
        wake_.notify_all();
        body(0, std::min(rows, step));
        std::unique_lock lock(mutex_);
        --batch.left;
        // Help with whatever is queued (ours or another caller's) rather than wait idle.
        while (batch.left > 0) {
            if (queue_.empty()) {
                batch.done.wait(lock, [&] { return batch.left == 0 || !queue_.empty(); });
                continue;
            }
            runOne(lock);
        }
    }

private:
    // Takes the first queued band and runs it with the lock released.
    void runOne(std::unique_lock<std::mutex>& lock) {
        Band band = queue_.front();
        queue_.pop_front();
        lock.unlock();
        (*band.batch->body)(band.first, band.end);
        lock.lock();
        if (--band.batch->left == 0) band.batch->done.notify_all();
    }

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
            if (quit_) return;
            runOne(lock);
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Band> queue_;
    bool quit_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace

void forEachBand(int rows, const std::function<void(int, int)>& body, int min_rows) {
    if (rows <= 0) return;
    static BandPool pool;
    pool.run(rows, body, min_rows);
}

}  // namespace kestrel::editing

#pragma once
// A blocking FIFO bounded both in items and in bytes, so a long file never piles up frames.
// A producer waits while the queue is full; close() wakes every waiter for shutdown.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

namespace kestrel::player {

template <class T>
class BoundedQueue {
public:
    BoundedQueue(size_t max_items, size_t max_bytes) : max_items_(max_items), max_bytes_(max_bytes) {}

    // Waits for room; false when the queue was closed. One item always fits into an empty queue,
    // whatever its size, so a single large frame cannot block forever.
    bool push(T item, size_t bytes) {
        std::unique_lock lock(mutex_);
        room_.wait(lock, [&] { return closed_ || items_.empty() || (items_.size() < max_items_ && bytes_ + bytes <= max_bytes_); });
        if (closed_) return false;
        bytes_ += bytes;
        items_.push_back({std::move(item), bytes});
        filled_.notify_all();
        return true;
    }

    std::optional<T> tryPop() {
        std::lock_guard lock(mutex_);
        return popLocked();
    }

    // The front item without removing it; empty when none.
    template <class Fn>
    bool peek(Fn&& fn) const {
        std::lock_guard lock(mutex_);
        if (items_.empty()) return false;
        fn(items_.front().value);
        return true;
    }

    void clear() {
        std::lock_guard lock(mutex_);
        items_.clear();
        bytes_ = 0;
        room_.notify_all();
    }

    void close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        room_.notify_all();
        filled_.notify_all();
    }

    void reopen() {
        std::lock_guard lock(mutex_);
        closed_ = false;
    }

    // Whether a producer with another item like the last one would have to wait.
    bool full() const {
        std::lock_guard lock(mutex_);
        return items_.size() >= max_items_ || (!items_.empty() && bytes_ + items_.back().bytes > max_bytes_);
    }

    size_t size() const {
        std::lock_guard lock(mutex_);
        return items_.size();
    }
    size_t bytes() const {
        std::lock_guard lock(mutex_);
        return bytes_;
    }

private:
    struct Entry {
        T value;
        size_t bytes;
    };

    std::optional<T> popLocked() {
        if (items_.empty()) return std::nullopt;
        Entry e = std::move(items_.front());
        items_.pop_front();
        bytes_ -= e.bytes;
        room_.notify_all();
        return std::move(e.value);
    }

    const size_t max_items_;
    const size_t max_bytes_;
    mutable std::mutex mutex_;
    std::condition_variable room_, filled_;
    std::deque<Entry> items_;
    size_t bytes_ = 0;
    bool closed_ = false;
};

}  // namespace kestrel::player

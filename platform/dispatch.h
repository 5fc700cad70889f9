#pragma once
// Main and global queues. The main queue is the Qt event loop of the GUI thread; the global
// queue is QThreadPool::globalInstance(). Blocking engine runs go to the global queue and post
// their completion back to the main queue.
#include <functional>
#include <mutex>

namespace platform {

// Runs fn on the main thread from the event loop, after the current event (never inline).
void dispatchMainAsync(std::function<void()> fn);

// Runs fn on the main thread and waits for it; runs inline when already on the main thread.
void dispatchMainSync(const std::function<void()>& fn);

// Runs fn on a worker thread of the global pool.
void dispatchGlobalAsync(std::function<void()> fn);

// Runs fn on the main thread after delay_ms milliseconds.
void dispatchMainAfter(int delay_ms, std::function<void()> fn);

bool isMainThread();

// One-time initialisation.
using OnceFlag = std::once_flag;
template <class Fn>
void dispatchOnce(OnceFlag& flag, Fn&& fn) {
    std::call_once(flag, std::forward<Fn>(fn));
}

}  // namespace platform

#pragma once
// Live objects behind a C interface's handles, held as shared owners. A handle is checked here
// before use, so null, closed or foreign pointers fail cleanly; a call takes its own owner for
// as long as it runs, so a close from another thread only drops the registry's owner and the
// object goes when the last call on it returns.
#include <map>
#include <memory>
#include <mutex>

namespace kestrel::engine {

template <typename T>
class SharedHandles {
public:
    void* add(std::shared_ptr<T> object) {
        std::lock_guard lock(mutex_);
        void* handle = object.get();
        objects_[handle] = std::move(object);
        return handle;
    }
    // An owner for the duration of a call; null when the handle is not alive.
    std::shared_ptr<T> find(void* handle) const {
        std::lock_guard lock(mutex_);
        auto it = objects_.find(handle);
        return it == objects_.end() ? nullptr : it->second;
    }
    // Takes the registry's owner out: later calls are refused, running ones keep theirs.
    std::shared_ptr<T> remove(void* handle) {
        std::lock_guard lock(mutex_);
        auto it = objects_.find(handle);
        if (it == objects_.end()) return nullptr;
        std::shared_ptr<T> object = std::move(it->second);
        objects_.erase(it);
        return object;
    }

private:
    mutable std::mutex mutex_;
    std::map<void*, std::shared_ptr<T>> objects_;
};

}  // namespace kestrel::engine

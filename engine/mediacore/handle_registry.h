#pragma once
// Live objects behind the C handles. A handle is checked here before use, so null, closed or
// foreign pointers fail cleanly; holders keep the object alive while a call runs on it.
#include <map>
#include <memory>
#include <mutex>

namespace kestrel::mediacore {

template <typename T>
class HandleRegistry {
public:
    void* add(std::shared_ptr<T> object) {
        std::lock_guard lock(mutex_);
        void* handle = object.get();
        objects_[handle] = std::move(object);
        return handle;
    }
    std::shared_ptr<T> find(void* handle) const {
        std::lock_guard lock(mutex_);
        auto it = objects_.find(handle);
        return it == objects_.end() ? nullptr : it->second;
    }
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

}  // namespace kestrel::mediacore

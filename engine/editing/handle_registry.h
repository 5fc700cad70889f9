#pragma once
// Which handles are alive: every call checks its handle here, so null, stale or foreign
// pointers are refused instead of being used.
//
// Objects that stand alone (reverse encoders, snapshot readers) are held as shared owners: a
// call takes its own owner for as long as it runs, so a close from another thread only drops
// the registry's owner and the object goes when the last call on it returns. The composition
// (videos, scenes, media, audio tracks) is owned by its parents and only ever touched under the
// composition lock, so it is checked by kind.
#include <map>
#include <memory>
#include <mutex>

namespace kestrel::editing {

enum class HandleKind { VirtualVideo, Scene, Media, Audio };

void registerHandle(const void* handle, HandleKind kind);
void unregisterHandle(const void* handle);
bool isHandle(const void* handle, HandleKind kind);

// Checks and casts in one go; null when the handle is not alive or of another kind.
template <typename T>
T* handleCast(void* handle, HandleKind kind) {
    return isHandle(handle, kind) ? static_cast<T*>(handle) : nullptr;
}

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

}  // namespace kestrel::editing

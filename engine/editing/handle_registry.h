#pragma once
// Which handles are alive: every call checks its handle here, so null, stale or foreign
// pointers are refused instead of being used.
#include <mutex>

namespace kestrel::editing {

enum class HandleKind { VirtualVideo, Scene, Media, Audio, Reverse, Snapshot };

void registerHandle(const void* handle, HandleKind kind);
void unregisterHandle(const void* handle);
bool isHandle(const void* handle, HandleKind kind);

// Checks and casts in one go; null when the handle is not alive or of another kind.
template <typename T>
T* handleCast(void* handle, HandleKind kind) {
    return isHandle(handle, kind) ? static_cast<T*>(handle) : nullptr;
}

}  // namespace kestrel::editing

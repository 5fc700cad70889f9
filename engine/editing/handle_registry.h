#pragma once
// Which handles are alive: every call checks its handle here, so null, stale or foreign
// pointers are refused instead of being used.
//
// Objects that stand alone (reverse encoders, snapshot readers) are held as shared owners: a
// call takes its own owner for as long as it runs, so a close from another thread only drops
// the registry's owner and the object goes when the last call on it returns. The composition
// (videos, scenes, media, audio tracks) is owned by its parents and only ever touched under the
// composition lock, so it is checked by kind.
#include "engine/core/shared_handles.h"

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

// Reverse encoders and snapshot readers (see engine/core/shared_handles.h).
template <typename T>
using SharedHandles = engine::SharedHandles<T>;

}  // namespace kestrel::editing

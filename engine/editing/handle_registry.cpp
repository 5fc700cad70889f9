#include "engine/editing/handle_registry.h"

#include <mutex>
#include <unordered_map>

namespace kestrel::editing {

namespace {
std::mutex& registryMutex() {
    static std::mutex mutex;
    return mutex;
}
std::unordered_map<const void*, HandleKind>& registry() {
    static std::unordered_map<const void*, HandleKind> handles;
    return handles;
}
}  // namespace

void registerHandle(const void* handle, HandleKind kind) {
    std::lock_guard lock(registryMutex());
    registry()[handle] = kind;
}

void unregisterHandle(const void* handle) {
    std::lock_guard lock(registryMutex());
    registry().erase(handle);
}

bool isHandle(const void* handle, HandleKind kind) {
    if (!handle) return false;
    std::lock_guard lock(registryMutex());
    auto it = registry().find(handle);
    return it != registry().end() && it->second == kind;
}

}  // namespace kestrel::editing

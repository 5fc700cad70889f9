#pragma once
// Owners of the engines' opaque handles: each closes its handle exactly once, when the last
// owner goes. Blocking runs share the owner with the worker that runs them, so a window that
// goes away while a run blocks never closes a handle under it.
#include <cstdint>
#include <memory>

namespace kestrel::session {

template <class Traits>
class EngineHandle {
public:
    EngineHandle() = default;
    // Takes over a handle the caller opened; null is allowed and owns nothing.
    explicit EngineHandle(void* handle) : handle_(handle) {}
    ~EngineHandle() { reset(); }
    EngineHandle(EngineHandle&& other) noexcept : handle_(other.release()) {}
    EngineHandle& operator=(EngineHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    EngineHandle(const EngineHandle&) = delete;
    EngineHandle& operator=(const EngineHandle&) = delete;

    // A new handle from the engine's create call; empty when it failed.
    static EngineHandle create() { return EngineHandle(Traits::create()); }

    void* get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void* release() {
        void* handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void reset(void* handle = nullptr) {
        if (handle_) Traits::close(handle_);
        handle_ = handle;
    }

private:
    void* handle_ = nullptr;
};

struct ConvertTraits {
    static void* create();
    static void close(void* handle);
};
struct JoinTraits {
    static void* create();
    static void close(void* handle);
};
struct VirtualVideoTraits {
    static void* create();
    static void close(void* handle);
};
struct ReverseTraits {
    static void* create();
    static void close(void* handle);
};
struct SnapshotTraits {
    static void* create() { return nullptr; }  // opened with a path: rdVEMediaSnapshotOpen
    static void close(void* handle);
};
struct ProbeTraits {
    static void* create() { return nullptr; }  // opened with a path: MediaOpen
    static void close(void* handle);
};

using ConvertHandle = EngineHandle<ConvertTraits>;
using JoinHandle = EngineHandle<JoinTraits>;
using VirtualVideoHandle = EngineHandle<VirtualVideoTraits>;
using ReverseHandle = EngineHandle<ReverseTraits>;
using SnapshotHandle = EngineHandle<SnapshotTraits>;
using ProbeHandle = EngineHandle<ProbeTraits>;

// Opening calls that take a path; empty owners when the engine refused the file.
SnapshotHandle openSnapshot(const char* path);
ProbeHandle openProbe(const char* path);

}  // namespace kestrel::session

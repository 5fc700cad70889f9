#pragma once
// One blocking engine run each: a configured convert, join, edit (virtual video export) or
// reverse handle, run on a worker thread while the main thread reads its progress and may stop
// it. A Job runs them one after another.
#include <cstdint>

#include "session/jobs/engine_handles.h"

namespace kestrel::session {

class EngineRun {
public:
    virtual ~EngineRun() = default;
    // Blocks until the output is complete (>= 1), stopped (-1) or failed; worker thread.
    virtual int32_t run() = 0;
    // Any thread; may block until the output is no longer written, so never the UI thread.
    virtual void stop() = 0;
    // 0..1; any thread.
    virtual double progress() const = 0;
};

class ConvertRun : public EngineRun {
public:
    explicit ConvertRun(ConvertHandle handle) : handle_(std::move(handle)) {}
    void* handle() const { return handle_.get(); }
    int32_t run() override;
    void stop() override;
    double progress() const override;

private:
    ConvertHandle handle_;
};

class JoinRun : public EngineRun {
public:
    explicit JoinRun(JoinHandle handle) : handle_(std::move(handle)) {}
    void* handle() const { return handle_.get(); }
    int32_t run() override;
    void stop() override;
    double progress() const override;

private:
    JoinHandle handle_;
};

// Exports a virtual video whose scenes and output settings are made.
class EditRun : public EngineRun {
public:
    explicit EditRun(VirtualVideoHandle handle) : handle_(std::move(handle)) {}
    void* handle() const { return handle_.get(); }
    int32_t run() override;
    void stop() override;
    double progress() const override;

private:
    VirtualVideoHandle handle_;
};

class ReverseRun : public EngineRun {
public:
    explicit ReverseRun(ReverseHandle handle) : handle_(std::move(handle)) {}
    void* handle() const { return handle_.get(); }
    int32_t run() override;
    void stop() override;
    double progress() const override;

private:
    ReverseHandle handle_;
};

}  // namespace kestrel::session

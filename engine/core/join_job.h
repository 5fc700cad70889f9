#pragma once
// One join run: the clips in order into one output file, by copying packets when every clip
// allows it and by decoding, normalising and re-encoding otherwise. run() blocks; stop() and
// progressPercent() may be called from any thread while it does.
#include <atomic>
#include <mutex>
#include <string>

#include "engine/core/join_settings.h"
#include "engine/core/result_code.h"

namespace kestrel::engine {

class JoinJob {
public:
    // Runs once; the output appears only on success, under its final name, and never replaces
    // an existing file. After stop() it returns ResultCode::Stopped with no file left behind.
    ResultCode run(const JoinSettings& settings);
    // Sticky: a stop before run() makes run() return at once.
    void stop() { stop_requested_ = true; }
    bool stopRequested() const { return stop_requested_; }
    double progressPercent() const { return progress_percent_.load(); }
    const std::string& errorText() const { return error_; }

    // Progress as the pipelines report it: output time written so far over the total.
    void reportProgress(int64_t written_us, int64_t total_us);

private:
    std::atomic<bool> stop_requested_{false};
    std::atomic<double> progress_percent_{0.0};
    std::string error_;
};

}  // namespace kestrel::engine

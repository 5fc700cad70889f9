#pragma once
// Renders a range of a file backwards. The range is cut into pieces at key frames; pieces are
// decoded last first, each into a bounded frame store, and written out in reverse order. The
// sound is dropped, kept forward, or reversed piece by piece.
#include "engine/core/job.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace kestrel::engine {
class MediaInput;
}

namespace kestrel::editing {

struct ReverseSettings {
    std::string input_path;
    std::string output_path;
    int64_t start_us = 0, end_us = 0;   // (0, 0): the whole file
    int audio_mode = 1;                 // 0 remove, 1 keep forward, 2 reverse
    int audio_kbps = 0, video_kbps = 0; // 0: the encoder's choice
    int threads = 0;
    int cache_mb = 10;
};

class ReverseJob : public engine::Job {
public:
    explicit ReverseJob(ReverseSettings settings) : settings_(std::move(settings)) {}
    double progressExact() const { return progress_.load(std::memory_order_relaxed); }

protected:
    engine::ResultCode run() override;

private:
    engine::ResultCode render(engine::MediaInput& input, const std::string& write_path);
    std::atomic<double> progress_{0};
    ReverseSettings settings_;
};

}  // namespace kestrel::editing

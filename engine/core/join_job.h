#pragma once
// One join run: the clips in order into one output file, by copying packets when every clip
// allows it and by decoding, normalising and re-encoding otherwise. start() blocks; stop() and
// the progress may be read from any thread while it runs.
#include <atomic>
#include <string>

#include "engine/core/job.h"
#include "engine/core/join_kept_pieces.h"
#include "engine/core/join_settings.h"

namespace kestrel::engine {

class JoinJob : public Job {
public:
    // Before start(); the settings are read once when the run begins.
    void setSettings(JoinSettings settings) { settings_ = std::move(settings); }
    // How a range is cut keeping the source's packets; without one, ranges that start between
    // key frames are coded again.
    void setPieceCutter(KeptPieceCutter cutter) { cutter_ = std::move(cutter); }
    // Percent with fractions, 100 once the file is in place.
    double exactProgressPercent() const { return exact_percent_.load(std::memory_order_relaxed); }
    const std::string& errorText() const { return error_; }

    // For the pipelines: output time written so far.
    void reportWritten(int64_t written_us, int64_t total_us);

protected:
    ResultCode run() override;

private:
    JoinSettings settings_;
    KeptPieceCutter cutter_;
    std::atomic<double> exact_percent_{0.0};
    std::string error_;
};

}  // namespace kestrel::engine

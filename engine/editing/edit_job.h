#pragma once
// Renders a composition plan into a file: every frame composited, the sound mixed, written
// under a temporary name and moved into place only when everything succeeded.
#include "engine/core/job.h"
#include "engine/editing/composition.h"
#include "engine/editing/composition_plan.h"

#include <atomic>

namespace kestrel::editing {

class EditJob : public engine::Job {
public:
    EditJob(CompositionPlan plan, OutputSettings output) : plan_(std::move(plan)), output_(std::move(output)) {}
    // 0..100 with fractions; 100 once the file is in place.
    double progressExact() const { return progress_.load(std::memory_order_relaxed); }
    // True when a media asks for face slimming or eye enlarging, which need the landmark model.
    bool needsLandmarks() const;

protected:
    engine::ResultCode run() override;

private:
    engine::ResultCode render(const std::string& write_path);

    CompositionPlan plan_;
    OutputSettings output_;
    std::atomic<double> progress_{0};
};

}  // namespace kestrel::editing

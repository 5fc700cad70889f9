#include "engine/core/join_job.h"

#include <algorithm>

#include "engine/core/join_pipelines.h"
#include "engine/core/join_plan.h"
#include "engine/core/media_output.h"
#include "engine/core/output_file.h"

namespace kestrel::engine {

void JoinJob::reportWritten(int64_t written_us, int64_t total_us) {
    if (total_us <= 0) return;
    const double fraction = std::clamp(static_cast<double>(written_us) / static_cast<double>(total_us), 0.0, 0.999);
    // Never backwards: the streams of a file are written a little out of step.
    if (fraction * 100.0 > exact_percent_.load(std::memory_order_relaxed))
        exact_percent_.store(fraction * 100.0, std::memory_order_relaxed);
    setProgress(fraction);
}

ResultCode JoinJob::run() {
    exact_percent_.store(0.0);
    JoinPlan plan;
    ResultCode result = makeJoinPlan(settings_, &plan, &error_);
    if (result != ResultCode::Ok) return result;
    if (stopRequested()) return ResultCode::Stopped;

    OutputFile file;
    result = file.prepare(settings_.output_path);
    if (result != ResultCode::Ok) {
        error_ = "cannot write " + settings_.output_path;
        return result;
    }
    std::unique_ptr<MediaOutput> output = MediaOutput::open(file.temporaryPath(), file.targetPath(), &error_);
    if (!output) return ResultCode::WriteFailed;
    bool encode = !plan.copy_packets;
    if (plan.copy_packets) {
        result = copyJoin(plan, *output, *this, &error_);
    } else if (cutter_ && joinsKeptPieces(settings_, plan)) {
        result = keptPiecesJoin(settings_, plan, cutter_, *output, *this, &error_, &encode);
    }
    if (encode) result = encodeJoin(plan, *output, *this, &error_);
    if (result == ResultCode::Ok && output->finish() < 0) {
        error_ = "cannot finish " + settings_.output_path;
        result = ResultCode::WriteFailed;
    }
    output.reset();  // closes the file before it is renamed or removed
    if (result == ResultCode::Ok && stopRequested()) result = ResultCode::Stopped;
    if (result == ResultCode::Ok) result = file.commit();
    if (result == ResultCode::Ok) exact_percent_.store(100.0);
    return result;  // the temporary file goes with `file` unless committed
}

}  // namespace kestrel::engine

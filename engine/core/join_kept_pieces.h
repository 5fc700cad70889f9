#pragma once
// Joining ranges that start between key frames without coding them again whole: each range is
// cut on its own as a keep-original cut does (its packets copied between key frames, only the
// pictures at its two ends coded again), and the pieces, which then start and end exactly where
// asked, are joined by copying where they share their codec parameters.
#include <cstdint>
#include <functional>
#include <string>

#include "engine/core/join_plan.h"
#include "engine/core/media_output.h"
#include "engine/core/result_code.h"

namespace kestrel::engine {

class JoinJob;

// One range of a source written as a keep-original cut into output_path (a temporary file; its
// container is that of container_path's extension).
struct KeptPiece {
    std::string source_path;
    int64_t start_us = 0;
    int64_t end_us = 0;
    std::string output_path;
    std::string container_path;
};
using KeptPieceCutter = std::function<ResultCode(const KeptPiece& piece, const std::function<bool()>& stopped,
                                                 const std::function<void(double)>& progress)>;

// Whether the plan's clips may be cut into kept pieces and joined by copying: nothing but their
// starts between key frames keeps them from being copied, and their pictures are H.264 or HEVC.
bool joinsKeptPieces(const JoinSettings& settings, const JoinPlan& plan);

// Cuts the pieces beside the output and joins them by copying. Sets *refused (and writes
// nothing to output) when the pieces came out with codec parameters that differ.
ResultCode keptPiecesJoin(const JoinSettings& settings, JoinPlan& plan, const KeptPieceCutter& cutter,
                          MediaOutput& output, JoinJob& job, std::string* error, bool* refused);

}  // namespace kestrel::engine

#pragma once
// The filter graph of a re-encoding join, as libavfilter text. Clip i's decoded picture enters at
// the label "v<i>" and its sound at "a<i>" (times counted from the start of its range, in µs);
// the joined streams leave at "vout" and "aout". Every clip is normalised to the output: turned
// upright, fitted into the frame with black bars, brought to the output frame rate, and cut or
// padded to exactly its range length, so picture and sound stay together across boundaries.
#include <string>

#include "engine/core/join_plan.h"

namespace kestrel::engine {

struct JoinGraphFormats {
    std::string pixel_format = "yuv420p";  // what the video encoder takes
    std::string sample_format = "fltp";    // what the audio encoder takes
};

std::string joinFilterGraph(const JoinPlan& plan, const JoinGraphFormats& formats);

// The xfade transition name for a transition kind.
const char* joinTransitionName(JoinTransitionKind kind);

}  // namespace kestrel::engine

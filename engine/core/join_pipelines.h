#pragma once
// The two ways a join writes its output: copying the clips' packets, or decoding them through
// one filter graph and encoding the result.
#include <string>

#include "engine/core/join_plan.h"
#include "engine/core/media_output.h"
#include "engine/core/result_code.h"

namespace kestrel::engine {

class JoinJob;

ResultCode copyJoin(JoinPlan& plan, MediaOutput& output, JoinJob& job, std::string* error);
ResultCode encodeJoin(JoinPlan& plan, MediaOutput& output, JoinJob& job, std::string* error);

}  // namespace kestrel::engine

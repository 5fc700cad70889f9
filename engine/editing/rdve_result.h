#pragma once
// Result values of the C interface, from the core's codes.
#include "engine/core/result_code.h"

#include <cstdint>

namespace kestrel::editing {

constexpr int32_t kOk = 1;
constexpr int32_t kBadHandle = -7;  // the core's BadArgument: null, closed or foreign handle
constexpr int32_t kNotAvailable = -12;  // an effect this engine does not render yet

inline int32_t result(engine::ResultCode code) { return static_cast<int32_t>(engine::toInt(code)); }

}  // namespace kestrel::editing

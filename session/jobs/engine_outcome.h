#pragma once
// One reading of the engines' result values, so that no caller tests `< 1`, `== 0` or `>= 0`
// for the same meaning. Blocking runs (convert, join, edit, reverse) return >= 1 when the output
// is complete, -1 when they were stopped, another negative code when they failed. Setters and
// queries return >= 1 on success.
#include <cstdint>

namespace kestrel::session {

enum class Outcome { Done, Stopped, Failed };

// The engines' "stopped" code (the run returned because Stop was asked).
constexpr int32_t kStoppedCode = -1;

// What a blocking run's return value means.
Outcome runOutcome(int32_t result);

// A setter or query accepted its value.
inline bool accepted(int32_t result) { return result >= 1; }

// The join's clip call returns the clip's id (>= 1), 0 on failure.
inline bool clipAdded(int64_t clipId) { return clipId >= 1; }

const char* outcomeName(Outcome outcome);

}  // namespace kestrel::session

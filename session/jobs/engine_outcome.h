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

// A set-up call that refused its value, read as the cause the call stands for: the transcoding
// engine's setters answer any refusal with -1, the code a run gives for "stopped". A code that
// names a cause of its own (-2 and below) is kept.
int32_t refusalCode(int32_t result, int32_t cause);

const char* outcomeName(Outcome outcome);

}  // namespace kestrel::session

#include "session/jobs/engine_outcome.h"

namespace kestrel::session {

Outcome runOutcome(int32_t result) {
    if (result >= 1) return Outcome::Done;
    if (result == kStoppedCode) return Outcome::Stopped;
    return Outcome::Failed;
}

int32_t refusalCode(int32_t result, int32_t cause) { return result <= -2 ? result : cause; }

const char* outcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::Done: return "done";
    case Outcome::Stopped: return "stopped";
    case Outcome::Failed: return "failed";
    }
    return "?";
}

}  // namespace kestrel::session

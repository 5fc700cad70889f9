#pragma once
// Whether a hardware video encoder works on this machine. A listed encoder proves nothing: the
// device, its driver or a session may be missing, so each candidate encodes one small picture.
#include <string>

namespace kestrel::engine {

// The name of the first H.264 or HEVC hardware encoder that turned one picture into a packet,
// or "" when none did. Slow (it opens devices): callers ask once and keep the answer.
std::string firstWorkingHardwareEncoder();

}  // namespace kestrel::engine

#pragma once
// The bounds every GIF maker output keeps, whatever the fields held: frame rates 1 to 120, sides
// even and from 2 to kMaxSide pixels (a GIF or picture larger than that is a typing slip that
// would exhaust memory, not a wish).
#include <cstdint>

namespace kestrel::session {

constexpr double kGifMinFps = 1.0;
constexpr double kGifMaxFps = 120.0;
constexpr int kGifMaxSide = 4096;

// The frame rate held to 1..120; a non-number becomes 1.
double clampGifFps(double fps);
// A side held to 2..kGifMaxSide and made even (an odd side is rounded up, as the size fields
// promise: 301 becomes 302).
int clampGifSide(int64_t side);

}  // namespace kestrel::session

#pragma once
// One picture of a file, upright (its display rotation applied), scaled to the caller's size.
#include "engine/core/media_input.h"
#include "engine/core/result_code.h"

#include <cstdint>

namespace kestrel::mediacore {

// Writes width x height BGRA pixels (rows of width*4 bytes) of the frame shown at time_us.
engine::ResultCode snapshotBGRA(engine::MediaInput& input, int64_t time_us, int width, int height, uint8_t* buffer);

}  // namespace kestrel::mediacore

#pragma once
// Live convert and join jobs behind the transcoding engine's handles.
#include "engine/core/shared_handles.h"

namespace kestrel::mediacore {

template <typename T>
using HandleRegistry = engine::SharedHandles<T>;

}  // namespace kestrel::mediacore

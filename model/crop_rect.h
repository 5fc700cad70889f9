#pragma once
// Four int32 edges in video pixels: the crop handed to the transcoding engine (pixels cut from
// the left, top, right and bottom of the frame).
#include <cstdint>

namespace kestrel::model {

struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const RECT&) const = default;
};

}  // namespace kestrel::model

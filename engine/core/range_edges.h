#pragma once
// Which pictures a range of a file's time line holds, one rule for every engine that takes a
// range (cut, split, join): the pictures that start inside it, from the first one shown at or
// after its start up to the last one shown before its end. A range's edges are moved onto the
// starts of those pictures, so that every engine sees the same pictures and a range is a whole
// number of pictures long.
#include "engine/core/media_input.h"

#include <cstdint>

namespace kestrel::engine {

// Containers that store times in milliseconds round them to the nearest: a picture that starts
// up to this much before an edge starts at it.
constexpr int64_t kRangeEdgeSlackUs = 500;

struct RangeEdges {
    int64_t start_us = 0;
    int64_t end_us = 0;  // 0: to the end of the file
};

// The edges of [start_us, end_us) moved forward onto the start of the first picture shown at or
// after each (for a constant frame rate; a variable-rate picture or a file without one keeps the
// edges asked). A range that holds no picture start keeps the one shown at its start.
RangeEdges pictureEdges(const MediaInput& input, int64_t start_us, int64_t end_us);

}  // namespace kestrel::engine

#pragma once
// How the pictures an encoder is given are to be turned into colours: matrix, range, primaries
// and transfer. Written into the file, so that a player shows its colours as the preview did
// (the preview converts with the source's own description; a file without one is read as
// standard definition, which shifts every colour of a high-definition source).
#include "engine/core/filter_graph.h"

namespace kestrel::engine {

struct ColourDescription {
    int range = 0;       // AVColorRange; 0: unspecified
    int space = 2;       // AVColorSpace; 2: unspecified
    int primaries = 2;   // AVColorPrimaries
    int transfer = 2;    // AVColorTransferCharacteristic
};

// The description of the source's pictures once the graph has made them output_pixel_format:
// the source's own for YUV kept as YUV (its range changed where the graph converts between the
// full-range formats and the others), BT.601 for RGB made YUV (the converter's matrix), none
// for RGB output.
ColourDescription outputColours(const VideoSourceParams& source, int output_pixel_format);

}  // namespace kestrel::engine

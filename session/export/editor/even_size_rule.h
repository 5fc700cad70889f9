#pragma once
// Whether an editor export writes even picture sizes only: the encoder the output choice leads
// to (H.264, HEVC and most others) takes 4:2:0 or 4:2:2 pictures, so the engine rounds an odd
// width or height down. The crop panel asks before it offers and shows sizes, so that the size
// it shows is the size of the written file.
#include "model/simple_data.h"
#include "session/export/output_choice.h"

namespace kestrel::session {

// The answer of the convert engine for the record's input, the choice's video codec and the
// record's target extension (the source's when none is chosen); true when it cannot tell.
bool exportWritesEvenSizes(const kestrel::model::SimpleData& record, const OutputChoice& choice);

}  // namespace kestrel::session

#pragma once
// What ffmpeg prints while decoding, less the notes its decoders print of every stream of a
// kind, fault or not: H.261 has no picture type, so its decoder takes each first picture for a
// predicted one and says "warning: first frame is no keyframe" of any H.261 stream.
#include <string>

namespace kestrel::test {

std::string withoutDecoderNotes(const std::string& printed);

}  // namespace kestrel::test

#pragma once
// Encoders from the codec names output profiles use ("h264", "aac", "mpeg4", "libx264", "mp3"...).
#include "engine/core/ff_handles.h"

#include <string>

namespace kestrel::engine {

// The encoder a name stands for, of the given kind; null when there is none. Software encoders
// are preferred, so "h264" is libx264.
const AVCodec* findEncoderByName(const std::string& name, AVMediaType type);
// The software encoder for a codec, null when none is built in.
const AVCodec* findEncoder(AVCodecID id);

}  // namespace kestrel::engine

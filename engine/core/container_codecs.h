#pragma once
// What an output container holds, where FFmpeg cannot say by itself, and which file types are
// sound only.
#include "engine/core/ff_handles.h"

#include <string>

namespace kestrel::engine {

// True for names whose extension is a sound file type (mp3, m4a, wav, ...): the picture of a
// video source is left out of them. Containers that may hold video (mka, ogv) are not.
bool isAudioOnlyName(const std::string& name);

// False for sound codecs a sound file type's container would take but its players do not expect
// (AAC in a .wav or .wma): those files are written in the type's own codecs.
bool suitsSoundType(const std::string& name, AVCodecID codec);

// The name whose extension FFmpeg knows for this one's container ("a.m4r" -> "a.m4a").
std::string muxerNameFor(const std::string& name);

// Codecs the muxer writes, for muxers that cannot answer avformat_query_codec; besides their
// own default codecs.
bool mapsKnownCodec(const AVOutputFormat* format, AVCodecID codec);

// Codecs a muxer names as its own but refuses when the file is set up (Matroska and RealVideo
// 1 and 2 or RealAudio): such streams are encoded anew instead of copied.
bool refusesOnSetUp(const AVOutputFormat* format, AVCodecID codec);

}  // namespace kestrel::engine

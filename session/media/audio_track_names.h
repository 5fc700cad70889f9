#pragma once
// How an audio stream is named in the audio-track box: its number, its language when the file
// says which, its channels and its sample rate, in the interface language.
#include <QString>

#include "model/audio_stream_info.h"

namespace kestrel::session {

// position: the stream's place in the file's list of audio streams, from 0.
QString audioTrackName(const kestrel::model::AudioStreamInfo& stream, int position);
// The language of an ISO 639 code ("eng", "fr", "ger") in its own words; empty when the code
// names no language ("und", "", unknown codes).
QString languageNameOfCode(const QString& code);

}  // namespace kestrel::session

#pragma once
// Fills the probe's stream records from an opened input.
#include "engine/core/media_input.h"
#include "engine/core/media_records.h"

namespace kestrel::mediacore {

void fillAudioInfo(const engine::MediaInput& input, int stream_index, MediaAudioInfo* record);
void fillVideoInfo(const engine::MediaInput& input, int stream_index, MediaVideoInfo* record);

}  // namespace kestrel::mediacore

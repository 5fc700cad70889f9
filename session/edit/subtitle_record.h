#pragma once
// The subtitle record the preview player and the transcoding job take, filled from the job's
// subtitle settings, and the export's subtitle step.
#include <optional>

#include "engine/core/media_records.h"
#include "model/subtitle_param.h"

namespace kestrel::session {

// Empty when a path does not fit its 259-byte field (a shortened path would name another file).
// An empty subtitle path gives the record that removes the subtitle.
std::optional<SubtitleRecord> makeSubtitleRecord(const kestrel::model::SubtitleParam& param);

// Burns the subtitle into the job when the settings name a file. 1 when nothing is to be done or
// the job took it; 0 or below when the job refused it or a path is too long.
int addConvertSubtitle(void* job, const kestrel::model::SubtitleParam& param);

}  // namespace kestrel::session

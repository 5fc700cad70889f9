#pragma once
// The editor's export of one clip: crop, a text watermark, burnt-in subtitles and music, against
// one ffmpeg command doing the same work in its fastest form.
#include <string>

namespace kestrel::bench {

// Makes the inputs in dir (cached), times both sides `repeats` times in child processes and
// prints "job=editexport60 ..." with wall time, ratio and peak memory. False when a side failed.
bool runEditExport60(const std::string& dir, int repeats);

}  // namespace kestrel::bench

#pragma once
// Whether a subtitle file can be drawn in bounded time and memory. The subtitle renderer keeps
// every cue in memory and lays out each line it shows; a file of millions of cues or a line of
// megabytes (a mislabelled or hostile file, never a real subtitle) would stall a whole export.
#include <cstdint>
#include <string>

namespace kestrel::engine {

struct SubtitleLimits {
    int64_t max_file_bytes = 4 * 1024 * 1024;  // a feature film's subtitles take ~100 KB
    int64_t max_line_bytes = 4096;
    int64_t max_cues = 50000;
};

// True when the file is a regular file within the limits; why tells what is wrong otherwise.
bool subtitleWithinLimits(const std::string& path, std::string* why = nullptr,
                          const SubtitleLimits& limits = SubtitleLimits());

}  // namespace kestrel::engine

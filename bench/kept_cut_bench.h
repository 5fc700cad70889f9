#pragma once
// Keep-original cuts and merges (no codec given) against the ffmpeg command line's exact cuts,
// which re-encode: H.264 with closed and open groups of pictures, HEVC 8-bit and main10, and
// three ranges of one file merged.
#include <string>

namespace kestrel::bench {

// Makes the inputs in dir (cached), times the jobs (all, or only the one named) `repeats` times
// alternating with the command line and prints one "job=NAME engine_s=X cli_s=Y ratio=R" line each.
void runKeptCutJobs(const std::string& dir, int repeats, const std::string& only);

// Whether the job is one of runKeptCutJobs'.
bool isKeptCutJob(const std::string& name);

}  // namespace kestrel::bench

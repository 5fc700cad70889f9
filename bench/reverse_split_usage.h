#pragma once
// Wall time and peak memory of one job run in a child process, for the reverse and split
// benches: an engine job in a forked copy of the bench, a command line through exec.
#include <functional>
#include <string>
#include <vector>

namespace kestrel::bench {

struct ChildUsage {
    bool ok = false;
    double wall_s = 0;
    double peak_mb = 0;   // the child's maximum resident set size
    double cpu_s = 0;     // the child's processor time (user + system, all its threads)
};

// Best of `repeats` alternating runs of two child jobs (by wall time), so a change in machine
// load hits both alike; false when any run failed.
bool bestOfAlternating(int repeats, const std::function<ChildUsage()>& first, const std::function<ChildUsage()>& second,
                       ChildUsage* first_best, ChildUsage* second_best);

// Runs job in a forked child; the child exits 0 when job returns true.
ChildUsage runForked(const std::function<bool()>& job);

// Runs a program with its arguments (looked up on PATH), its output discarded.
ChildUsage runProgram(const std::vector<std::string>& argv);

// The one line a job gives: "job=NAME engine_s=X cli_s=Y ratio=R engine_peak_mb=A cli_peak_mb=B",
// and the processor times on stderr.
void printUsageLine(const std::string& name, const ChildUsage& engine, const ChildUsage& cli);

// Removes a previous output so neither side ever finds its target taken.
void removeOutput(const std::string& path);

}  // namespace kestrel::bench

#pragma once
// Shared by the engine benches: timing, the ffmpeg command line, and cached input media.
#include <functional>
#include <string>

namespace kestrel::bench {

// Runs a shell command; returns its exit code and, when asked, what it printed.
int runShell(const std::string& command, std::string* output = nullptr);

// Quotes a path for the shell.
std::string shellQuote(const std::string& text);

// Container duration in seconds according to ffprobe; -1 when it cannot tell.
double probeDurationSeconds(const std::string& path);

// Generates path with `ffmpeg <args> path` unless it is already there (inputs are cached
// between runs). Exits the program with a message when ffmpeg fails.
void ensureMedia(const std::string& path, const std::string& ffmpeg_args);

struct Timing {
    double wall_s = 0;  // best of the runs
    double cpu_s = 0;   // processor time of that run (user + system, threads and children included)
};

// One timed run of job; `before` runs untimed first (removing the previous output). A job that
// returns false ends the program with a message. Processor time is counted for this process
// (in-process engine jobs) or for its children (command-line jobs).
Timing timeOnce(const std::function<void()>& before, const std::function<bool()>& job, bool in_children,
                const std::string& what);

// Best of `repeats` alternating runs of two jobs, so a change in machine load hits both alike.
void timeAlternating(int repeats, const std::function<Timing()>& first, const std::function<Timing()>& second,
                     Timing* first_best, Timing* second_best);

// Prints the one result line a job gives, "job=NAME engine_s=X cli_s=Y ratio=R", on stdout, and
// the processor times on stderr.
void printJobLine(const std::string& name, const Timing& engine, const Timing& cli);

// Warns on stderr when the two outputs' durations differ by more than tolerance_s, so a fast
// but wrong engine result does not pass as a win.
void compareDurations(const std::string& job, const std::string& engine_out, const std::string& cli_out,
                      double tolerance_s);

}  // namespace kestrel::bench

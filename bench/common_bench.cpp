#include "bench/common_bench.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <utility>

namespace kestrel::bench {

int runShell(const std::string& command, std::string* output) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    std::string text;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    const int status = pclose(pipe);
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

double probeDurationSeconds(const std::string& path) {
    std::string out;
    const int rc = runShell("ffprobe -v error -show_entries format=duration -of csv=p=0 " + shellQuote(path), &out);
    if (rc != 0) return -1;
    char* end = nullptr;
    const double seconds = std::strtod(out.c_str(), &end);
    return end == out.c_str() ? -1 : seconds;
}

void ensureMedia(const std::string& path, const std::string& ffmpeg_args) {
    if (std::filesystem::exists(path)) return;
    const std::string partial = path + ".part.mp4";
    std::filesystem::remove(partial);
    std::string out;
    std::cerr << "generating " << path << " ...\n";
    if (runShell("ffmpeg -nostdin -hide_banner -loglevel error " + ffmpeg_args + " " + shellQuote(partial), &out) != 0) {
        std::cerr << "ffmpeg failed to make " << path << ":\n" << out << '\n';
        std::exit(2);
    }
    std::filesystem::rename(partial, path);
}

namespace {

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

Timing timeOnce(const std::function<void()>& before, const std::function<bool()>& job, bool in_children,
                const std::string& what) {
    before();
    const int who = in_children ? RUSAGE_CHILDREN : RUSAGE_SELF;
    const double cpu_start = cpuSeconds(who);
    const auto start = std::chrono::steady_clock::now();
    const bool ok = job();
    Timing timing;
    timing.wall_s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    timing.cpu_s = cpuSeconds(who) - cpu_start;
    if (!ok) {
        std::cerr << what << " failed\n";
        std::exit(3);
    }
    return timing;
}

void timeAlternating(int repeats, const std::function<Timing()>& first, const std::function<Timing()>& second,
                     Timing* first_best, Timing* second_best) {
    first_best->wall_s = second_best->wall_s = INFINITY;
    for (int i = 0; i < std::max(1, repeats); ++i) {
        for (auto [run, best] : {std::pair{&first, first_best}, std::pair{&second, second_best}}) {
            const Timing t = (*run)();
            if (t.wall_s < best->wall_s) *best = t;
        }
    }
}

void printJobLine(const std::string& name, const Timing& engine, const Timing& cli) {
    std::printf("job=%s engine_s=%.3f cli_s=%.3f ratio=%.3f\n", name.c_str(), engine.wall_s, cli.wall_s,
                cli.wall_s > 0 ? engine.wall_s / cli.wall_s : 0.0);
    std::fflush(stdout);
    std::fprintf(stderr, "  %s processor time: engine %.2f s, cli %.2f s\n", name.c_str(), engine.cpu_s, cli.cpu_s);
}

void compareDurations(const std::string& job, const std::string& engine_out, const std::string& cli_out,
                      double tolerance_s) {
    const double engine_d = probeDurationSeconds(engine_out);
    const double cli_d = probeDurationSeconds(cli_out);
    if (engine_d < 0 || cli_d < 0 || std::fabs(engine_d - cli_d) > tolerance_s) {
        std::cerr << "warning: " << job << " durations differ: engine " << engine_d << " s, cli " << cli_d << " s\n";
    }
}

}  // namespace kestrel::bench

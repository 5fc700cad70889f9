#include "bench/common_bench.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sys/wait.h>

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

double bestSeconds(int repeats, const std::function<void()>& before, const std::function<bool()>& job,
                   const std::string& what) {
    double best = INFINITY;
    for (int i = 0; i < std::max(1, repeats); ++i) {
        before();
        const auto start = std::chrono::steady_clock::now();
        const bool ok = job();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            std::cerr << what << " failed\n";
            std::exit(3);
        }
        best = std::min(best, seconds);
    }
    return best;
}

void printJobLine(const std::string& name, double engine_s, double cli_s) {
    std::printf("job=%s engine_s=%.3f cli_s=%.3f ratio=%.3f\n", name.c_str(), engine_s, cli_s,
                cli_s > 0 ? engine_s / cli_s : 0.0);
    std::fflush(stdout);
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

#include "bench/reverse_split_usage.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace kestrel::bench {

namespace {

// Waits for the child and collects its own usage (wait4, not RUSAGE_CHILDREN, so one child's
// peak never shows up as another's).
ChildUsage finish(pid_t pid, std::chrono::steady_clock::time_point start) {
    ChildUsage usage;
    if (pid < 0) return usage;
    int status = 0;
    rusage resources{};
    if (wait4(pid, &status, 0, &resources) != pid) return usage;
    usage.wall_s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    usage.peak_mb = resources.ru_maxrss / 1024.0;  // kilobytes on Linux
    usage.cpu_s = resources.ru_utime.tv_sec + resources.ru_stime.tv_sec +
                  (resources.ru_utime.tv_usec + resources.ru_stime.tv_usec) / 1e6;
    usage.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return usage;
}

}  // namespace

ChildUsage runForked(const std::function<bool()>& job) {
    std::fflush(nullptr);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) _exit(job() ? 0 : 1);
    return finish(pid, start);
}

ChildUsage runProgram(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::fflush(nullptr);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_WRONLY);
        if (null >= 0) dup2(null, STDOUT_FILENO), dup2(null, STDERR_FILENO);
        execvp(args[0], args.data());
        _exit(127);
    }
    return finish(pid, start);
}

bool bestOfAlternating(int repeats, const std::function<ChildUsage()>& first, const std::function<ChildUsage()>& second,
                       ChildUsage* first_best, ChildUsage* second_best) {
    *first_best = ChildUsage{};
    *second_best = ChildUsage{};
    for (int i = 0; i < std::max(1, repeats); ++i) {
        for (auto [run, best] : {std::pair{&first, first_best}, std::pair{&second, second_best}}) {
            const ChildUsage usage = (*run)();
            if (!usage.ok) return false;
            if (!best->ok || usage.wall_s < best->wall_s) *best = usage;
        }
    }
    return true;
}

void printUsageLine(const std::string& name, const ChildUsage& engine, const ChildUsage& cli) {
    std::printf("job=%s engine_s=%.2f cli_s=%.2f ratio=%.2f engine_peak_mb=%.0f cli_peak_mb=%.0f\n", name.c_str(),
                engine.wall_s, cli.wall_s, cli.wall_s > 0 ? engine.wall_s / cli.wall_s : 0.0, engine.peak_mb,
                cli.peak_mb);
    std::fflush(stdout);
    std::fprintf(stderr, "  %s processor time: engine %.2f s, cli %.2f s\n", name.c_str(), engine.cpu_s, cli.cpu_s);
}

void removeOutput(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

}  // namespace kestrel::bench

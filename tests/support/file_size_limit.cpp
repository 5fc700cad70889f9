#include "tests/support/file_size_limit.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace kestrel::test {

namespace {

void limitFileSize(long bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// A private mount namespace, so the tmpfs is seen by this child only and goes with it.
bool mountSmallTmpfs(const std::string& folder, long bytes) {
    if (::unshare(CLONE_NEWNS) != 0) return false;
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    const std::string options = "size=" + std::to_string(std::max(1L, bytes / 1024)) + "k";
    return ::mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

void writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += size_t(n);
    }
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

ScopedFileSizeLimit::ScopedFileSizeLimit(long bytes) {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    previous_soft_ = limit.rlim_cur;
    previous_hard_ = limit.rlim_max;
    previous_handler_ = ::signal(SIGXFSZ, SIG_IGN);
    limitFileSize(bytes);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
    rlimit limit{rlim_t(previous_soft_), rlim_t(previous_hard_)};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, previous_handler_);
}

FullDiskRun runOnFullDisk(const std::string& output_folder, long bytes, const std::function<int()>& work,
                          FullDiskKind kind, int timeout_s) {
    FullDiskRun run;
    int channel[2];
    if (::pipe(channel) != 0) {
        run.failure = "no pipe";
        return run;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        run.failure = "no fork";
        return run;
    }
    if (child == 0) {
        ::close(channel[0]);
        const bool tmpfs = kind == FullDiskKind::TmpfsIfAllowed && mountSmallTmpfs(output_folder, bytes);
        if (!tmpfs) limitFileSize(bytes);
        const int result = work();
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(output_folder, ec))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string report = std::to_string(result) + "\n" + (tmpfs ? "tmpfs" : "limit") + "\n";
        for (const std::string& name : names) report += name + "\n";
        writeAll(channel[1], report);
        ::close(channel[1]);
        ::_exit(0);  // no exit handlers: they belong to the parent's test program
    }
    ::close(channel[1]);
    std::string report;
    timespec began{};
    ::clock_gettime(CLOCK_MONOTONIC, &began);
    bool timed_out = false;
    for (;;) {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        const long left_ms = timeout_s * 1000L - ((now.tv_sec - began.tv_sec) * 1000L + (now.tv_nsec - began.tv_nsec) / 1000000L);
        if (left_ms <= 0) {
            timed_out = true;
            break;
        }
        pollfd wait{channel[0], POLLIN, 0};
        if (::poll(&wait, 1, int(std::min(left_ms, 1000L))) < 0 && errno != EINTR) break;
        if (!(wait.revents & (POLLIN | POLLHUP))) continue;
        char buffer[4096];
        const ssize_t n = ::read(channel[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        report.append(buffer, size_t(n));
    }
    ::close(channel[0]);
    if (timed_out) ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    if (timed_out) {
        run.failure = "still running after " + std::to_string(timeout_s) + " s";
        return run;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        run.failure = WIFSIGNALED(status) ? std::string("killed by signal ") + std::to_string(WTERMSIG(status))
                                          : "exit code " + std::to_string(WEXITSTATUS(status));
        return run;
    }
    std::vector<std::string> lines = splitLines(report);
    if (lines.size() < 2) {
        run.failure = "no report from the child";
        return run;
    }
    run.finished = true;
    run.result = std::stoi(lines[0]);
    run.tmpfs = lines[1] == "tmpfs";
    run.entries.assign(lines.begin() + 2, lines.end());
    return run;
}

void expectCleanFailureOnFullDisk(const std::string& output_folder, const std::string& output,
                                  const std::function<int()>& work, int failure_code) {
    // With room the same work succeeds: the failures below are the full disk's.
    ASSERT_EQ(work(), 1);
    std::error_code ec;
    const long full_size = long(std::filesystem::file_size(output, ec));
    ASSERT_FALSE(ec) << output;
    std::filesystem::remove(output);
    ASSERT_TRUE(std::filesystem::is_empty(output_folder));

    struct Room {
        const char* name;
        long bytes;
        FullDiskKind kind;
    };
    const long small = std::min(16L * 1024, full_size / 2);
    const Room rooms[] = {
        {"a small tmpfs", small, FullDiskKind::TmpfsIfAllowed},
        {"a small size limit", small, FullDiskKind::SizeLimit},
        {"room for all but the last bytes", full_size - 16, FullDiskKind::SizeLimit},
    };
    for (const Room& room : rooms) {
        SCOPED_TRACE(std::string(room.name) + ", " + std::to_string(room.bytes) + " of " + std::to_string(full_size) + " bytes");
        FullDiskRun run = runOnFullDisk(output_folder, room.bytes, work, room.kind);
        ASSERT_TRUE(run.finished) << run.failure;
        EXPECT_EQ(run.result, failure_code);
        EXPECT_EQ(run.entries, std::vector<std::string>{});
        EXPECT_TRUE(std::filesystem::is_empty(output_folder));
    }
}

}  // namespace kestrel::test

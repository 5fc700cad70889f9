#include "engine/core/outputs_in_progress.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <unistd.h>

namespace kestrel::engine {

namespace fs = std::filesystem;

namespace {

constexpr const char* kRecordSuffix = ".outputs";

// When the process started, in clock ticks since boot (field 22 of /proc/PID/stat); 0 when it
// does not run. With the process id it names one process, even after the id is reused.
unsigned long long startTicksOf(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t name_end = text.rfind(')');
    if (name_end == std::string::npos) return 0;
    std::istringstream fields(text.substr(name_end + 1));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i)
        if (i == 22) return std::strtoull(field.c_str(), nullptr, 10);
    return 0;
}

// ".kestrel-PID-..." partial names of output_file.h, and only those of the given process.
bool isPartialOutputOf(const fs::path& path, long pid) {
    const std::string name = path.filename().string();
    const std::string head = ".kestrel-" + std::to_string(pid) + "-";
    return name.compare(0, head.size(), head) == 0 && name.size() > head.size() + 5 &&
           name.compare(name.size() - 5, 5, ".part") == 0;
}

struct Recorder {
    std::mutex mutex;
    std::string folder;
    std::set<std::string> partial_paths;
    std::string record_name;

    std::string recordPath() {
        if (record_name.empty())
            record_name = std::to_string(::getpid()) + "-" + std::to_string(startTicksOf(::getpid())) + kRecordSuffix;
        return (fs::path(folder) / record_name).string();
    }

    // Written whole under another name and renamed over the record, so a kill mid-write leaves
    // the former list, never half a one.
    void write() {
        if (folder.empty()) return;
        const std::string record = recordPath();
        if (partial_paths.empty()) {
            std::remove(record.c_str());
            return;
        }
        const std::string fresh = record + ".new";
        {
            std::ofstream out(fresh, std::ios::trunc);
            for (const std::string& path : partial_paths) out << path << '\n';
            if (!out) return;
        }
        std::rename(fresh.c_str(), record.c_str());
    }
};

Recorder& recorder() {
    static Recorder instance;
    return instance;
}

}  // namespace

void setOutputsInProgressFolder(const std::string& folder) {
    Recorder& r = recorder();
    std::lock_guard lock(r.mutex);
    r.folder = folder;
    r.write();
}

void noteOutputStarted(const std::string& partial_path) {
    Recorder& r = recorder();
    std::lock_guard lock(r.mutex);
    if (r.folder.empty()) return;
    std::error_code ec;
    r.partial_paths.insert(fs::absolute(partial_path, ec).string());
    r.write();
}

void noteOutputEnded(const std::string& partial_path) {
    Recorder& r = recorder();
    std::lock_guard lock(r.mutex);
    if (r.folder.empty()) return;
    std::error_code ec;
    if (r.partial_paths.erase(fs::absolute(partial_path, ec).string()) > 0) r.write();
}

int removeOutputsOfEndedProcesses(const std::string& folder) {
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        long pid = 0;
        unsigned long long ticks = 0;
        char suffix[16] = {};
        if (std::sscanf(name.c_str(), "%ld-%llu%15s", &pid, &ticks, suffix) != 3) continue;
        const std::string rest = suffix;
        if (rest != kRecordSuffix && rest != std::string(kRecordSuffix) + ".new") continue;
        if (pid <= 0 || startTicksOf(pid) == ticks) continue;   // that process still runs
        std::ifstream list(it->path());
        for (std::string line; std::getline(list, line);) {
            const fs::path partial(line);
            if (line.empty() || !isPartialOutputOf(partial, pid)) continue;
            if (fs::is_regular_file(fs::symlink_status(partial, ec)) && fs::remove(partial, ec)) ++removed;
        }
        fs::remove(it->path(), ec);
    }
    return removed;
}

}  // namespace kestrel::engine

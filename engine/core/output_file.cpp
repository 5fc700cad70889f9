#include "engine/core/output_file.h"

#include "engine/core/outputs_in_progress.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrel::engine {

namespace fs = std::filesystem;

bool renameNoReplace(const std::string& from, const std::string& to, int* error_number) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    int err = errno;
    if (err == EINVAL || err == ENOSYS) {
        // File systems without the flag: a hard link also refuses to replace.
        if (::link(from.c_str(), to.c_str()) == 0) {
            ::unlink(from.c_str());
            return true;
        }
        err = errno;
    }
    if (error_number) *error_number = err;
    return false;
}

namespace {

constexpr const char* kTemporaryPrefix = ".kestrel-";
constexpr const char* kTemporarySuffix = ".part";
constexpr size_t kNameMax = 255;  // bytes in one file name on the file systems we write to

// The longest head of a UTF-8 name that fits max_bytes without splitting a character.
std::string utf8Head(const std::string& name, size_t max_bytes) {
    if (name.size() <= max_bytes) return name;
    size_t cut = max_bytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return name.substr(0, cut);
}

// The owner's process id of a name temporaryName made; 0 when the name is not one.
pid_t ownerOfTemporary(const std::string& name) {
    const std::string prefix = kTemporaryPrefix;
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    if (name.size() < prefix.size() + 5 || name.compare(name.size() - 5, 5, kTemporarySuffix) != 0) return 0;
    size_t i = prefix.size();
    pid_t pid = 0;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9') pid = pid * 10 + (name[i++] - '0');
    return i < name.size() && name[i] == '-' ? pid : 0;
}

}  // namespace

std::string temporaryName(const std::string& target_name, long pid, unsigned serial) {
    const std::string head = kTemporaryPrefix + std::to_string(pid) + "-" + std::to_string(serial) + "-";
    const std::string suffix = kTemporarySuffix;
    // A target name that uses the whole limit still gets a temporary name within it.
    return head + utf8Head(target_name, kNameMax - head.size() - suffix.size()) + suffix;
}

void removeStaleTemporaries(const std::string& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const pid_t owner = ownerOfTemporary(it->path().filename().string());
        if (owner <= 0 || owner == ::getpid()) continue;
        // Only the files of a process that no longer runs; a live one may still be writing.
        if (::kill(owner, 0) == 0 || errno != ESRCH) continue;
        if (!it->is_regular_file(ec)) continue;
        ::unlink(it->path().c_str());
    }
}

OutputFile::~OutputFile() { discard(); }

ResultCode OutputFile::prepare(const std::string& target_path) {
    discard();
    committed_ = false;
    if (target_path.empty()) return ResultCode::BadArgument;
    std::error_code ec;
    fs::path target(target_path);
    if (fs::exists(fs::symlink_status(target, ec))) return ResultCode::OutputExists;
    fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec) || ::access(folder.c_str(), W_OK) != 0) return ResultCode::WriteFailed;

    removeStaleTemporaries(folder.string());
    folder_fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_fd_ < 0) return ResultCode::WriteFailed;
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = temporaryName(target.filename().string(), ::getpid(), counter++);
        int fd = ::openat(folder_fd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            target_path_ = target_path;
            temp_name_ = name;
            temp_path_ = (folder / name).string();
            noteOutputStarted(temp_path_);
            return ResultCode::Ok;
        }
        if (errno != EEXIST) break;
    }
    closeFolder();
    return ResultCode::WriteFailed;
}

ResultCode OutputFile::commit() {
    if (temp_path_.empty()) return ResultCode::BadArgument;
    // From the folder as it was opened to the target's path: a folder moved meanwhile fails the
    // commit (its temporary then goes with discard) rather than filling a folder elsewhere.
    int err = 0;
    if (::renameat2(folder_fd_, temp_name_.c_str(), AT_FDCWD, target_path_.c_str(), RENAME_NOREPLACE) != 0) {
        err = errno;
        if (err == EINVAL || err == ENOSYS) {
            // File systems without the flag: a hard link also refuses to replace.
            if (::linkat(folder_fd_, temp_name_.c_str(), AT_FDCWD, target_path_.c_str(), 0) == 0) {
                ::unlinkat(folder_fd_, temp_name_.c_str(), 0);
                err = 0;
            } else {
                err = errno;
            }
        }
    }
    if (err != 0) return err == EEXIST ? ResultCode::OutputExists : ResultCode::WriteFailed;
    committed_ = true;
    noteOutputEnded(temp_path_);
    temp_path_.clear();
    temp_name_.clear();
    closeFolder();
    return ResultCode::Ok;
}

void OutputFile::discard() {
    if (!temp_name_.empty() && !committed_) {
        if (folder_fd_ >= 0) ::unlinkat(folder_fd_, temp_name_.c_str(), 0);
        else ::unlink(temp_path_.c_str());
        noteOutputEnded(temp_path_);
    }
    temp_path_.clear();
    temp_name_.clear();
    closeFolder();
}

void OutputFile::closeFolder() {
    if (folder_fd_ >= 0) ::close(folder_fd_);
    folder_fd_ = -1;
}

}  // namespace kestrel::engine

#include "engine/core/output_file.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
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

    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = "." + target.filename().string() + "." + std::to_string(::getpid()) + "-" +
                           std::to_string(counter++) + ".part";
        fs::path candidate = folder / name;
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            target_path_ = target_path;
            temp_path_ = candidate.string();
            return ResultCode::Ok;
        }
        if (errno != EEXIST) return ResultCode::WriteFailed;
    }
    return ResultCode::WriteFailed;
}

ResultCode OutputFile::commit() {
    if (temp_path_.empty()) return ResultCode::BadArgument;
    int err = 0;
    if (!renameNoReplace(temp_path_, target_path_, &err)) return err == EEXIST ? ResultCode::OutputExists : ResultCode::WriteFailed;
    committed_ = true;
    temp_path_.clear();
    return ResultCode::Ok;
}

void OutputFile::discard() {
    if (!temp_path_.empty() && !committed_) ::unlink(temp_path_.c_str());
    temp_path_.clear();
}

}  // namespace kestrel::engine

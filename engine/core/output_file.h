#pragma once
// The file a job writes: created under a temporary name in the target's folder, renamed into
// place only when the job succeeds, never over an existing file, and removed otherwise. The
// folder is held open while the job writes, so the temporary is removed from it even when the
// folder was moved or renamed meanwhile.
#include "engine/core/result_code.h"

#include <string>

namespace kestrel::engine {

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();  // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // OutputExists when the target is there, WriteFailed when its folder is missing or not writable.
    ResultCode prepare(const std::string& target_path);
    const std::string& temporaryPath() const { return temp_path_; }
    const std::string& targetPath() const { return target_path_; }
    // Renames into place without replacing anything; OutputExists if the target appeared meanwhile.
    ResultCode commit();
    void discard();

private:
    void closeFolder();

    std::string target_path_;
    std::string temp_path_;
    std::string temp_name_;
    int folder_fd_ = -1;
    bool committed_ = false;
};

// The hidden name a job writes under before its output is complete: owner's process id, a
// serial number and the target's name, cut so that the whole stays within 255 bytes.
std::string temporaryName(const std::string& target_name, long pid, unsigned serial);

// Removes the temporaries of processes that died while writing into folder (a crash or a kill
// leaves them); those of running processes stay.
void removeStaleTemporaries(const std::string& folder);

// Rename that fails instead of replacing an existing `to`.
bool renameNoReplace(const std::string& from, const std::string& to, int* error_number = nullptr);

}  // namespace kestrel::engine

#pragma once
// A full disk for tests. The tests run as root, so permissions cannot stop a write; instead
// either a tiny tmpfs is mounted over the output folder (a real "no space left") or the file
// size limit makes every write past a few bytes fail with EFBIG, as a full disk would.
#include <functional>
#include <string>
#include <vector>

namespace kestrel::test {

// In this process, while the object lives: writes to regular files past `bytes` fail (EFBIG)
// instead of raising SIGXFSZ. Affects every thread; the previous limit comes back afterwards.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(long bytes);
    ~ScopedFileSizeLimit();
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    unsigned long previous_soft_ = 0;
    unsigned long previous_hard_ = 0;
    void (*previous_handler_)(int) = nullptr;
};

// What a run on a full disk gave.
struct FullDiskRun {
    bool finished = false;              // false: the work hung (killed after the timeout) or crashed
    int result = 0;                     // what the work returned
    bool tmpfs = false;                 // true: a real tmpfs ran out of space; false: the size limit
    std::vector<std::string> entries;   // the output folder's entries when the work returned, sorted
    std::string failure;                // why it did not finish
};

enum class FullDiskKind { TmpfsIfAllowed, SizeLimit };

// Runs `work` in a forked child whose `output_folder` holds at most `bytes`: a tmpfs of that
// size mounted over the (empty) folder when asked and the system allows it, the file size limit
// otherwise. The folder is listed in the child, before the tmpfs goes away with it.
FullDiskRun runOnFullDisk(const std::string& output_folder, long bytes, const std::function<int()>& work,
                          FullDiskKind kind = FullDiskKind::TmpfsIfAllowed, int timeout_s = 120);

// Runs `work`, which writes `output` into the empty `output_folder`, once with room and expects
// success (1); then on full disks of several sizes (a small tmpfs, a small size limit, room for all
// but the last bytes) and expects `failure_code`, no hang and nothing left in the folder.
void expectCleanFailureOnFullDisk(const std::string& output_folder, const std::string& output,
                                  const std::function<int()>& work, int failure_code);

}  // namespace kestrel::test

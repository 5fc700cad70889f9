// A process killed while it writes an output (a power cut, SIGKILL) cannot remove its hidden
// partial file; the record it kept in the cache folder names the file, and the next start
// removes it. The partial files of a process that still runs are left alone.
#include "engine/core/output_file.h"
#include "engine/core/outputs_in_progress.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrel::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
}

// Runs in a child process: starts writing target through an output file, recording it in
// records, and is killed before it can finish.
void writeAndGetKilled(const std::string& records, const std::string& target) {
    engine::setOutputsInProgressFolder(records);
    engine::OutputFile output;
    if (output.prepare(target) != engine::ResultCode::Ok) ::_exit(2);
    std::ofstream(output.temporaryPath(), std::ios::binary) << std::string(4096, 'x');
    ::raise(SIGKILL);
    ::_exit(3);
}

TEST(OutputsInProgress, TheNextStartRemovesWhatAKilledProcessLeft) {
    TempDir records, outputs, elsewhere;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) writeAndGetKilled(records.path(), outputs.file("movie.mp4"));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "child status " << status;
    ASSERT_EQ(namesIn(outputs.path()).size(), 1u) << "the killed process left no partial file";
    ASSERT_EQ(namesIn(records.path()).size(), 1u) << "the killed process left no record";

    // This process's own output in progress (into another folder: an export into the killed
    // one's folder clears it on its own) is kept, as is a file of the user's.
    engine::setOutputsInProgressFolder(records.path());
    engine::OutputFile running;
    ASSERT_EQ(running.prepare(elsewhere.file("other.mp4")), engine::ResultCode::Ok);
    std::ofstream(outputs.file("notes.part")) << "a file of the user's";

    EXPECT_EQ(engine::removeOutputsOfEndedProcesses(records.path()), 1);
    EXPECT_EQ(namesIn(outputs.path()), std::vector<std::string>{"notes.part"});
    EXPECT_TRUE(fs::exists(running.temporaryPath()));
    EXPECT_EQ(namesIn(records.path()).size(), 1u) << "this process's record was removed";

    running.discard();
    EXPECT_TRUE(namesIn(records.path()).empty()) << "a finished output stays recorded";
    engine::setOutputsInProgressFolder("");
}

}  // namespace
}  // namespace kestrel::test

// Output names at the file system's limit, the hidden temporaries a killed process leaves, and
// the temporary of a folder that moved while it was written.
#include "engine/core/output_file.h"
#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrel::test {
namespace {

TEST(EngineOutputNames, NamesUsingTheWholeLimitAreWritten) {
    TempDir dir;
    makeMedia(dir.file("in.mp4"));
    std::string accented;
    while (accented.size() + 2 + 4 <= 255) accented += "\xC3\xA9";  // é, two bytes each
    struct Case { const char* what; std::string name; };
    for (const Case& c : {Case{"ascii", std::string(251, 'a') + ".mp4"}, Case{"utf-8", accented + ".mp4"}}) {
        SCOPED_TRACE(c.what);
        ASSERT_LE(c.name.size(), 255u);
        const std::string output = dir.file(c.name);
        ASSERT_GE(runConvert(dir.file("in.mp4"), output), 1);
        EXPECT_TRUE(ffprobe(output).ok);
    }
}

TEST(EngineOutputNames, TemporariesOfDeadProcessesGoAtTheNextRunOthersStay) {
    TempDir dir;
    makeMedia(dir.file("in.mp4"));
    const pid_t child = fork();
    if (child == 0) _exit(0);
    ASSERT_GT(child, 0);
    waitpid(child, nullptr, 0);  // its id now names no process
    const std::string dead = ".kestrel-" + std::to_string(child) + "-0-old.mp4.part";
    const std::string alive = ".kestrel-" + std::to_string(getppid()) + "-0-busy.mp4.part";
    const std::string foreign = ".notes.part";
    for (const std::string& name : {dead, alive, foreign}) writeBytes(dir.file(name), "partial");

    ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file("out.mp4")), 1);
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{alive, foreign, "in.mp4", "out.mp4"}));
}

// A folder renamed while a job writes into it: the job's temporary goes from where the folder
// went, whether the job is stopped (discard) or ends and cannot put its file in place (commit).
TEST(EngineOutputNames, TheTemporaryGoesFromAFolderThatMoved) {
    for (const bool commits : {false, true}) {
        SCOPED_TRACE(commits ? "commit" : "discard");
        TempDir dir;
        const std::string folder = dir.file("out"), moved = dir.file("moved");
        ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
        {
            engine::OutputFile file;
            ASSERT_EQ(file.prepare(folder + "/cut.mp4"), engine::ResultCode::Ok);
            writeBytes(file.temporaryPath(), "partial");
            ASSERT_EQ(std::rename(folder.c_str(), moved.c_str()), 0);
            ASSERT_EQ(folderEntries(moved).size(), 1u);
            if (commits) EXPECT_EQ(file.commit(), engine::ResultCode::WriteFailed);
            else file.discard();
        }
        EXPECT_TRUE(folderEntries(moved).empty());
    }
}

}  // namespace
}  // namespace kestrel::test

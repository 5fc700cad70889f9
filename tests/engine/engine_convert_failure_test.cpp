// Convert jobs that cannot or must not finish: a clear failure code, never a crash, hang or
// half-written file.
#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>
#include <unistd.h>

namespace kestrel::test {
namespace {

TEST(EngineConvertFailure, StopMidRunLeavesNoFileAndStopBeforeStartReturnsAtOnce) {
    TempDir dir;
    FixtureSpec spec;
    spec.duration_s = 3.0;
    makeMedia(dir.file("in.mp4"), spec);

    void* job = apiMediaConvertCreate();
    ASSERT_GE(apiMediaConvertSetInputMedia(job, dir.file("in.mp4").c_str()), 1);
    apiMediaConvertSetVcodec(job, "h264");
    apiMediaConvertSetVideoFrameSize(job, 640, 480);  // slow enough to be caught running
    ASSERT_GE(apiMediaConvertSetOutputPath(job, dir.file("out.mp4").c_str()), 1);
    std::future<int32_t> run = std::async(std::launch::async, [job] { return apiMediaConvertStart(job); });
    while (apiMediaConvertGetProgress(job) < 1 && run.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {}
    apiMediaConvertStop(job);
    // Stop returned: nothing is written any more and nothing is left.
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"in.mp4"});
    EXPECT_EQ(run.get(), -1);
    EXPECT_GE(apiMediaConvertClose(job), 1);

    job = apiMediaConvertCreate();
    ASSERT_GE(apiMediaConvertSetInputMedia(job, dir.file("in.mp4").c_str()), 1);
    ASSERT_GE(apiMediaConvertSetOutputPath(job, dir.file("out.mp4").c_str()), 1);
    apiMediaConvertStop(job);
    EXPECT_EQ(apiMediaConvertStart(job), -1);
    apiMediaConvertClose(job);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"in.mp4"});
}

struct BadCase {
    const char* name;
    std::string input;        // file name in the folder, made below
    std::string output;       // path of the output
};

TEST(EngineConvertFailure, BadInputsAndOutputsFailCleanly) {
    TempDir dir;
    makeMedia(dir.file("good.mp4"));
    writeBytes(dir.file("empty.mp4"), "");
    truncateCopy(dir.file("good.mp4"), dir.file("truncated.mp4"), 600);
    std::string noise;
    for (int i = 0; i < 4096; ++i) noise += char((i * 7919 + 13) & 0xFF);
    writeBytes(dir.file("noise.mp4"), noise);
    writeBytes(dir.file("text.mp4"), "this is not a movie\n");
    writeBytes(dir.file("taken.mp4"), "already here");
    std::filesystem::create_directory(dir.file("locked"));
    std::filesystem::permissions(dir.file("locked"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);

    const BadCase cases[] = {
        {"zero bytes", dir.file("empty.mp4"), dir.file("o1.mp4")},
        {"truncated", dir.file("truncated.mp4"), dir.file("o2.mp4")},
        {"random bytes", dir.file("noise.mp4"), dir.file("o3.mp4")},
        {"text with a movie extension", dir.file("text.mp4"), dir.file("o4.mp4")},
        {"missing file", dir.file("nothing.mp4"), dir.file("o5.mp4")},
        {"missing output folder", dir.file("good.mp4"), dir.file("nowhere/o6.mp4")},
        {"unwritable output folder", dir.file("good.mp4"), dir.file("locked/o7.mp4")},
        {"output exists", dir.file("good.mp4"), dir.file("taken.mp4")},
        {"unknown container", dir.file("good.mp4"), dir.file("o8.notacontainer")},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "unwritable output folder" && ::geteuid() == 0) continue;  // root writes anywhere
        EXPECT_LT(runConvert(c.input, c.output), 1);
    }
    std::filesystem::permissions(dir.file("locked"), std::filesystem::perms::owner_all);
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("locked")));
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"empty.mp4", "good.mp4", "locked", "noise.mp4", "taken.mp4",
                                                                    "text.mp4", "truncated.mp4"}));
    EXPECT_EQ(std::filesystem::file_size(dir.file("taken.mp4")), 12u);
}

TEST(EngineConvertFailure, RefusedSettings) {
    TempDir dir;
    makeMedia(dir.file("in.mp4"));
    void* job = apiMediaConvertCreate();
    ASSERT_GE(apiMediaConvertSetInputMedia(job, dir.file("in.mp4").c_str()), 1);
    EXPECT_LT(apiMediaConvertSetVcodec(job, "no-such-codec"), 1);
    EXPECT_LT(apiMediaConvertSetCutTime(job, 2000000, 1000000), 1);
    EXPECT_LT(apiMediaConvertSetSpeed(job, 0.0), 1);
    EXPECT_LT(apiMediaConvertSetVideoFrameSize(job, 0, 240), 1);
    EXPECT_LT(apiMediaConvertAddImageEffect(job, 99999), 1);
    EXPECT_GE(apiMediaConvertAddImageEffect(job, 103), 1);
    MediaRect all{200, 0, 200, 0};  // wider than the picture
    EXPECT_GE(apiMediaConvertSetCropSize(job, all), 1);
    ASSERT_GE(apiMediaConvertSetOutputPath(job, dir.file("out.mp4").c_str()), 1);
    EXPECT_LT(apiMediaConvertStart(job), 1);
    apiMediaConvertClose(job);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"in.mp4"});
}

}  // namespace
}  // namespace kestrel::test

// Joins that must fail, stop, or refuse a handle: a clear code, no crash, and no file left.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "engine/core/result_code.h"
#include "tests/engine/join/join_test_media.h"

namespace kestrel::test {
namespace {

using engine::ResultCode;
using engine::toInt;
namespace fs = std::filesystem;

// Nothing but the inputs the test put there: no output, no temporary file.
void expectNothingWritten(const TempDir& dir) {
    for (const auto& entry : fs::directory_iterator(dir.path())) ADD_FAILURE() << "left behind: " << entry.path();
}

TEST(JoinErrors, BadInputsFailWithTheirCodeAndWriteNothing) {
    const JoinClips& c = joinClips();
    struct Case {
        const char* name;
        std::vector<ClipRequest> clips;
        std::string output;  // relative to the test folder
        int32_t expected;
    } cases[] = {
        {"corrupt clip", {{c.a}, {c.corrupt}}, "out.mp4", toInt(ResultCode::OpenFailed)},
        {"empty range", {{c.a}, {c.b, 500'000, 500'000}}, "out.mp4", toInt(ResultCode::EmptyRange)},
        {"range past the end", {{c.a}, {c.b, 5'000'000, 6'000'000}}, "out.mp4", toInt(ResultCode::EmptyRange)},
        {"reversed range", {{c.a, 800'000, 200'000}}, "out.mp4", toInt(ResultCode::BadArgument)},
        {"folder is a file", {{c.a}, {c.b}}, "blocker/out.mp4", toInt(ResultCode::WriteFailed)},
        {"missing folder", {{c.a}, {c.b}}, "missing/out.mp4", toInt(ResultCode::WriteFailed)},
        {"unknown container", {{c.a}}, "out.nosuchext", toInt(ResultCode::BadArgument)},
    };
    for (const Case& k : cases) {
        TempDir dir;
        writeBytes(dir.file("blocker"), "not a folder");
        const std::string out = dir.file(k.output);
        EXPECT_EQ(runJoin(k.clips, out), k.expected) << k.name;
        EXPECT_FALSE(fs::exists(out)) << k.name;
        fs::remove(dir.file("blocker"));
        expectNothingWritten(dir);
    }
}

TEST(JoinErrors, MissingClipIsRefusedWhenAdded) {
    TempDir dir;
    void* job = apiMediaJoinCreate();
    EXPECT_EQ(apiMediaJoinAddMediaClip(job, dir.file("nothing.mp4").c_str(), 0, 0), 0);
    EXPECT_EQ(apiMediaJoinAddMediaClip(job, "", 0, 0), 0);
    EXPECT_EQ(apiMediaJoinAddMediaClip(job, nullptr, 0, 0), 0);
    EXPECT_EQ(apiMediaJoinAddMediaClip(job, joinClips().a.c_str(), -5, 0), 0);
    // Nothing to join: Start fails and writes nothing.
    EXPECT_GE(apiMediaJoinSetOutputPath(job, dir.file("out.mp4").c_str()), 1);
    EXPECT_LT(apiMediaJoinStart(job), 0);
    apiMediaJoinClose(job);
    expectNothingWritten(dir);
}

TEST(JoinErrors, AnExistingOutputIsNeverReplaced) {
    const JoinClips& c = joinClips();
    TempDir dir;
    const std::string out = dir.file("taken.mp4");
    writeBytes(out, "keep me");
    void* refused = apiMediaJoinCreate();
    EXPECT_EQ(apiMediaJoinSetOutputPath(refused, out.c_str()), toInt(ResultCode::OutputExists));
    apiMediaJoinClose(refused);
    // A file that appears after the path was set is not replaced either.
    fs::remove(out);
    void* job = prepareJoin({{c.a}}, out);
    writeBytes(out, "keep me");
    EXPECT_EQ(apiMediaJoinStart(job), toInt(ResultCode::OutputExists));
    apiMediaJoinClose(job);
    std::string text;
    runCommand("cat '" + out + "'", &text);
    EXPECT_EQ(text, "keep me");
}

TEST(JoinErrors, BadSettingsAreRefused) {
    void* job = apiMediaJoinCreate();
    const int64_t id = apiMediaJoinAddMediaClip(job, joinClips().a.c_str(), 0, 0);
    EXPECT_LT(apiMediaJoinSetVideoCodec(job, "no-such-codec"), 1);
    EXPECT_LT(apiMediaJoinSetAudioCodec(job, ""), 1);
    EXPECT_LT(apiMediaJoinSetVideoFrameSize(job, -2, 100), 1);
    EXPECT_LT(apiMediaJoinSetVideoFps(job, -1), 1);
    EXPECT_LT(apiMediaJoinSetVideoBitrate(job, -1), 1);
    EXPECT_LT(apiMediaJoinSetAudioEncodeContext(job, 2, 12), 1);
    EXPECT_LT(apiMediaJoinSetAudioVolumn(job, id + 7, 1.0), 1);
    EXPECT_LT(apiMediaJoinSetAudioVolumn(job, id, -0.5), 1);
    EXPECT_LT(apiMediaJoinSetTransition(job, id, 9, 500'000), 1);
    EXPECT_LT(apiMediaJoinSetTransition(job, id + 7, 1, 500'000), 1);
    // The values callers really send are accepted, 0 kbps included.
    EXPECT_GE(apiMediaJoinSetAudioBitrate(job, 0), 1);
    EXPECT_GE(apiMediaJoinSetVideoCodec(job, "h264"), 1);
    EXPECT_GE(apiMediaJoinSetAudioCodec(job, "aac"), 1);
    EXPECT_GE(apiMediaJoinSetAudioVolumn(job, id, 2), 1);
    EXPECT_GE(apiMediaJoinSetTransition(job, id, 3, 1'000'000), 1);
    apiMediaJoinClose(job);
}

TEST(JoinErrors, NullAndClosedHandlesReturnFailure) {
    void* closed = apiMediaJoinCreate();
    EXPECT_GE(apiMediaJoinClose(closed), 1);
    for (void* job : {static_cast<void*>(nullptr), closed}) {
        EXPECT_EQ(apiMediaJoinAddMediaClip(job, joinClips().a.c_str(), 0, 0), 0);
        EXPECT_LT(apiMediaJoinSetOutputPath(job, "/tmp/x.mp4"), 1);
        EXPECT_LT(apiMediaJoinSetVideoCodec(job, "copy"), 1);
        EXPECT_LT(apiMediaJoinSetVideoFrameSize(job, 320, 240), 1);
        EXPECT_LT(apiMediaJoinStart(job), 0);
        EXPECT_LT(apiMediaJoinGetProgress(job), 0);
        EXPECT_LT(apiMediaJoinStop(job), 1);
        EXPECT_LT(apiMediaJoinClose(job), 1);
    }
}

TEST(JoinErrors, StopBeforeStartReturnsAtOnce) {
    TempDir dir;
    void* job = prepareJoin({{joinClips().a}}, dir.file("never.mp4"));
    EXPECT_GE(apiMediaJoinStop(job), 1);
    EXPECT_EQ(apiMediaJoinStart(job), toInt(ResultCode::Stopped));
    apiMediaJoinClose(job);
    expectNothingWritten(dir);
}

TEST(JoinErrors, StopMidRunLeavesNoFile) {
    const JoinClips& c = joinClips();
    TempDir dir;
    // Long enough to be caught running: the clips again and again, re-encoded.
    std::vector<ClipRequest> clips;
    for (int i = 0; i < 20; ++i) clips.push_back({i % 2 ? c.a : c.two_seconds, 0, 0, 0.5});
    void* job = prepareJoin(clips, dir.file("stopped.mp4"));
    int32_t result = 0;
    std::atomic<bool> returned{false};
    std::thread runner([&] {
        result = apiMediaJoinStart(job);
        returned = true;
    });
    while (!returned && apiMediaJoinGetProgress(job) <= 0) std::this_thread::yield();
    apiMediaJoinStop(job);
    runner.join();
    EXPECT_EQ(result, toInt(ResultCode::Stopped));
    apiMediaJoinClose(job);
    expectNothingWritten(dir);
}

}  // namespace
}  // namespace kestrel::test

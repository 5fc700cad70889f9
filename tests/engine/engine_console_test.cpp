// What the engines print on the console: nothing of FFmpeg's, x265's or SVT-AV1's own unless
// logging is asked for (KESTREL_FFMPEG_LOG); asked for, FFmpeg's lines go to the log sink the
// program set, not past it to the console.
#include "engine/core/ff_log.h"
#include "engine/core/hardware_encoder.h"
#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace kestrel::test {
namespace {

// A copy whose H.264 decoder set-up is overwritten: every picture of it fails to decode, and
// FFmpeg's decoder says so at its error level.
std::string undecodableCopy(const TempDir& dir, const std::string& from) {
    std::ifstream in(from, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t at = bytes.find("avcC");
    if (at == std::string::npos) return {};
    for (size_t i = at + 8; i < at + 34 && i < bytes.size(); ++i) bytes[i] = 0;
    const std::string path = dir.file("undecodable.mp4");
    writeBytes(path, bytes);
    return path;
}

int32_t convertTo(const std::string& input, const std::string& output, const char* codec) {
    return runConvert(input, output, [codec](void* job) { apiMediaConvertSetVcodec(job, codec); });
}

TEST(EngineConsole, NothingOfFfmpegsOrTheEncodersOwnUnlessLoggingIsAsked) {
    if (std::getenv("KESTREL_FFMPEG_LOG")) GTEST_SKIP() << "KESTREL_FFMPEG_LOG is set";
    TempDir dir;
    const std::string source = dir.file("source.mp4");
    makeMedia(source, {.duration_s = 0.4, .width = 160, .height = 120, .audio_streams = 0});
    const std::string undecodable = undecodableCopy(dir, source);
    ASSERT_FALSE(undecodable.empty());

    ::testing::internal::CaptureStderr();
    engine::firstWorkingHardwareEncoder();   // opens every device it can find, present or not
    const int32_t hevc = convertTo(source, dir.file("x265.mkv"), "libx265");
    const int32_t av1 = convertTo(source, dir.file("svt.mkv"), "libsvtav1");
    const int32_t damaged = convertTo(undecodable, dir.file("damaged.mp4"), "h264");
    const std::string printed = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(printed, "");
    EXPECT_LT(damaged, 1);
    ASSERT_GE(hevc, 1);
    EXPECT_TRUE(decodesCleanly(dir.file("x265.mkv")));
    EXPECT_TRUE(framesMatch(dir.file("x265.mkv"), source, CompareOptions{28, 0.9, false}));
    if (av1 >= 1) {
        EXPECT_TRUE(framesMatch(dir.file("svt.mkv"), source, CompareOptions{28, 0.9, false}));
    }
}

std::atomic<int> g_logged_lines{0};

TEST(EngineConsole, AskedForFfmpegsLinesGoToTheProgramsLog) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");   // a fresh process reads the environment anew
    TempDir dir;
    const std::string source = dir.file("source.mp4");
    makeMedia(source, {.duration_s = 0.4, .width = 160, .height = 120, .audio_streams = 0});
    const std::string undecodable = undecodableCopy(dir, source);
    ASSERT_FALSE(undecodable.empty());
    // Exit 0: the lines reached the sink; 2: none did; 3: they reached the console as well.
    EXPECT_EXIT(
        {
            ::setenv("KESTREL_FFMPEG_LOG", "1", 1);
            engine::setEngineLogSink([](int, const char*) { g_logged_lines++; });
            ::testing::internal::CaptureStderr();
            convertTo(undecodable, dir.file("damaged.mp4"), "h264");
            const std::string printed = ::testing::internal::GetCapturedStderr();
            if (!engine::engineLoggingAsked() || g_logged_lines == 0) std::exit(2);
            std::exit(printed.find("Invalid NAL unit") != std::string::npos ? 3 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kestrel::test

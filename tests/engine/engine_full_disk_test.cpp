// Convert and join on a full disk: a failure code (never success), no hang, and nothing left in
// the output folder, neither the output nor a temporary file.
#include "engine/core/result_code.h"
#include "engine/mediacore/media_core.h"
#include "engine/mediacore/media_join.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace kestrel::test {
namespace {

int convertWith(const std::string& input, const std::string& output, const char* video_codec) {
    return runConvert(input, output, [video_codec](void* job) { apiMediaConvertSetVcodec(job, video_codec); });
}

int joinTwice(const std::string& input, const std::string& output, const char* video_codec) {
    void* job = apiMediaJoinCreate();
    apiMediaJoinAddMediaClip(job, input.c_str(), 0, 0);
    apiMediaJoinAddMediaClip(job, input.c_str(), 0, 0);
    apiMediaJoinSetVideoCodec(job, video_codec);
    const int result = apiMediaJoinSetOutputPath(job, output.c_str()) < 1 ? -1000 : apiMediaJoinStart(job);
    apiMediaJoinClose(job);
    return result;
}

TEST(EngineFullDisk, ConvertAndJoinFailWithoutLeavingFiles) {
    TempDir dir;
    FixtureSpec spec;
    spec.duration_s = 2.0;
    makeMedia(dir.file("in.mp4"), spec);
    makeMedia(dir.file("in.mkv"), spec);

    struct Case {
        const char* name;
        std::function<int(const std::string& input, const std::string& output)> run;
    };
    const Case cases[] = {
        {"convert, re-encode", [](auto& in, auto& out) { return convertWith(in, out, "h264"); }},
        {"convert, stream copy", [](auto& in, auto& out) { return convertWith(in, out, "copy"); }},
        {"join, re-encode", [](auto& in, auto& out) { return joinTwice(in, out, "h264"); }},
        {"join, stream copy", [](auto& in, auto& out) { return joinTwice(in, out, "copy"); }},
    };
    for (const char* container : {"mp4", "mkv"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " to " + container);
            const std::string out_folder = dir.file(std::string("out-") + container);
            std::filesystem::create_directory(out_folder);
            const std::string input = dir.file(std::string("in.") + container);
            const std::string output = out_folder + "/result." + container;
            expectCleanFailureOnFullDisk(out_folder, output, [&] { return c.run(input, output); },
                                         engine::toInt(engine::ResultCode::WriteFailed));
        }
    }
}

}  // namespace
}  // namespace kestrel::test

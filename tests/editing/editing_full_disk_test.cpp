// The editing engine's writers on a full disk: an export of a virtual video (movie, GIF, still
// picture), the reverse encoder (its spill file included) and a PNG snapshot each return a
// failure code, never hang, and leave nothing in the output folder.
#include "engine/core/result_code.h"
#include "engine/editing/rdve.h"
#include "tests/editing/editing_test_helpers.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrel::test {
namespace {

const int kWriteFailed = engine::toInt(engine::ResultCode::WriteFailed);

std::string outFolder(const TempDir& dir, const std::string& name) {
    const std::string folder = dir.file(name);
    std::filesystem::create_directory(folder);
    return folder;
}

TEST(EditingFullDisk, ExportFailsWithoutLeavingFiles) {
    TempDir dir;
    const std::string clip = dir.file("clip.mp4");
    makeMedia(clip, FixtureSpec{});
    for (const char* name : {"movie.mp4", "movie.mkv", "moving.gif", "still.png"}) {
        SCOPED_TRACE(name);
        const std::string folder = outFolder(dir, std::string("out-") + name);
        const std::string output = folder + "/" + name;
        expectCleanFailureOnFullDisk(folder, output, [&] {
            void* video = quadVideo({clip, clip, clip, clip});
            rdVESetOutPath(video, output.c_str());
            rdVEEditMediaInit(video);
            const int result = rdVEEditMedia(video);
            rdVEVirtualVideoDestory(video);
            return result;
        }, kWriteFailed);
    }
}

TEST(EditingFullDisk, ReverseAndSnapshotFailWithoutLeavingFiles) {
    TempDir dir;
    const std::string clip = dir.file("clip.mp4");
    makeMedia(clip, FixtureSpec{});
    for (int cache_mb : {0, 1}) {  // 1: most pictures go to the spill file, which fills up too
        SCOPED_TRACE(cache_mb ? "small memory cache" : "default memory cache");
        const std::string folder = outFolder(dir, "reverse-" + std::to_string(cache_mb));
        const std::string output = folder + "/reversed.mp4";
        expectCleanFailureOnFullDisk(folder, output, [&] {
            void* reverse = rdVEMediaReverseCreate();
            rdVEMediaReverseSetInputFile(reverse, clip.c_str());
            rdVEMediaReverseSetOutputPath(reverse, output.c_str());
            rdVEMediaReverseSetAudioMode(reverse, 2);
            if (cache_mb) rdVEMediaReverseSetMaxCacheSize(reverse, cache_mb);
            const int result = rdVEMediaReverseEncode(reverse);
            rdVEMediaReverseClose(reverse);
            return result;
        }, kWriteFailed);
    }

    const std::string folder = outFolder(dir, "snapshot");
    const std::string output = folder + "/frame.png";
    expectCleanFailureOnFullDisk(folder, output, [&] {
        void* snapshot = rdVEMediaSnapshotOpen(clip.c_str());
        const int result = rdVEMediaSnapshot(snapshot, 1, 500000, 320, 240, output.c_str());
        rdVEMediaSnapshotClose(snapshot);
        return result;
    }, kWriteFailed);
}

}  // namespace
}  // namespace kestrel::test

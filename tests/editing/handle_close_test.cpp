// A handle closed on one thread while another thread is inside a call on it: the call finishes
// on a live object or is refused, never touches a freed one (ASan watches), and the close
// stops a running encode.
#include "engine/editing/rdve.h"
#include "tests/editing/editing_test_helpers.h"
#include "tests/support/media_fixtures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

using namespace kestrel::test;

namespace {

constexpr int32_t kOk = 1;
constexpr int32_t kRefused = -7;   // null, closed or foreign handle
constexpr int32_t kStopped = -1;

TEST(EditingHandleClose, SnapshotClosedWhileOtherThreadsReadIt) {
    TempDir dir;
    const std::string input = solidClip(dir, "still.mp4", "green");
    for (int round = 0; round < 100; ++round) {
        void* snapshot = rdVEMediaSnapshotOpen(input.c_str());
        ASSERT_NE(snapshot, nullptr);
        std::atomic<int> pictures{0}, durations{0}, unexpected{0};
        // One thread decodes pictures (long calls), one asks the duration (short calls), so the
        // close lands both while a call waits for the reader and just before a call takes it.
        std::thread pictureReader([&] {
            std::vector<uint8_t> buffer(64 * 48 * 4);
            for (;;) {
                const int32_t rc = rdVEMediaSnapshotBGRA(snapshot, 1, (pictures % 4) * 200000, 64, 48, buffer.data());
                if (rc == kRefused) return;
                if (rc != kOk) ++unexpected;
                ++pictures;
            }
        });
        std::thread durationReader([&] {
            for (;;) {
                const int64_t duration_us = rdVEMediaSnapshotGetDuration(snapshot);
                if (duration_us == kRefused) return;
                if (duration_us <= 0) ++unexpected;
                ++durations;
            }
        });
        while (pictures < 1 + round % 3 || durations < 1) std::this_thread::yield();
        EXPECT_EQ(rdVEMediaSnapshotClose(snapshot), kOk);
        pictureReader.join();
        durationReader.join();
        EXPECT_EQ(unexpected, 0) << "round " << round;
        EXPECT_EQ(rdVEMediaSnapshotClose(snapshot), kRefused) << "closed once only";
    }
}

TEST(EditingHandleClose, ReverseClosedWhileEncodingStopsItAndLeavesNoFile) {
    TempDir dir;
    FixtureSpec spec;
    spec.duration_s = 6.0;
    spec.width = 640;
    spec.height = 480;
    const std::string input = dir.file("long.mp4");
    makeMedia(input, spec);
    const std::string output = dir.file("reversed.mp4");

    void* reverse = rdVEMediaReverseCreate();
    ASSERT_EQ(rdVEMediaReverseSetInputFile(reverse, input.c_str()), kOk);
    ASSERT_EQ(rdVEMediaReverseSetOutputPath(reverse, output.c_str()), kOk);
    std::atomic<int32_t> encoded{0};
    std::atomic<bool> encodeDone{false};
    std::thread encoder([&] {
        encoded = rdVEMediaReverseEncode(reverse);
        encodeDone = true;
    });
    // Another thread keeps asking for progress and changing a setting through the close.
    std::atomic<int> unexpected{0};
    std::atomic<bool> sawProgress{false};
    std::thread watcher([&] {
        for (;;) {
            const double progress = rdVEMediaReverseGetProgress(reverse);
            if (progress == double(kRefused)) return;
            if (progress < 0 || progress > 100) ++unexpected;
            if (progress > 0) sawProgress = true;
            const int32_t rc = rdVEMediaReverseSetAudioMode(reverse, 1);
            if (rc != kOk && rc != kRefused) ++unexpected;   // refused while encoding, or once closed
        }
    });
    while (!sawProgress && !encodeDone) std::this_thread::yield();
    EXPECT_FALSE(encodeDone) << "the encode ended before it could be closed: make the clip longer";
    EXPECT_EQ(rdVEMediaReverseClose(reverse), kOk);
    encoder.join();
    watcher.join();
    EXPECT_EQ(encoded, kStopped);
    EXPECT_EQ(unexpected, 0);
    EXPECT_FALSE(std::filesystem::exists(output)) << "a stopped encode leaves no file";
    EXPECT_EQ(rdVEMediaReverseGetProgress(reverse), double(kRefused));
    EXPECT_EQ(rdVEMediaReverseClose(reverse), kRefused);
}

TEST(EditingHandleClose, ReverseClosedWhileAnotherThreadSetsIt) {
    for (int round = 0; round < 200; ++round) {
        void* reverse = rdVEMediaReverseCreate();
        std::atomic<int> calls{0};
        std::atomic<int> unexpected{0};
        std::thread setter([&] {
            for (;;) {
                const int32_t rc = calls % 2 ? rdVEMediaReverseSetVideoBitrate(reverse, 2000)
                                             : int32_t(rdVEMediaReverseGetProgress(reverse));
                if (rc == kRefused) return;
                if (rc != kOk && rc != 0) ++unexpected;
                ++calls;
            }
        });
        while (calls < 1 + round % 5) std::this_thread::yield();
        EXPECT_EQ(rdVEMediaReverseClose(reverse), kOk);
        setter.join();
        EXPECT_EQ(unexpected, 0);
    }
}

}  // namespace

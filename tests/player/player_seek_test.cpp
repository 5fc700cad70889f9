// Frame-accurate seeking and the picture settings of the preview.
#include <gtest/gtest.h>

#include "engine/core/effect_chains.h"
#include "tests/player/player_test_helpers.h"
#include "tests/support/ffprobe.h"

using platform::MediaTime;

namespace kestrel::test {
namespace {

// Times on frame boundaries (25 fps, key frame every 12 frames): the first frame, frames just
// after and before a key frame, the middle and the last frame, in a jumping order.
TEST(PlayerSeek, LandsOnTheFrameAsked) {
    auto p = openPlayer(standardClip());
    ASSERT_NE(p, nullptr);
    const double times[] = {1.0, 0.0, 0.52, 0.44, 1.96, 0.48, 1.2, 0.04};
    for (double t : times) {
        SCOPED_TRACE(t);
        p->seekTime(MediaTime::fromSeconds(t));
        EXPECT_NEAR(p->currentTime().seconds(), t, 1e-6);
        int w = 0, h = 0;
        std::vector<unsigned char> shown = snapshotRGB(*p, &w, &h);
        ASSERT_EQ(w, 320);
        std::vector<unsigned char> expected = decodeFrameRGB(standardClip(), t, 320, 240);
        std::vector<unsigned char> neighbour = decodeFrameRGB(standardClip(), t >= 1.9 ? t - 0.04 : t + 0.04, 320, 240);
        const double diff = meanAbsDiff(shown, expected);
        EXPECT_LT(diff, 3.0);
        // The neighbouring frame is clearly further away, so the match is the frame itself.
        EXPECT_GT(meanAbsDiff(shown, neighbour), diff + 2.0);
    }
}

TEST(PlayerSeek, TimeBetweenFramesShowsTheFrameOnScreenThen) {
    auto p = openPlayer(standardClip());
    ASSERT_NE(p, nullptr);
    p->seekTime(MediaTime::make(1, 30));  // 33 ms: still the first frame (0..40 ms)
    int w = 0, h = 0;
    EXPECT_LT(meanAbsDiff(snapshotRGB(*p, &w, &h), decodeFrameRGB(standardClip(), 0.0, 320, 240)), 3.0);
    p->seekTime(MediaTime::fromSeconds(100.0));  // past the end: the last frame, time clamped
    EXPECT_NEAR(p->currentTime().seconds(), p->duration().seconds(), 1e-6);
    EXPECT_LT(meanAbsDiff(snapshotRGB(*p, &w, &h), decodeFrameRGB(standardClip(), 1.96, 320, 240)), 3.0);
}

TEST(PlayerSettings, RotationAndFlipsReshapeThePictureOnRefresh) {
    auto p = openPlayer(standardClip());
    ASSERT_NE(p, nullptr);
    p->seekTime(MediaTime::fromSeconds(0.4));
    int w = 0, h = 0;
    const std::vector<unsigned char> plain = snapshotRGB(*p, &w, &h);

    p->SetRotateAngle(90);
    EXPECT_EQ(p->frameWidth(), 320);  // nothing changes before the refresh
    p->Refresh();
    EXPECT_EQ(p->frameWidth(), 240);
    EXPECT_EQ(p->frameHeight(), 320);
    const std::vector<unsigned char> turned = snapshotRGB(*p, &w, &h);
    // Turned clockwise: the top-left pixel of the turned picture is the source's bottom-left.
    const auto at = [](const std::vector<unsigned char>& rgb, int width, int x, int y, int c) {
        return int(rgb[(size_t(y) * width + x) * 3 + c]);
    };
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(at(turned, 240, 10, 10, c), at(plain, 320, 10, 239 - 10, c), 12);

    p->SetRotateAngle(0);
    p->SetHFlip(1);
    p->Refresh();
    const std::vector<unsigned char> mirrored = snapshotRGB(*p, &w, &h);
    ASSERT_EQ(w, 320);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(at(mirrored, 320, 5, 100, c), at(plain, 320, 314, 100, c), 12);
    EXPECT_NEAR(p->currentTime().seconds(), 0.4, 1e-6);  // a refresh does not move the position
}

TEST(PlayerSettings, ColourAndEffectsApplyOnRefreshAndClear) {
    auto p = openPlayer(standardClip());
    ASSERT_NE(p, nullptr);
    p->seekTime(MediaTime::fromSeconds(0.8));
    int w = 0, h = 0;
    const std::vector<unsigned char> plain = snapshotRGB(*p, &w, &h);
    p->SetBCS(120, 0, 0);
    p->Refresh();
    const std::vector<unsigned char> brighter = snapshotRGB(*p, &w, &h);
    long sum_plain = 0, sum_bright = 0;
    for (size_t i = 0; i < plain.size(); ++i) sum_plain += plain[i], sum_bright += brighter[i];
    EXPECT_GT(sum_bright, sum_plain + long(plain.size()) * 20);

    p->SetBCS(0, 0, 0);
    engine::registerImageEffect(9001, "hue=s=0");  // black and white
    EXPECT_EQ(p->AddImageEffect(9001), 1);
    EXPECT_EQ(p->AddImageEffect(-5), 0); // unknown effects are refused
    p->Refresh();
    const std::vector<unsigned char> grey = snapshotRGB(*p, &w, &h);
    int coloured = 0;
    for (size_t i = 0; i < grey.size(); i += 3)
        if (std::abs(grey[i] - grey[i + 1]) > 8 || std::abs(grey[i + 1] - grey[i + 2]) > 8) ++coloured;
    EXPECT_LT(coloured, int(grey.size() / 3 / 100));

    p->ClearImageEffect();
    p->Refresh();
    EXPECT_LT(meanAbsDiff(snapshotRGB(*p, &w, &h), plain), 0.5);
}

TEST(PlayerSettings, SnapshotNeverWritesMoreThanAsked) {
    auto p = openPlayer(standardClip());
    ASSERT_NE(p, nullptr);
    int32_t w = 160, h = 160;
    std::vector<uint8_t> buffer(size_t(w) * h * 4 + 16, 0xEE);
    EXPECT_EQ(p->Snapshot(&w, &h, buffer.data()), 1);
    EXPECT_EQ(w, 160);
    EXPECT_EQ(h, 120);  // scaled down with its aspect kept
    EXPECT_EQ(buffer[size_t(160) * 160 * 4], 0xEE);
    EXPECT_EQ(buffer[3], 0xFF);  // opaque alpha
}

}  // namespace
}  // namespace kestrel::test

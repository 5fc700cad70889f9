// The composited preview: its picture, its clock and its end-of-play callback.
#include "engine/editing/preview_view.h"
#include "engine/editing/rdve.h"
#include "tests/editing/editing_test_helpers.h"
#include "tests/support/ffprobe.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace kestrel::test;
using kestrel::editing::PreviewView;

namespace {

constexpr int kWaitMs = 30000;  // a deadline for the preview thread, not a measured time

PreviewView* previewViewOf(void* video) {
    return qobject_cast<PreviewView*>(static_cast<QWidget*>(rdVEGetPreview(video)));
}

std::vector<unsigned char> rgbOf(const QImage& picture) {
    QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    std::vector<unsigned char> bytes;
    for (int y = 0; y < rgb.height(); ++y)
        bytes.insert(bytes.end(), rgb.constScanLine(y), rgb.constScanLine(y) + rgb.width() * 3);
    return bytes;
}

bool centreIs(PreviewView* view, QRgb colour) {
    QImage picture = view->picture();
    if (picture.isNull()) return false;
    QRgb got = picture.pixel(picture.width() / 2, picture.height() / 2);
    return std::abs(qRed(got) - qRed(colour)) < 40 && std::abs(qGreen(got) - qGreen(colour)) < 40 &&
           std::abs(qBlue(got) - qBlue(colour)) < 40;
}

struct FinishProbe {
    std::atomic<int> calls{0};
    std::atomic<bool> on_main_thread{false};
    std::thread::id main_thread = std::this_thread::get_id();
};

int onPlayFinished(void* context) {
    auto* probe = static_cast<FinishProbe*>(context);
    probe->on_main_thread = std::this_thread::get_id() == probe->main_thread;
    probe->calls.fetch_add(1);
    return 0;
}

}  // namespace

TEST(EditingPreview, QuadPictureMatchesTheExport) {
    TempDir dir;
    void* video = quadVideo({solidClip(dir, "r", "red"), solidClip(dir, "g", "lime"), solidClip(dir, "b", "blue"),
                             solidClip(dir, "w", "white")});
    ASSERT_EQ(rdVEPreviewInit(video), 1);
    PreviewView* view = previewViewOf(video);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(rdVEPreviewSeek(video, 500000), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->picture().isNull(); }, kWaitMs));
    QImage shown = view->picture();
    ASSERT_EQ(shown.size(), QSize(320, 240));
    std::vector<unsigned char> preview = rgbOf(shown);
    expectColour(preview, 320, 80, 60, 255, 0, 0);
    expectColour(preview, 320, 240, 60, 0, 255, 0);
    expectColour(preview, 320, 80, 180, 0, 0, 255);
    expectColour(preview, 320, 240, 180, 255, 255, 255);

    std::string out = dir.file("quad.mp4");
    ASSERT_EQ(rdVESetOutPath(video, out.c_str()), 1);
    ASSERT_EQ(rdVEEditMedia(video), 1);
    std::vector<unsigned char> exported = decodeFrameRGB(out, 0.5, 320, 240);
    ASSERT_EQ(exported.size(), preview.size());
    EXPECT_LT(meanAbsDiff(preview, exported), 6.0);  // the same layout, up to the encoder's loss
    EXPECT_EQ(rdVEVirtualVideoDestory(video), 1);
}

TEST(EditingPreview, PlayPauseSeekAndFinish) {
    TempDir dir;
    void* video = rdVEVirtualVideoCreate();
    ASSERT_EQ(rdVESetFrameSize(video, 160, 120), 1);
    EXPECT_LT(rdVEPreview(video), 0);  // no preview made yet
    struct { const char* colour; int64_t start_us, end_us; } scenes[] = {{"red", 0, 500000}, {"blue", 500000, 1000000}};
    for (const auto& s : scenes) {
        void* scene = rdVECreateScene(s.start_us, s.end_us);
        ASSERT_NE(rdVESceneAddMedia(scene, solidClip(dir, s.colour, s.colour).c_str()), nullptr);
        ASSERT_EQ(rdVEAddScene(video, scene), 1);
    }
    ASSERT_EQ(rdVEPreviewInit(video), 1);
    PreviewView* view = previewViewOf(video);
    ASSERT_NE(view, nullptr);
    FinishProbe probe;
    ASSERT_EQ(rdVESetPreviewPlayFinishCallback(video, onPlayFinished, &probe), 1);
    const int64_t total = rdVEGetTotalPlaybackTime(video);
    EXPECT_EQ(total, 1000000);
    EXPECT_EQ(rdVEGetCurrentPlaybackTime(video), 0);

    // Seeking while paused moves the clock exactly and shows that moment's scene.
    EXPECT_LT(rdVEPreviewSeek(video, -1), 0);
    ASSERT_EQ(rdVEPreviewSeek(video, 750000), 1);
    EXPECT_EQ(rdVEGetCurrentPlaybackTime(video), 750000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return centreIs(view, qRgb(0, 0, 255)); }, kWaitMs));
    ASSERT_EQ(rdVEPreviewSeek(video, 250000), 1);
    EXPECT_EQ(rdVEGetCurrentPlaybackTime(video), 250000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return centreIs(view, qRgb(255, 0, 0)); }, kWaitMs));

    // Playing starts over from 0 and advances; pausing holds the time.
    ASSERT_EQ(rdVEPreview(video), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rdVEGetCurrentPlaybackTime(video) > 0; }, kWaitMs));
    ASSERT_EQ(rdVEPreviewPause(video), 1);
    int64_t paused_at = rdVEGetCurrentPlaybackTime(video);
    EXPECT_GT(paused_at, 0);
    EXPECT_LE(paused_at, total);
    EXPECT_EQ(rdVEGetCurrentPlaybackTime(video), paused_at);

    // Continuing plays to the end; the callback arrives once, off the main thread, and the
    // clock rests at the total.
    ASSERT_EQ(rdVEPreviewSeek(video, 800000), 1);
    int calls_before = probe.calls;
    ASSERT_EQ(rdVEPreviewConintue(video), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.calls > calls_before; }, kWaitMs));
    EXPECT_FALSE(probe.on_main_thread);
    EXPECT_EQ(rdVEGetCurrentPlaybackTime(video), total);
    EXPECT_TRUE(QTest::qWaitFor([&] { return centreIs(view, qRgb(0, 0, 255)); }, kWaitMs));
    EXPECT_EQ(probe.calls, calls_before + 1);

    EXPECT_EQ(rdVESetPreviewPlayFinishCallback(video, nullptr, nullptr), 1);
    EXPECT_EQ(rdVEPreviewStop(video), 1);
    EXPECT_EQ(rdVEVirtualVideoDestory(video), 1);
    EXPECT_LT(rdVEGetCurrentPlaybackTime(video), 0);
}

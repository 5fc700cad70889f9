// Opening, playing, ending and closing the preview player on generated media.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <fstream>
#include <functional>

#include "tests/player/player_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

using kestrel::player::DIVuverIzizud;
using platform::MediaTime;

namespace kestrel::test {
namespace {

TEST(PlayerOpen, ReportsDurationFrameSizeAndShowsFirstFrame) {
    auto p = openPlayer(standardClip());
    ASSERT_NE(p, nullptr);
    EXPECT_NEAR(p->duration().seconds(), 2.0, 0.05);
    EXPECT_EQ(p->frameWidth(), 320);
    EXPECT_EQ(p->frameHeight(), 240);
    EXPECT_EQ(p->currentTime().seconds(), 0.0);
    EXPECT_EQ(p->playerStatus(), 0);
    ASSERT_NE(p->view(), nullptr);
    p->setFrame(QRectF(0, 0, 200, 100));
    EXPECT_EQ(p->view()->width(), 200);
}

TEST(PlayerOpen, AudioOnlyFileGivesItsLength) {
    TempDir dir;
    FixtureSpec spec;
    spec.width = 0;
    spec.duration_s = 1.5;
    makeMedia(dir.file("music.m4a"), spec);
    auto p = openPlayer(dir.file("music.m4a"));
    ASSERT_NE(p, nullptr);
    EXPECT_NEAR(p->duration().seconds(), 1.5, 0.1);
    EXPECT_EQ(p->frameWidth(), 0);
    p->closePlayer();
    EXPECT_NEAR(p->duration().seconds(), 1.5, 0.1);  // still answered after close
}

TEST(PlayerPlayback, PlayAdvancesTimeOnTheSystemClockAndPauseHolds) {
    auto p = openPlayer(standardClip());
    ASSERT_NE(p, nullptr);
    p->play();
    EXPECT_EQ(p->playerStatus(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(p->currentTime().seconds() > 0.3, 5000);
    p->pause();
    EXPECT_EQ(p->playerStatus(), 0);
    const MediaTime held = p->currentTime();
    QTest::qWait(100);
    EXPECT_EQ(p->currentTime(), held);
    // Pictures followed the clock: the one on screen is no longer the first.
    int w = 0, h = 0;
    std::vector<unsigned char> shown = snapshotRGB(*p, &w, &h);
    std::vector<unsigned char> first = decodeFrameRGB(standardClip(), 0.0, 320, 240);
    EXPECT_GT(meanAbsDiff(shown, first), 1.0);
}

TEST(PlayerPlayback, EndBlockRunsOnTheMainThreadAtTheEnd) {
    TempDir dir;
    FixtureSpec spec;
    spec.duration_s = 0.6;
    makeMedia(dir.file("short.mp4"), spec);
    auto p = openPlayer(dir.file("short.mp4"));
    ASSERT_NE(p, nullptr);
    int calls = 0;
    bool on_main = false;
    p->setPlayerDidEndBlock([&] {
        ++calls;
        on_main = QThread::currentThread() == QCoreApplication::instance()->thread();
    });
    p->SetSpeed(2.0);
    p->play();
    QTRY_COMPARE_WITH_TIMEOUT(calls, 1, 10000);
    EXPECT_TRUE(on_main);
    EXPECT_EQ(p->playerStatus(), 0);
    EXPECT_NEAR(p->currentTime().seconds(), 0.6, 0.1);
    // Duration stays on the source time line whatever the speed.
    EXPECT_NEAR(p->duration().seconds(), 0.6, 0.05);
    QTest::qWait(50);
    EXPECT_EQ(calls, 1);
}

TEST(PlayerPlayback, AudioOnlyPlaysToItsEndWithoutASoundDevice) {
    TempDir dir;
    FixtureSpec spec;
    spec.width = 0;
    spec.duration_s = 0.5;
    spec.audio_codec = "pcm_s16le";
    makeMedia(dir.file("tone.wav"), spec);
    auto p = openPlayer(dir.file("tone.wav"));
    ASSERT_NE(p, nullptr);
    bool ended = false;
    p->setPlayerDidEndBlock([&] { ended = true; });
    p->play();
    QTRY_VERIFY_WITH_TIMEOUT(ended, 10000);
}

TEST(PlayerPlayback, DecodeErrorMidFileEndsPlaybackThroughTheEndBlock) {
    TempDir dir;
    FixtureSpec spec;
    spec.duration_s = 2.0;
    spec.extra_args = {"-f", "mpegts"};
    makeMedia(dir.file("whole.ts"), spec);
    std::ifstream f(dir.file("whole.ts"), std::ios::binary | std::ios::ate);
    truncateCopy(dir.file("whole.ts"), dir.file("cut.ts"), long(f.tellg()) / 2);
    auto p = openPlayer(dir.file("cut.ts"));
    ASSERT_NE(p, nullptr);
    bool ended = false;
    p->setPlayerDidEndBlock([&] { ended = true; });
    p->seekTime(MediaTime::fromSeconds(0.5));
    p->SetSpeed(4.0);
    p->play();
    QTRY_VERIFY_WITH_TIMEOUT(ended, 10000);
    EXPECT_EQ(p->playerStatus(), 0);
}

TEST(PlayerClose, ClosingOrDroppingWhilePlayingIsCleanAndSilent) {
    int calls = 0;
    {
        auto p = openPlayer(standardClip());
        ASSERT_NE(p, nullptr);
        p->setPlayerDidEndBlock([&] { ++calls; });
        p->play();
        QTest::qWait(100);
        p->stop();
        p->closePlayer();
        EXPECT_EQ(p->playerStatus(), 0);
        // Everything after close is a harmless no-op.
        p->play();
        p->seekTime(MediaTime::fromSeconds(1.0));
        p->Refresh();
        EXPECT_EQ(p->playerStatus(), 0);
    }
    {
        auto p = openPlayer(standardClip());
        ASSERT_NE(p, nullptr);
        p->setPlayerDidEndBlock([&] { ++calls; });
        p->seekTime(MediaTime::fromSeconds(0.5));
        p->play();
        QTest::qWait(100);
        EXPECT_EQ(p->playerStatus(), 1);
    }  // dropped while playing
    QTest::qWait(50);
    EXPECT_EQ(calls, 0);
}

struct BrokenInput {
    const char* name;
    std::function<void(const std::string& path)> make;
};

TEST(PlayerOpen, BrokenInputsFailToOpen) {
    TempDir dir;
    const std::vector<BrokenInput> cases = {
        {"missing.mp4", [](const std::string&) {}},
        {"empty.mp4", [](const std::string& p) { writeBytes(p, ""); }},
        {"noise.mp4", [](const std::string& p) { writeBytes(p, std::string(4096, '\x5a') + "\x01\x02\x03"); }},
        {"text.mp4", [](const std::string& p) { writeBytes(p, "this is not a video\n"); }},
        {"header_only.mp4", [](const std::string& p) { truncateCopy(standardClip(), p, 64); }},
    };
    for (const BrokenInput& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.name);
        c.make(path);
        EXPECT_EQ(DIVuverIzizud::initWithString(path, QRectF(0, 0, 20, 20)), nullptr);
    }
}

}  // namespace
}  // namespace kestrel::test

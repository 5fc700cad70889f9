// The joiner's export: clips to pieces (ranges, removed ranges, volumes, transitions), the
// output values from the format bar and the reference clip, and real joins checked with
// ffprobe: transitions shorten the output by their overlaps, a reference clip's 29.97 stays
// 30000/1001, a stop is no success and leaves no file, and nothing is overwritten.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "platform/user_defaults.h"
#include "session/export/join/join_export_job.h"
#include "session/media/media_probe.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

using namespace kestrel::session;
using kestrel::model::SimpleData;
using kestrel::model::SimpleDataPtr;
using kestrel::test::TempDir;

namespace {

SimpleDataPtr clip(const QString& path, double durationS, int64_t startUs, int64_t stopUs, int transition = 0,
                   bool removeRange = false, double volume = 1.0) {
    SimpleDataPtr c = kestrel::model::makeSimpleData();
    c->path = path;
    c->sourceData.duration = float(durationS);
    c->cutTimeRange_start = startUs;
    c->cutTimeRange_stop = stopUs;
    c->transitionEffect = transition;
    c->isTrimFanxuan = removeRange;
    c->volume = volume;
    return c;
}

bool waitFinished(Job& job, int timeoutMs = 120000) {
    QElapsedTimer timer;
    timer.start();
    while (!job.isFinished() && timer.elapsed() < timeoutMs) QTest::qWait(20);
    return job.isFinished();
}

TEST(JoinPieces, TransitionLengthFollowsTheShorterClip) {
    struct Case {
        double own_s, next_s;
        int64_t expected_us;
    } cases[] = {
        {1.2, 10, 0},              // a third of 1.2 s is too short to show
        {2, 10, 666666},           // a third of 2 s
        {9, 12, 3000000},          // capped at 3 s
        {5.99, 20, 1996666},       // just under 6 s: just under 2 s
        {6, 6, 3000000},
        {0, 5, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(transitionDurationUs(int64_t(c.own_s * 1e6), int64_t(c.next_s * 1e6)), c.expected_us) << c.own_s;
}

TEST(JoinPieces, RangesVolumesAndTransitionsBecomePieces) {
    const QList<SimpleDataPtr> clips{
        clip("a.mp4", 10, 1000000, 7000000, 3, false, 0.5),   // kept 6 s, fade into b
        clip("b.mp4", 10, 0, 4000000, 1, true, 1.5),           // removes its first 4 s: one piece 4..10
        clip("c.mp4", 8, 2000000, 6000000, 2),                  // last clip: its transition is ignored
    };
    const std::vector<JoinPiece> pieces = joinPieces(clips);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].start_us, 1000000);
    EXPECT_EQ(pieces[0].stop_us, 7000000);
    EXPECT_DOUBLE_EQ(pieces[0].volume, 0.5);  // a fraction, not cut to 0
    EXPECT_EQ(pieces[0].transition, 3);
    EXPECT_EQ(pieces[0].transition_us, 3000000);  // both keep 6 s: the full 3 s
    EXPECT_EQ(pieces[1].start_us, 4000000);       // (0, 0) would be the whole file: skipped
    EXPECT_EQ(pieces[1].stop_us, 10000000);
    EXPECT_DOUBLE_EQ(pieces[1].volume, 1.5);
    EXPECT_EQ(pieces[1].transition, 1);
    EXPECT_EQ(pieces[1].transition_us, 1000000);  // a removed range's clip blends in 1 s
    EXPECT_EQ(pieces[2].transition, 0);
    EXPECT_EQ(joinedLengthUs(pieces), 6000000 + 6000000 + 4000000 - 3000000 - 1000000);
}

TEST(JoinPieces, RemovedMiddleGivesTwoPiecesWithoutATransitionBetweenThem) {
    const std::vector<JoinPiece> pieces = joinPieces({clip("a.mp4", 10, 3000000, 5000000, 3, true)});
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].stop_us, 3000000);
    EXPECT_EQ(pieces[1].start_us, 5000000);
    EXPECT_EQ(pieces[0].transition + pieces[1].transition, 0);
}

SimpleDataPtr referenceClip() {
    SimpleDataPtr r = clip("ref.webm", 4, 0, 4000000);
    r->sourceData.exist = 1;
    r->sourceData.width = 640;
    r->sourceData.height = 360;
    r->sourceData.fps = 30000.0 / 1001.0;
    r->sourceData.bitrate = 900;
    r->sourceData.metadata_vcodec = "vp9";
    r->sourceData.extension = "webm";
    r->sourceData.a_exist = 1;
    r->sourceData.a_codec = "opus";
    r->sourceData.a_channel = 2;
    r->sourceData.a_samplerate = 48000;
    r->sourceData.a_bitrate = 96;
    return r;
}

TEST(JoinOutput, ReferenceClipFillsWhatTheBarLeavesOpen) {
    const SimpleDataPtr ref = referenceClip();
    exportkit::ProfileChoice open;  // "Keep Original": nothing chosen
    const JoinOutputSettings s = joinOutputSettings(open, ref.get(), nullptr);
    EXPECT_EQ(s.extension, "webm");
    EXPECT_EQ(s.vcodec, "vp9");
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 360);
    EXPECT_EQ(s.fps, (FrameRate{30000, 1001}));  // not 29, not 30
    EXPECT_EQ(s.videoKbps, 900);
    EXPECT_EQ(s.acodec, "opus");
    EXPECT_EQ(s.channels, 2);
    EXPECT_EQ(s.sampleRate, 48000);

    exportkit::ProfileChoice chosen;
    chosen.extName = "mp4";
    chosen.resolution = "1280x720";
    chosen.framerate = "25";
    chosen.achannel = "1";
    const JoinOutputSettings mixed = joinOutputSettings(chosen, ref.get(), nullptr);
    EXPECT_EQ(mixed.extension, "mp4");
    EXPECT_EQ(mixed.width, 1280);
    EXPECT_EQ(mixed.fps, (FrameRate{25, 1}));
    EXPECT_EQ(mixed.channels, 1);
    EXPECT_EQ(mixed.vcodec, "vp9");  // still open in the choice

    ref->sourceData.angle = 90;
    const JoinOutputSettings turned = joinOutputSettings(open, ref.get(), nullptr);
    EXPECT_EQ(turned.width, 360);
    EXPECT_EQ(turned.height, 640);

    const SimpleDataPtr first = clip("first.mkv", 2, 0, 0);
    first->sourceData.extension = "mkv";
    const JoinOutputSettings none = joinOutputSettings(open, nullptr, first.get());
    EXPECT_EQ(none.extension, "mkv");
    EXPECT_FALSE(none.hasFrameSize());
    EXPECT_FALSE(none.fps.isSet());
}

TEST(JoinOutput, CustomSizeAndBitrateComeFromTheirStoredValues) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setInteger(exportkit::kCustomWidthKey, 800);
    defaults.setInteger(exportkit::kCustomHeightKey, 0);
    defaults.setInteger(exportkit::kCustomBitrateKey, 2500);
    exportkit::ProfileChoice custom;
    custom.resolution = exportkit::kCustomValue;
    custom.bitrate = exportkit::kCustomValue;
    const SimpleDataPtr ref = referenceClip();
    const JoinOutputSettings s = joinOutputSettings(custom, ref.get(), nullptr);
    EXPECT_EQ(s.width, 800);
    EXPECT_EQ(s.height, 360);  // no custom height: the reference clip's
    EXPECT_EQ(s.videoKbps, 2500);
    defaults.removeObjectForKey(exportkit::kCustomWidthKey);
    defaults.removeObjectForKey(exportkit::kCustomHeightKey);
    defaults.removeObjectForKey(exportkit::kCustomBitrateKey);
}

class JoinExportJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        kestrel::test::FixtureSpec a;
        a.duration_s = 3;
        a.width = 320;
        a.height = 240;
        a.frame_rate = "30000/1001";
        kestrel::test::makeMedia(dir.file("a.mp4"), a);
        kestrel::test::FixtureSpec b;
        b.duration_s = 3;
        b.width = 320;
        b.height = 240;
        b.frame_rate = "25";
        kestrel::test::makeMedia(dir.file("b.mkv"), b);
    }
    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }
    QString outputFolder() const { return QString::fromStdString(dir.file("out")); }

    TempDir dir;
};

TEST_F(JoinExportJobTest, TransitionOverlapsAndReferenceRateReachTheFile) {
    const SimpleDataPtr a = probeMediaFile(path("a.mp4"), {});
    const SimpleDataPtr b = probeMediaFile(path("b.mkv"), {});
    ASSERT_TRUE(a && b);
    EXPECT_NEAR(a->sourceData.fps, 30000.0 / 1001.0, 1e-6);  // the probe keeps 29.97
    a->cutTimeRange_start = 0;
    a->cutTimeRange_stop = 3000000;
    a->transitionEffect = 3;
    b->cutTimeRange_start = 500000;
    b->cutTimeRange_stop = 2900000;
    const JoinOutputSettings settings = joinOutputSettings(exportkit::ProfileChoice{}, a.get(), a.get());
    JoinExportJob job({a, b}, settings, outputFolder(), "joined");
    job.start();
    ASSERT_TRUE(waitFinished(job));
    ASSERT_TRUE(job.result().done()) << job.result().code;
    const auto probed = kestrel::test::ffprobe(job.outputPath().toStdString());
    ASSERT_TRUE(probed.ok);
    const auto* video = probed.firstOf("video");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->r_frame_rate, "30000/1001");
    const double expected_s = double(joinedLengthUs(job.pieces())) / 1e6;
    EXPECT_LT(expected_s, 5.4 - 0.7);  // the fade overlaps the clips by 0.8 s
    EXPECT_NEAR(probed.duration_s, expected_s, 2.0 / 25.0);
}

TEST_F(JoinExportJobTest, StopEndsStoppedWithNoFile) {
    kestrel::test::FixtureSpec longer;
    longer.duration_s = 30;
    longer.width = 640;
    longer.height = 360;
    kestrel::test::makeMedia(dir.file("long.mp4"), longer);
    const SimpleDataPtr c = probeMediaFile(path("long.mp4"), {});
    ASSERT_TRUE(c);
    c->cutTimeRange_stop = 30000000;
    c->transitionEffect = 3;
    c->volume = 0.5;  // forces a re-encode
    const SimpleDataPtr d = probeMediaFile(path("long.mp4"), {});
    d->cutTimeRange_stop = 30000000;
    JoinOutputSettings settings = joinOutputSettings(exportkit::ProfileChoice{}, nullptr, c.get());
    settings.vcodec = "libx264";
    JoinExportJob job({c, d}, settings, outputFolder(), "stopped");
    QSignalSpy finished(&job, &Job::finished);
    job.start();
    QTest::qWait(300);
    job.stop();
    ASSERT_TRUE(waitFinished(job));
    EXPECT_TRUE(job.result().stopped());
    EXPECT_FALSE(job.result().done());
    EXPECT_FALSE(QFileInfo::exists(job.outputPath()));
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(JoinExportJobTest, AnExistingNameIsNeverReplaced) {
    QDir().mkpath(outputFolder());
    QFile taken(outputFolder() + "/joined.mp4");
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("keep me");
    taken.close();
    const SimpleDataPtr a = probeMediaFile(path("a.mp4"), {});
    a->cutTimeRange_stop = 1000000;
    JoinOutputSettings settings = joinOutputSettings(exportkit::ProfileChoice{}, nullptr, a.get());
    JoinExportJob job({a}, settings, outputFolder(), "joined");
    job.start();
    ASSERT_TRUE(waitFinished(job));
    ASSERT_TRUE(job.result().done());
    EXPECT_EQ(QFileInfo(job.outputPath()).fileName(), "joined(2).mp4");
    QFile kept(outputFolder() + "/joined.mp4");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
}

TEST_F(JoinExportJobTest, AnUnreadableClipFailsWithNoFile) {
    const SimpleDataPtr a = probeMediaFile(path("a.mp4"), {});
    a->cutTimeRange_stop = 1000000;
    const SimpleDataPtr gone = clip(path("missing.mp4"), 2, 0, 1000000);
    JoinExportJob job({a, gone}, joinOutputSettings({}, nullptr, a.get()), outputFolder(), "failed");
    job.start();
    ASSERT_TRUE(waitFinished(job));
    EXPECT_TRUE(job.result().failed());
    EXPECT_FALSE(QFileInfo::exists(job.outputPath()));
}

}  // namespace

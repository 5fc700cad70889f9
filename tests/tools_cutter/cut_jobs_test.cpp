// The cutters' jobs against real engine runs, checked with ffprobe and ffmpeg: exact ranges with
// the source's codecs, removed ranges that leave no frame behind, names that never overwrite,
// and no file after a stop or a failure.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include "services/language.h"
#include "session/export/cut/cut_jobs.h"
#include "session/jobs/failure_reasons.h"
#include "session/jobs/job_queue.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/tools_cutter/cut_test_helpers.h"

using namespace kestrel::session;
using namespace kestrel::test::cutter;
using kestrel::test::TempDir;

namespace {

JobResult runToEnd(Job* job) {
    JobResult result;
    bool ended = false;
    QObject::connect(job, &Job::finished, [&](const JobResult& r) {
        result = r;
        ended = true;
    });
    job->start();
    EXPECT_TRUE(waitFor([&] { return ended; }));
    return result;
}

int countOf(const std::vector<Hue>& hues, Hue hue) { return int(std::count(hues.begin(), hues.end(), hue)); }

}  // namespace

TEST(CutRanges, PiecesOutsideARemovedRangeLeaveEmptyPiecesOut) {
    struct Case {
        CutRange removed;
        QList<CutRange> expected;
    };
    const int64_t d = 10'000'000;
    const std::vector<Case> cases = {
        {{2'500'000, 7'500'000}, {{0, 2'500'000}, {7'500'000, d}}},
        {{0, 4'000'000}, {{4'000'000, d}}},          // starts at 0: no empty first piece
        {{6'000'000, d}, {{0, 6'000'000}}},          // ends at the end: no empty last piece
        {{6'000'000, d + 5}, {{0, 6'000'000}}},      // past the end
        {{0, d}, {}},                                // everything removed
        {{0, 0}, {}},                                // no range: nothing to keep outside it
    };
    for (const Case& c : cases) EXPECT_EQ(piecesOutside(c.removed, d), c.expected) << c.removed.start_us;
}

TEST(CutJobs, KeptRangeOffKeyFramesIsExactInTheSourceCodecs) {
    TempDir dir;
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 10;
    spec.gop = 50;  // key frames every 2 s: 2.3 s and 6.7 s lie between them
    const std::string source = dir.file("clip.mp4");
    kestrel::test::makeMedia(source, spec);

    CutJob job(QString::fromStdString(source), {{2'300'000, 6'700'000}}, {QString::fromStdString(dir.file("out")), "clip", "mp4"});
    const JobResult result = runToEnd(&job);
    ASSERT_TRUE(result.done()) << result.code << result.message.toStdString();
    ASSERT_EQ(result.outputs.size(), 1);
    const std::string out = result.outputs.first().toStdString();
    EXPECT_EQ(out, dir.file("out/clip.mp4"));

    const auto probed = kestrel::test::ffprobe(out, true);
    ASSERT_TRUE(probed.ok) << probed.error;
    const auto* video = probed.firstOf("video");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->codec, "h264");
    EXPECT_EQ(probed.firstOf("audio")->codec, "aac");
    EXPECT_EQ(video->frames, 110);  // 4.4 s at 25 fps
    EXPECT_NEAR(probed.duration_s, 4.4, kFrame_s + 0.03);
    EXPECT_EQ(decodeErrors(out), "");
    const auto first = kestrel::test::decodeFrameRGB(out, 0, 160, 120);
    const auto atStart = kestrel::test::decodeFrameRGB(source, 2.3, 160, 120);
    const auto frameBefore = kestrel::test::decodeFrameRGB(source, 2.26, 160, 120);
    EXPECT_LT(kestrel::test::meanAbsDiff(first, atStart), kestrel::test::meanAbsDiff(first, frameBefore));
    EXPECT_LT(kestrel::test::meanAbsDiff(first, atStart), 6.0);
}

TEST(CutJobs, RemovedRangeLeavesNoFrameOfIt) {
    TempDir dir;
    const std::string source = makeColourThirds(dir.file("thirds.mp4"));
    CutJob job(QString::fromStdString(source), piecesOutside({2'500'000, 7'500'000}, 10'000'000),
               {QString::fromStdString(dir.path()), "thirds", "mp4"});
    const JobResult result = runToEnd(&job);
    ASSERT_TRUE(result.done()) << result.code;
    const std::string out = result.outputs.first().toStdString();
    EXPECT_EQ(out, dir.file("thirds(2).mp4"));  // the source is never overwritten
    const auto probed = kestrel::test::ffprobe(out, true);
    EXPECT_NEAR(probed.duration_s, 5.0, kFrame_s + 0.03);
    const auto hues = frameHues(out);
    ASSERT_FALSE(hues.empty());
    EXPECT_EQ(countOf(hues, Hue::Green), 0);
    EXPECT_EQ(hues.front(), Hue::Red);
    EXPECT_EQ(hues.back(), Hue::Blue);
    EXPECT_EQ(countOf(hues, Hue::Red), 75);
    EXPECT_EQ(countOf(hues, Hue::Blue), 75);
    EXPECT_EQ(decodeErrors(out), "");
}

TEST(CutJobs, RemovedRangeAtTheStartKeepsOnlyWhatFollows) {
    TempDir dir;
    const std::string source = makeColourThirds(dir.file("thirds.mp4"));
    CutJob job(QString::fromStdString(source), piecesOutside({0, 7'500'000}, 10'000'000),
               {QString::fromStdString(dir.file("out")), "thirds", "mp4"});
    const JobResult result = runToEnd(&job);
    ASSERT_TRUE(result.done()) << result.code;
    const auto hues = frameHues(result.outputs.first().toStdString());
    EXPECT_EQ(int(hues.size()), 75);
    EXPECT_EQ(countOf(hues, Hue::Blue), int(hues.size()));
}

TEST(CutJobs, NothingToWriteFailsWithAReasonAndNoFile) {
    TempDir dir;
    const std::string source = dir.file("a.mp4");
    kestrel::test::makeMedia(source, {});
    CutJob job(QString::fromStdString(source), {{1'000'000, 1'000'000}}, {QString::fromStdString(dir.path()), "x", "mp4"});
    const JobResult result = runToEnd(&job);
    EXPECT_TRUE(result.failed());
    EXPECT_FALSE(result.message.isEmpty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("x.mp4"))));
}

TEST(CutJobs, CorruptSourceFailsAndLeavesNoFile) {
    TempDir dir;
    const std::string source = dir.file("bad.mp4");
    kestrel::test::writeBytes(source, std::string(4096, '\x42'));
    CutJob job(QString::fromStdString(source), {{0, 1'000'000}}, {QString::fromStdString(dir.file("out")), "bad", "mp4"});
    const JobResult result = runToEnd(&job);
    EXPECT_TRUE(result.failed());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("out/bad.mp4"))));
}

// Each way a cut fails names its cause, never the "stopped" a refused set-up call's -1 would
// read as.
TEST(CutJobs, EachFailureNamesItsCause) {
    TempDir dir;
    const std::string good = dir.file("good.mp4"), bad = dir.file("bad.mp4"), plain = dir.file("plain");
    kestrel::test::makeMedia(good, {});
    kestrel::test::writeBytes(bad, std::string(4096, '\x42'));
    kestrel::test::writeBytes(plain, "x");
    const QString out = QString::fromStdString(dir.file("out"));
    const struct {
        const char* what;
        std::string source;
        QString folder;
        const char* key;
    } cases[] = {
        {"source gone", dir.file("gone.mp4"), out, "FailureSourceMissing"},
        {"source damaged", bad, out, "FailureSourceUnreadable"},
        {"folder cannot be made", good, QString::fromStdString(plain) + "/out", "FailureFolderMissing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CutJob job(QString::fromStdString(c.source), {{0, 1'000'000}}, {c.folder, "cut", "mp4"});
        const JobResult result = runToEnd(&job);
        ASSERT_TRUE(result.failed());
        const kestrel::session::FailureContext context{QString::fromStdString(c.source), c.folder, 0};
        EXPECT_EQ(kestrel::session::failureReason(result, context), services::localized(c.key)) << result.code;
        EXPECT_TRUE(QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    }
}

TEST(CutJobs, QueuedCutsIntoOneFolderAreNumberedAndStopLeavesNoFile) {
    TempDir dir;
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 3;
    const std::string source = dir.file("clip.mp4");
    kestrel::test::makeMedia(source, spec);
    const QString folder = QString::fromStdString(dir.file("out"));

    JobQueue queue;
    QList<JobResult> results;
    QObject::connect(&queue, &JobQueue::jobFinished, [&](Job*, const JobResult& r) { results.append(r); });
    for (int i = 0; i < 2; ++i) queue.enqueue(new CutJob(QString::fromStdString(source), {{500'000, 2'500'000}}, {folder, "clip", "mp4"}));
    ASSERT_TRUE(waitFor([&] { return queue.idle(); }));
    ASSERT_EQ(results.size(), 2);
    EXPECT_EQ(results[0].outputs, QStringList{folder + "/clip.mp4"});
    EXPECT_EQ(results[1].outputs, QStringList{folder + "/clip(2).mp4"});

    // A long re-encoded cut stopped half way leaves nothing.
    kestrel::test::FixtureSpec longSpec;
    longSpec.duration_s = 30;
    longSpec.width = 1280;
    longSpec.height = 720;
    longSpec.gop = 250;
    const std::string longSource = dir.file("long.mp4");
    kestrel::test::makeMedia(longSource, longSpec);
    auto* job = new CutJob(QString::fromStdString(longSource), {{1'300'000, 29'000'000}}, {folder, "long", "mp4"});
    JobResult stopped;
    QObject::connect(job, &Job::finished, [&](const JobResult& r) { stopped = r; });
    queue.enqueue(job);
    ASSERT_TRUE(waitFor([&] { return job->progress() > 0.05 || job->isFinished(); }));
    queue.stopAll();
    ASSERT_TRUE(waitFor([&] { return queue.idle(); }));
    EXPECT_TRUE(stopped.stopped());
    EXPECT_FALSE(QFile::exists(folder + "/long.mp4"));
}

namespace {

// Mean loudness of a file's sound in dB, by ffmpeg's volumedetect.
double meanVolumeDb(const std::string& path) {
    std::string out;
    kestrel::test::runCommand("ffmpeg -v info -i '" + path + "' -map 0:a:0 -af volumedetect -f null - 2>&1 | grep mean_volume", &out);
    const auto at = out.find("mean_volume:");
    return at == std::string::npos ? 0 : std::stod(out.substr(at + 12));
}

}  // namespace

TEST(CutJobs, JoinedRangesTakeTheVolumeAsAFraction) {
    TempDir dir;
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 6;
    const std::string source = dir.file("tone.mp4");
    kestrel::test::makeMedia(source, spec);
    const QList<CutRange> ranges{{0, 2'000'000}, {3'000'000, 5'000'000}};
    CutJob full(QString::fromStdString(source), ranges, {QString::fromStdString(dir.path()), "full", "mp4"});
    CutJob half(QString::fromStdString(source), ranges, {QString::fromStdString(dir.path()), "half", "mp4"});
    half.setVolume(0.5);  // a whole number would make it 0: silence
    ASSERT_TRUE(runToEnd(&full).done());
    ASSERT_TRUE(runToEnd(&half).done());
    const double loss = meanVolumeDb(dir.file("full.mp4")) - meanVolumeDb(dir.file("half.mp4"));
    EXPECT_NEAR(loss, 6.0, 1.0);
}

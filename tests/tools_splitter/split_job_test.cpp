// The split run against ffprobe: pieces that cover the source frame for frame, size caps held,
// stop and failures leaving nothing behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "session/export/split/split_job.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/tools_splitter/split_test_helpers.h"

namespace kestrel::test {
namespace {

using session::JobResult;
using session::SplitJob;
using session::SplitPlan;

SplitPlan planFor(const std::string& source, const TempDir& out) {
    SplitPlan plan;
    plan.sourcePath = QString::fromStdString(source);
    plan.folder = QString::fromStdString(out.file("run"));
    plan.baseName = QStringLiteral("clip-split");
    plan.extension = QStringLiteral("mp4");
    return plan;
}

JobResult runToEnd(SplitJob& job) {
    job.start();
    EXPECT_TRUE(waitUntil([&] { return job.isFinished(); }, 240000));
    return job.result();
}

TEST(SplitJob, PiecesAtPointsCoverTheSourceFrameForFrame) {
    TempDir out;
    SplitPlan plan = planFor(twentySecondClip(), out);
    plan.endFractions = {0.13, 0.5, 0.771, 1.0};  // none of them on a key frame or a whole second
    SplitJob job(plan);
    const JobResult result = runToEnd(job);
    ASSERT_TRUE(result.done()) << result.code << " " << result.message.toStdString();
    ASSERT_EQ(result.outputs.size(), 4);
    EXPECT_EQ(QFileInfo(result.outputs.at(0)).fileName(), "clip-split1.mp4");
    EXPECT_EQ(QFileInfo(result.outputs.at(3)).fileName(), "clip-split4.mp4");
    expectPiecesCoverSource(twentySecondClip(), toStd(result.outputs));
    const ProbedMedia second = ffprobe(result.outputs.at(1).toStdString(), true);
    EXPECT_NEAR(second.firstOf("video")->duration_s, (0.5 - 0.13) * 20, 0.04 + 1e-6);
}

TEST(SplitJob, SizeCapHeldAndEachPieceStartsWhereThePreviousEnded) {
    TempDir out;
    SplitPlan plan = planFor(largeClip(), out);
    const int64_t cap = 1024 * 1024;
    plan.pieceLimitBytes = cap;
    SplitJob job(plan);
    const JobResult result = runToEnd(job);
    ASSERT_TRUE(result.done()) << result.code << " " << result.message.toStdString();
    const long long sourceBytes = QFileInfo(QString::fromStdString(largeClip())).size();
    ASSERT_GE(result.outputs.size(), 2) << sourceBytes;
    for (int i = 0; i < result.outputs.size(); ++i) {
        const double bytes = double(QFileInfo(result.outputs.at(i)).size());
        EXPECT_LE(bytes, cap * 1.05) << i;
        if (i + 1 < result.outputs.size()) EXPECT_GE(bytes, cap * 0.95) << i;
    }
    expectPiecesCoverSource(largeClip(), toStd(result.outputs));
}

TEST(SplitJob, SoundOnlyPiecesAddUpToTheSource) {
    TempDir out;
    const std::string source = out.file("tone.m4a");
    FixtureSpec spec;
    spec.duration_s = 9;
    spec.width = 0;
    makeMedia(source, spec);
    SplitPlan plan = planFor(source, out);
    plan.extension = QStringLiteral("m4a");
    plan.endFractions = {1.0 / 3, 2.0 / 3, 1.0};
    SplitJob job(plan);
    const JobResult result = runToEnd(job);
    ASSERT_TRUE(result.done()) << result.code << " " << result.message.toStdString();
    ASSERT_EQ(result.outputs.size(), 3);
    double total_s = 0;
    for (const QString& piece : result.outputs) {
        const ProbedMedia probed = ffprobe(piece.toStdString());
        ASSERT_TRUE(probed.ok);
        EXPECT_EQ(probed.countOf("video"), 0);
        EXPECT_NEAR(probed.firstOf("audio")->duration_s, 3.0, 0.05);
        total_s += probed.firstOf("audio")->duration_s;
    }
    EXPECT_NEAR(total_s, ffprobe(source).firstOf("audio")->duration_s, 3 * 1024.0 / 44100 + 1e-6);
}

TEST(SplitJob, SecondRunNumbersOnInTheSameFolder) {
    TempDir out;
    SplitPlan plan = planFor(twentySecondClip(), out);
    plan.endFractions = {0.5, 1.0};
    SplitJob first(plan);
    ASSERT_TRUE(runToEnd(first).done());
    SplitJob second(plan);
    const JobResult result = runToEnd(second);
    ASSERT_TRUE(result.done());
    EXPECT_EQ(QFileInfo(result.outputs.at(0)).fileName(), "clip-split3.mp4");
    EXPECT_EQ(QDir(plan.folder).entryList(QDir::Files).size(), 4);
}

// A stopped run keeps the pieces it finished, whole, and removes only the one being written.
TEST(SplitJob, StopKeepsTheFinishedPiecesAndRemovesOnlyThePieceBeingWritten) {
    TempDir out;
    SplitPlan plan = planFor(largeClip(), out);
    plan.endFractions = {0.25, 0.5, 0.75, 1.0};
    plan.forceEncode = true;  // encoded pieces take long enough for the stop to land inside one
    SplitJob job(plan);
    job.start();
    ASSERT_TRUE(waitUntil([&] { return job.pieceIndex() >= 1 || job.isFinished(); }, 240000));
    job.stop();
    ASSERT_TRUE(waitUntil([&] { return job.isFinished(); }, 240000));
    ASSERT_TRUE(job.result().stopped());

    QStringList kept;
    for (const QString& name : QDir(plan.folder).entryList(QDir::Files, QDir::Name)) kept << QDir(plan.folder).filePath(name);
    EXPECT_EQ(kept, job.pieces());
    ASSERT_GE(kept.size(), 1);
    ASSERT_LT(kept.size(), 4);
    std::vector<FrameSource> pieces;
    for (const QString& piece : kept) {
        EXPECT_TRUE(decodesCleanly(piece.toStdString()));
        pieces.push_back(piece.toStdString());
    }
    const std::vector<FrameMapping> mapped = mapPieces(pieces, largeClip());
    int frames = 0;
    for (const FrameMapping& m : mapped) frames += m.outputFrames();
    EXPECT_EQ(frames, 125 * int(kept.size()));  // each a quarter of 20 s at 25 fps
    EXPECT_TRUE(piecesShowSourceFramesOnce(mapped, 0, frames));
}

TEST(SplitJob, UnreadableSourceFailsWithAMessageAndWritesNothing) {
    TempDir out;
    const std::string broken = out.file("broken.mp4");
    writeBytes(broken, std::string(4096, 'x'));
    SplitPlan plan = planFor(broken, out);
    plan.endFractions = {0.5, 1.0};
    SplitJob job(plan);
    const JobResult result = runToEnd(job);
    EXPECT_TRUE(result.failed());
    EXPECT_FALSE(result.message.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(plan.folder));
}

}  // namespace
}  // namespace kestrel::test

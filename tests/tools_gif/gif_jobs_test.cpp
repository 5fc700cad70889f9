// The GIF maker's jobs on their own: names that never overwrite, and a range with no picture
// in it ending failed with nothing written.
#include "session/export/gif/gif_export_job.h"
#include "session/export/gif/gif_picture_sequence_job.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace kestrel;
using kestrel::test::TempDir;

namespace {

session::JobResult runToEnd(session::Job& job) {
    QSignalSpy spy(&job, &session::Job::finished);
    job.start();
    EXPECT_TRUE(spy.wait(120000) || job.isFinished());
    return job.result();
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(GifJobs, OutputsTakeTheNextFreeNameAndLeaveTakenOnesAlone) {
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    const std::string video = dir.file("clip.mp4");
    test::FixtureSpec spec;
    spec.duration_s = 1;
    test::makeMedia(video, spec);
    test::writeBytes(dir.file("clip_x.gif"), "mine");
    QDir().mkpath(folder + "/clip_x");
    test::writeBytes(dir.file("clip_x/0.jpg"), "mine too");

    session::GifExportJob gif(session::GifVideoRequest{QString::fromStdString(video), 0, 500000, 160, 120, 10, folder, "clip_x"});
    EXPECT_EQ(gif.outputPath(), folder + "/clip_x(2).gif");
    ASSERT_TRUE(runToEnd(gif).done()) << gif.result().code;
    EXPECT_EQ(contents(folder + "/clip_x.gif"), "mine");

    session::PictureSequenceJob pictures(
        session::PictureSequenceRequest{QString::fromStdString(video), 0, 200000, 160, 120, 10, folder, "clip_x"});
    EXPECT_EQ(pictures.outputFolder(), folder + "/clip_x(2)");
    ASSERT_TRUE(runToEnd(pictures).done()) << pictures.result().code;
    EXPECT_EQ(pictures.pictureCount(), 3);
    EXPECT_EQ(contents(folder + "/clip_x/0.jpg"), "mine too");
    EXPECT_EQ(QDir(folder + "/clip_x").entryList(QDir::Files).size(), 1);
}

TEST(GifJobs, ARangeWithNoPictureFailsAndWritesNothing) {
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path()) + "/out";
    const std::string video = dir.file("clip.mp4");
    test::FixtureSpec spec;
    spec.duration_s = 1;
    test::makeMedia(video, spec);
    // The range starts after the video has ended.
    session::PictureSequenceJob job(
        session::PictureSequenceRequest{QString::fromStdString(video), 5'000'000, 6'000'000, 160, 120, 10, folder, "late"});
    session::JobResult result = runToEnd(job);
    EXPECT_TRUE(result.failed());
    EXPECT_EQ(result.code, session::PictureSequenceJob::kNoPictureCode);
    EXPECT_FALSE(result.message.isEmpty());
    EXPECT_TRUE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

}  // namespace

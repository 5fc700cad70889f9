// The job base and the serial queue against real convert runs: order, stop, destruction while
// a run blocks, failures, and the files a job owns.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QThreadPool>
#include <QTest>

#include "engine/mediacore/media_core.h"
#include "session/jobs/engine_runs.h"
#include "session/jobs/job_queue.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

using namespace kestrel::session;
using kestrel::test::TempDir;

namespace {

// Converts one file to another with a re-encode; writes a temporary beside the output first
// so the tests can see that owned temporaries go on every outcome.
class ConvertFileJob : public Job {
public:
    ConvertFileJob(QString input, QString output, QString temporary = QString())
        : input_(std::move(input)), output_(std::move(output)), temporary_(std::move(temporary)) {}

protected:
    void begin() override {
        if (!temporary_.isEmpty()) {
            QFile file(temporary_);
            if (file.open(QIODevice::WriteOnly)) file.write("part");
            ownTemporary(temporary_);
        }
        ConvertHandle handle = ConvertHandle::create();
        int32_t rc = apiMediaConvertSetInputMedia(handle.get(), input_.toUtf8().constData());
        if (!accepted(rc)) return finishFailed(rc);
        if (!accepted(rc = apiMediaConvertSetVcodec(handle.get(), "libx264"))) return finishFailed(rc);
        if (!accepted(rc = apiMediaConvertSetOutputPath(handle.get(), output_.toUtf8().constData())))
            return finishFailed(rc);
        ownOutput(output_);
        runEngine(std::make_shared<ConvertRun>(std::move(handle)), 0.0, 1.0, [this](int32_t result) {
            if (runOutcome(result) == Outcome::Done)
                finishDone({output_});
            else
                finishFailed(result);
        });
    }

private:
    QString input_, output_, temporary_;
};

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 60000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) return false;
        QTest::qWait(10);
    }
    return true;
}

// A source long enough that a stop lands while the run is still writing.
std::string longSource(const TempDir& dir) {
    const std::string path = dir.file("long.mp4");
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 20;
    spec.width = 640;
    spec.height = 360;
    kestrel::test::makeMedia(path, spec);
    return path;
}

}  // namespace

TEST(SessionJobQueue, RunsJobsOneAfterAnotherAndReportsEachOutcome) {
    TempDir dir;
    const std::string input = dir.file("in.mp4");
    kestrel::test::makeMedia(input, {});
    JobQueue queue;
    std::vector<std::string> events;
    QObject::connect(&queue, &JobQueue::jobStarted, [&](Job*) {
        events.push_back("start");
    });
    QObject::connect(&queue, &JobQueue::jobFinished, [&](Job*, const JobResult& r) {
        events.push_back(outcomeName(r.outcome));
    });
    bool drained = false;
    QObject::connect(&queue, &JobQueue::drained, [&] { drained = true; });

    const QString a = QString::fromStdString(dir.file("a.mp4"));
    const QString b = QString::fromStdString(dir.file("b.mp4"));
    queue.enqueue(new ConvertFileJob(QString::fromStdString(input), a));
    queue.enqueue(new ConvertFileJob(QString::fromStdString(dir.file("missing.mp4")), QString::fromStdString(dir.file("c.mp4"))));
    queue.enqueue(new ConvertFileJob(QString::fromStdString(input), b));
    EXPECT_EQ(queue.waitingCount(), 2);  // the first started at once
    ASSERT_TRUE(waitFor([&] { return drained; }));

    EXPECT_EQ(events, (std::vector<std::string>{"start", "done", "start", "failed", "start", "done"}));
    for (const QString& out : {a, b}) {
        const auto probed = kestrel::test::ffprobe(out.toStdString());
        ASSERT_TRUE(probed.ok) << out.toStdString();
        EXPECT_NEAR(probed.duration_s, 2.0, 0.1);
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("c.mp4"))));
    EXPECT_TRUE(queue.idle());
}

TEST(SessionJob, StopEndsStoppedAndLeavesNoFile) {
    TempDir dir;
    const std::string input = longSource(dir);
    const QString output = QString::fromStdString(dir.file("out.mp4"));
    const QString temporary = QString::fromStdString(dir.file("part.tmp"));
    ConvertFileJob job(QString::fromStdString(input), output, temporary);
    QSignalSpy finished(&job, &Job::finished);
    QSignalSpy progress(&job, &Job::progressChanged);
    job.start();
    ASSERT_TRUE(job.running());
    ASSERT_TRUE(waitFor([&] { return job.progress() > 0.02; }));
    job.stop();
    EXPECT_TRUE(job.running());  // stopping happens on the worker; the UI thread goes on
    ASSERT_TRUE(waitFor([&] { return finished.count() == 1; }));
    EXPECT_TRUE(job.result().stopped());
    EXPECT_EQ(job.result().code, kStoppedCode);
    EXPECT_FALSE(QFile::exists(output));
    EXPECT_FALSE(QFile::exists(temporary));
    EXPECT_GE(progress.count(), 1);
    job.stop();  // a second stop after the end changes nothing
    EXPECT_EQ(finished.count(), 1);
}

TEST(SessionJob, StopBeforeStartFinishesStoppedWithoutRunning) {
    TempDir dir;
    const std::string input = dir.file("in.mp4");
    kestrel::test::makeMedia(input, {});
    const QString output = QString::fromStdString(dir.file("out.mp4"));
    ConvertFileJob job(QString::fromStdString(input), output);
    QSignalSpy finished(&job, &Job::finished);
    job.stop();
    EXPECT_EQ(finished.count(), 0);
    job.start();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_TRUE(job.result().stopped());
    EXPECT_FALSE(QFile::exists(output));
}

TEST(SessionJob, DestroyedWhileRunningStopsAndTidiesUpAfterTheRun) {
    TempDir dir;
    const std::string input = longSource(dir);
    const QString output = QString::fromStdString(dir.file("out.mp4"));
    const QString temporary = QString::fromStdString(dir.file("part.tmp"));
    {
        auto* job = new ConvertFileJob(QString::fromStdString(input), output, temporary);
        job->start();
        ASSERT_TRUE(waitFor([&] { return job->progress() > 0.02; }));
        delete job;
    }
    // The worker returns once the engine has stopped writing and removes what the job owned.
    ASSERT_TRUE(waitFor([&] {
        QThreadPool::globalInstance()->waitForDone(10);
        QCoreApplication::processEvents();
        return !QFile::exists(output) && !QFile::exists(temporary) &&
               QThreadPool::globalInstance()->activeThreadCount() == 0;
    }));
}

TEST(SessionJobQueue, StopAllStopsTheRunningJobAndDropsTheWaitingOnes) {
    TempDir dir;
    const std::string input = longSource(dir);
    JobQueue queue;
    std::vector<std::string> outcomes;
    QObject::connect(&queue, &JobQueue::jobFinished,
                     [&](Job*, const JobResult& r) { outcomes.push_back(outcomeName(r.outcome)); });
    bool drained = false;
    QObject::connect(&queue, &JobQueue::drained, [&] { drained = true; });
    QStringList outputs;
    for (int i = 0; i < 3; ++i) {
        outputs << QString::fromStdString(dir.file("out" + std::to_string(i) + ".mp4"));
        queue.enqueue(new ConvertFileJob(QString::fromStdString(input), outputs.back()));
    }
    ASSERT_TRUE(waitFor([&] { return queue.current() && queue.current()->progress() > 0.02; }));
    queue.stopAll();
    ASSERT_TRUE(waitFor([&] { return drained; }));
    EXPECT_EQ(outcomes, (std::vector<std::string>{"stopped", "stopped", "stopped"}));
    for (const QString& out : outputs) EXPECT_FALSE(QFile::exists(out)) << out.toStdString();
}

TEST(SessionEngineOutcome, ReadsEveryRunResultOneWay) {
    struct Case { int32_t result; Outcome outcome; };
    for (const Case& c : {Case{1, Outcome::Done}, Case{2, Outcome::Done}, Case{-1, Outcome::Stopped},
                          Case{0, Outcome::Failed}, Case{-6, Outcome::Failed}})
        EXPECT_EQ(runOutcome(c.result), c.outcome) << c.result;
}

// Jobs queued together all run, even when the first one ends while it starts (its input gone):
// the queue drains once, after the last job, never in between.
TEST(SessionJobQueue, JobsQueuedTogetherDrainOnceAfterTheLast) {
    TempDir dir;
    const std::string input = dir.file("in.mp4");
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 1;
    kestrel::test::makeMedia(input, spec);
    const QString gone = QString::fromStdString(dir.file("gone.mp4"));
    JobQueue queue;
    QStringList events;
    QObject::connect(&queue, &JobQueue::jobFinished, [&](Job*, const JobResult& result) {
        events << QString::fromLatin1(outcomeName(result.outcome));
    });
    QObject::connect(&queue, &JobQueue::drained, [&] { events << "drained"; });
    queue.enqueueAll({new ConvertFileJob(gone, QString::fromStdString(dir.file("a.mp4"))),
                      new ConvertFileJob(QString::fromStdString(input), QString::fromStdString(dir.file("b.mp4"))),
                      new ConvertFileJob(gone, QString::fromStdString(dir.file("c.mp4")))});
    ASSERT_TRUE(waitFor([&] { return events.contains("drained"); }));
    QTest::qWait(50);
    EXPECT_EQ(events, (QStringList{"failed", "done", "failed", "drained"}));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.file("b.mp4"))));
}

// The export job on its own: its phases, progress and one outcome, what it leaves on disk on
// every outcome, and that a removed range stays removed whatever the codec choice.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QThread>
#include <functional>
#include <map>

#include "session/export/editor/export_job.h"
#include "session/media/media_probe.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

using namespace kestrel::session;
using kestrel::test::TempDir;

namespace {

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 120000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

// Red for the first 0.8 s, blue for the next 0.8 s, green for the last: a frame of the middle
// third is told apart from any other at a glance. 25 fps, a key frame every gop frames, sound.
std::string threeColourClip(int gop = 12) {
    static std::map<int, std::string> made;
    if (made.count(gop)) return made[gop];
    const std::string path = [gop] {
        const std::string p = QDir::tempPath().toStdString() + "/export_job_three_colours_" + std::to_string(gop) + ".mp4";
        const std::string part = ":s=160x120:r=25:d=0.8";
        std::string out;
        const std::string command =
            "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i 'color=c=red" + part + "[a];color=c=blue" + part +
            "[b];color=c=green" + part + "[c];[a][b][c]concat=n=3:v=1:a=0,format=yuv420p' -f lavfi -i "
            "'sine=frequency=440:duration=2.4' -c:v libx264 -preset ultrafast -g " + std::to_string(gop) + " -keyint_min " + std::to_string(gop) + " -c:a aac -shortest '" +
            p + "'";
        if (kestrel::test::runCommand(command, &out) != 0) throw std::runtime_error("three colour clip: " + out);
        return p;
    }();
    made[gop] = path;
    return path;
}

struct Finished {
    int count = 0;
    JobResult result;
    std::vector<double> progress;
    std::vector<int> phases;
};

// The job's signals recorded; the job itself is deleted by the caller.
void watch(ExportJob& job, Finished& seen) {
    QObject::connect(&job, &Job::finished, [&seen](const JobResult& r) {
        ++seen.count;
        seen.result = r;
    });
    QObject::connect(&job, &Job::progressChanged, [&seen](double f) { seen.progress.push_back(f); });
    QObject::connect(&job, &ExportJob::phaseStarted, [&seen](int phase) { seen.phases.push_back(phase); });
}

kestrel::model::SimpleData sourceRecord(const std::string& path) {
    const kestrel::model::SimpleDataPtr record = probeMediaFile(QString::fromStdString(path), {});
    return record ? *record : kestrel::model::SimpleData{};
}

// Frames of the output that are mostly blue (the removed third).
int blueFrames(const std::string& path, double duration_s) {
    int count = 0;
    for (double t = 0.02; t < duration_s; t += 0.04) {
        const std::vector<unsigned char> rgb = kestrel::test::decodeFrameRGB(path, t, 16, 12);
        if (rgb.empty()) continue;
        long r = 0, b = 0;
        for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
            r += rgb[i];
            b += rgb[i + 2];
        }
        if (b > r + long(rgb.size() / 3) * 60) ++count;
    }
    return count;
}

TEST(ExportJob, RemovedPartStaysRemovedWhateverTheCodec) {
    struct Case {
        const char* name;
        const char* vcodec;  // empty: the source's kept
        int gop;             // 10: the blue third starts and ends on key frames
        int64_t start_us, stop_us;
        int phases;
        double seconds;
    };
    const Case cases[] = {
        {"keep original, cut on key frames", "", 10, 800000, 1600000, 3, 1.6},
        {"keep original, cut between key frames", "", 12, 800000, 1600000, 3, 1.6},
        {"re-encoded", "mpeg4", 12, 800000, 1600000, 3, 1.6},
        {"nothing after the range", "", 12, 800000, 2400000, 1, 0.8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir out;
        EditState edits;
        edits.trimStart_us = c.start_us;
        edits.trimStop_us = c.stop_us;
        edits.removeSelectedPart = true;
        OutputChoice choice;
        choice.vcodec = QString::fromLatin1(c.vcodec);
        const QString output = QString::fromStdString(out.file("out.mp4"));
        Finished seen;
        {
            ExportJob job(edits, sourceRecord(threeColourClip(c.gop)), choice, output);
            watch(job, seen);
            job.start();
            ASSERT_TRUE(waitFor([&] { return seen.count > 0; }));
            EXPECT_EQ(job.phaseCount(), c.phases);
            for (const QString& part : job.partFiles()) EXPECT_FALSE(QFileInfo::exists(part)) << part.toStdString();
        }
        EXPECT_EQ(seen.count, 1);
        ASSERT_TRUE(seen.result.done()) << seen.result.code;
        EXPECT_EQ(seen.result.outputs, QStringList{output});
        EXPECT_EQ(int(seen.phases.size()), c.phases);
        EXPECT_TRUE(std::is_sorted(seen.progress.begin(), seen.progress.end()));
        for (double f : seen.progress) EXPECT_TRUE(f >= 0 && f <= 1) << f;
        EXPECT_EQ(QDir(QString::fromStdString(out.path())).entryList(QDir::Files), QStringList{"out.mp4"});
        const kestrel::test::ProbedMedia probed = kestrel::test::ffprobe(output.toStdString());
        ASSERT_TRUE(probed.ok) << probed.error;
        EXPECT_NEAR(probed.duration_s, c.seconds, 0.1);
        EXPECT_EQ(blueFrames(output.toStdString(), c.seconds), 0);
    }
}

// A stop in any phase ends the job stopped, once, with neither output nor part left.
TEST(ExportJob, StopInAnyPhaseLeavesNothing) {
    for (int phase : {0, 1, 2}) {
        SCOPED_TRACE(phase);
        TempDir out;
        EditState edits;
        edits.trimStart_us = 800000;
        edits.trimStop_us = 1600000;
        edits.removeSelectedPart = true;
        OutputChoice choice;
        choice.vcodec = QStringLiteral("mpeg4");
        Finished seen;
        ExportJob job(edits, sourceRecord(threeColourClip()), choice, QString::fromStdString(out.file("out.mp4")));
        watch(job, seen);
        QObject::connect(&job, &ExportJob::phaseStarted, [&job, phase](int started) {
            if (started == phase) job.stop();
        });
        job.start();
        ASSERT_TRUE(waitFor([&] { return seen.count > 0; }));
        EXPECT_EQ(seen.count, 1);
        EXPECT_TRUE(seen.result.stopped());
        EXPECT_TRUE(QDir(QString::fromStdString(out.path())).entryList(QDir::Files).isEmpty());
    }
}

// Only a finished job leaves its file; a failure keeps the engine's code or the job's message, and
// writes nothing.
TEST(ExportJob, OutcomesLeaveOnlyTheFinishedFile) {
    TempDir in;
    const std::string garbage = in.file("broken.mp4");
    kestrel::test::writeBytes(garbage, "not a video at all");
    struct Case {
        const char* name;
        std::string input;
        int64_t start_us, stop_us;
        bool removePart;
        bool done;
        bool message;
    };
    const Case cases[] = {
        {"done", threeColourClip(), 0, 400000, false, true, false},
        {"unreadable input", garbage, 0, 0, false, false, false},
        {"range past the end", threeColourClip(), 5000000, 6000000, false, false, true},  // refused before the engine
        {"the whole file removed", threeColourClip(), 0, 5000000, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir out;
        EditState edits;
        edits.trimStart_us = c.start_us;
        edits.trimStop_us = c.stop_us;
        edits.removeSelectedPart = c.removePart;
        kestrel::model::WaterParam mark;
        mark.waterType = 4;
        mark.isCheck = true;
        mark.waterText = QStringLiteral("Kestrel");
        mark.waterPercentClipRect = QRectF(0.1, 0.1, 0.3, 0.2);
        mark.duration = 2;
        edits.watermarks = {mark};
        kestrel::model::SimpleData source = sourceRecord(c.input);
        source.path = QString::fromStdString(c.input);
        Finished seen;
        ExportJob job(edits, source, OutputChoice{}, QString::fromStdString(out.file("out.mp4")));
        watch(job, seen);
        job.start();
        ASSERT_TRUE(waitFor([&] { return seen.count > 0; }));
        EXPECT_EQ(seen.result.done(), c.done) << seen.result.code;
        const QStringList written = QDir(QString::fromStdString(out.path())).entryList(QDir::Files);
        if (c.done) {
            EXPECT_EQ(written, QStringList{"out.mp4"});
            continue;
        }
        EXPECT_TRUE(written.isEmpty());
        EXPECT_TRUE(seen.result.failed());
        EXPECT_EQ(!seen.result.message.isEmpty(), c.message);
        if (!c.message) EXPECT_LT(seen.result.code, 0);
    }
}

}  // namespace

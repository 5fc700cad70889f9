// The reverse tool through its own buttons, its job, and its input kinds; outputs checked
// frame by frame and by their sound against the source.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include "export/ui/export_session.h"
#include "export/ui/start_export_window_controller.h"
#include "services/language.h"
#include "session/export/reverse/reverse_job.h"
#include "widgets/xj_graphic_button.h"
#include "widgets/zor_button.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/reverse/reverse_input_kind.h"
#include "tools/reverse/reverse_view_controller.h"
#include "widgets/rd_text_field.h"
#include "widgets/xj_graphic_button.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

using kestrel::tools::reverse::InputKind;
using kestrel::tools::reverse::ReverseViewController;

// 6 s of a moving test picture whose sound grows louder from silence to full.
const std::string& risingClip() {
    static TempDir dir;
    static const std::string path = [] {
        const std::string p = dir.file("rising.mp4");
        const std::string cmd = "ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=s=320x240:r=25:d=6 "
                                "-f lavfi -i \"aevalsrc='t/6*sin(2*PI*440*t)':s=44100:d=6\" -c:v libx264 -g 50 "
                                "-pix_fmt yuv420p -c:a aac -shortest " + p;
        std::string output;
        if (runCommand(cmd, &output) != 0) throw std::runtime_error(output);
        return p;
    }();
    return path;
}

// SSIM of the first picture of a against the picture of b at at_s (the first at or after it).
double ssimOfFirstFrame(const std::string& a, const std::string& b, double at_s) {
    std::string output;
    runCommand("ffmpeg -hide_banner -nostdin -i " + a + " -ss " + std::to_string(at_s) + " -i " + b +
                   " -lavfi \"[0:v]trim=end_frame=1,setpts=PTS-STARTPTS[x];[1:v]trim=end_frame=1,setpts=PTS-STARTPTS[y];"
                   "[x][y]ssim\" -f null - 2>&1",
               &output);
    const QRegularExpressionMatch m = QRegularExpression("All:([0-9.]+)").match(QString::fromStdString(output));
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

// RMS level in dB of one second of sound starting at from_s.
double rmsDb(const std::string& path, double from_s) {
    std::string output;
    runCommand("ffmpeg -hide_banner -nostdin -ss " + std::to_string(from_s) + " -t 1 -i " + path +
                   " -af astats=measure_overall=RMS_level:measure_perchannel=none -f null - 2>&1",
               &output);
    const QRegularExpressionMatch m = QRegularExpression("RMS level dB: (-?[0-9.]+|-inf)").match(QString::fromStdString(output));
    return m.hasMatch() && m.captured(1) != "-inf" ? m.captured(1).toDouble() : -200;
}

class ReverseWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReverseViewController::setExportDialogPresenter([this](exportkit::StartExportWindowController* dialog) {
            dialog->setOutputPath(QString::fromStdString(out.path()));
            dialog->setStopConfirmer([](const QString&) { return true; });
            dialog->startExport();
        });
        exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { alerts.append(text); });
    }
    void TearDown() override {
        ReverseViewController::setExportDialogPresenter(nullptr);
        exportkit::ExportSession::setFailureAlert(nullptr);
    }
    std::unique_ptr<ReverseViewController> openView(const std::string& path) {
        auto view = std::make_unique<ReverseViewController>();
        view->setFilePath(QString::fromStdString(path));
        view->resize(1200, 700);
        view->show();
        activate(view.get());
        EXPECT_GT(view->total_us(), 0);
        return view;
    }
    static void type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    QStringList written() const { return QDir(QString::fromStdString(out.path())).entryList(QDir::Files); }

    TempDir out;
    QStringList alerts;
};

TEST_F(ReverseWindowTest, RangeRenderedBackwardsWithItsSoundReversed) {
    auto view = openView(risingClip());
    type(view->startFields[2], "01");
    type(view->endFields[2], "04");
    EXPECT_EQ(view->start_us(), 1000000);
    EXPECT_EQ(view->end_us(), 4000000);
    click(view->reverseSoundBtn);
    click(view->exportBtn);
    ASSERT_TRUE(waitUntil([&] { return !view->exporting(); }, 240000));
    ASSERT_EQ(written().size(), 1) << alerts.join("|").toStdString();
    const std::string output = out.file(written().first().toStdString());
    const ProbedMedia probed = ffprobe(output);
    ASSERT_TRUE(probed.ok);
    EXPECT_NEAR(probed.firstOf("video")->duration_s, 3.0, 0.08);
    ASSERT_EQ(probed.countOf("audio"), 1);
    // The first picture is the last one of the range; the sound now fades out.
    EXPECT_GT(ssimOfFirstFrame(output, risingClip(), 4.0 - 0.04 - 0.001), 0.98);
    EXPECT_GT(rmsDb(output, 0.0), rmsDb(output, 2.0) + 3.0);
    EXPECT_FALSE(view->exportProgressWindow()->exporting());
    EXPECT_TRUE(alerts.isEmpty());
}

TEST_F(ReverseWindowTest, RemovedSoundLeavesNoAudioStream) {
    auto view = openView(risingClip());
    type(view->endFields[2], "02");
    click(view->removeSoundBtn);
    click(view->exportBtn);
    ASSERT_TRUE(waitUntil([&] { return !view->exporting(); }, 240000));
    ASSERT_EQ(written().size(), 1);
    EXPECT_EQ(ffprobe(out.file(written().first().toStdString())).countOf("audio"), 0);
}

TEST_F(ReverseWindowTest, StopThroughTheDialogLeavesNoFile) {
    TempDir dir;
    const std::string longer = dir.file("long.mp4");
    FixtureSpec spec;
    spec.duration_s = 60;
    spec.width = 1280;
    spec.height = 720;
    makeMedia(longer, spec);
    auto view = openView(longer);
    click(view->exportBtn);
    ASSERT_TRUE(view->exporting());
    view->exportProgressWindow()->startExport();  // Stop, confirmed
    ASSERT_TRUE(waitUntil([&] { return !view->exporting(); }, 240000));
    EXPECT_FALSE(view->exportProgressWindow()->exporting());
    EXPECT_TRUE(written().isEmpty()) << written().join(",").toStdString();
    EXPECT_TRUE(alerts.isEmpty());
    // The dialog says the run was stopped and offers Start again.
    auto* dialog = view->exportProgressWindow();
    EXPECT_TRUE(dialog->succeededLabel->isVisibleTo(dialog));
    EXPECT_EQ(dialog->succeededLabel->text(), services::localized(QStringLiteral("Cancel to abort the file converting!")));
    EXPECT_TRUE(dialog->startBtn->isVisibleTo(dialog));
}

TEST_F(ReverseWindowTest, SetStartKeepsTheExactPosition) {
    auto view = openView(risingClip());
    view->seekTo(2480000);
    click(view->leftCutBtn);
    EXPECT_NEAR(double(view->start_us()), 2480000.0, 40000.0);
    EXPECT_EQ(view->startFields[3]->text().left(2), "48");
    view->seekTo(1000000);
    click(view->rightCutBtn);  // before the start: refused as an inverted range
    EXPECT_GE(view->end_us(), view->start_us());
}

TEST_F(ReverseWindowTest, SoundOnlyInputCanOnlyBeReversed) {
    TempDir dir;
    const std::string tone = dir.file("rising.m4a");
    std::string output;
    ASSERT_EQ(runCommand("ffmpeg -hide_banner -loglevel error -y -f lavfi -i \"aevalsrc='t/4*sin(2*PI*440*t)':s=44100:d=4\" "
                         "-c:a aac " + tone, &output), 0) << output;
    auto view = openView(tone);
    EXPECT_FALSE(view->keepSoundBtn->isEnabled());
    EXPECT_FALSE(view->removeSoundBtn->isEnabled());
    EXPECT_EQ(view->reverseSoundBtn->buttonState(), 3u);
    EXPECT_EQ(view->soundMode(), session::ReverseSound::Reverse);
    click(view->exportBtn);
    ASSERT_TRUE(waitUntil([&] { return !view->exporting(); }, 240000));
    ASSERT_EQ(written().size(), 1) << alerts.join("|").toStdString();
    const std::string reversed = out.file(written().first().toStdString());
    EXPECT_EQ(QFileInfo(QString::fromStdString(reversed)).suffix(), "m4a");
    EXPECT_NEAR(ffprobe(reversed).firstOf("audio")->duration_s, 4.0, 0.1);
    EXPECT_GT(rmsDb(reversed, 0.0), rmsDb(reversed, 2.5) + 3.0);
}

TEST(ReverseInputKind, WholeExtensionsOnly) {
    struct Case {
        const char* path;
        InputKind kind;
    } cases[] = {{"a.wma", InputKind::Audio}, {"a.wm", InputKind::Video}, {"CLIP.MP4", InputKind::Video},
                 {"a.m4", InputKind::Other},  {"a.mp", InputKind::Other}, {"noext", InputKind::Other}};
    for (const Case& c : cases) EXPECT_EQ(kestrel::tools::reverse::inputKind(c.path), c.kind) << c.path;
}

TEST(ReverseJob, AFailingEncodeIsReportedAsAFailure) {
    TempDir dir;
    session::ReverseRequest request;
    request.inputPath = QString::fromStdString(risingClip());
    request.outputPath = QString::fromStdString(dir.file("missing-folder/out.mp4"));
    request.end_us = 1000000;
    session::ReverseJob job(request);
    job.start();
    ASSERT_TRUE(waitUntil([&] { return job.isFinished(); }, 240000));
    EXPECT_TRUE(job.result().failed());
    EXPECT_FALSE(QFileInfo::exists(request.outputPath));
}

TEST(ReverseJob, QualityGivesTheBitRates) {
    using session::ReverseQuality;
    // Audio outputs: 192, 128, 64 kbit/s. Video outputs: the source's rate raised or lowered by
    // 2000 kbit/s; Normal and Low never below 1000.
    struct Case {
        ReverseQuality quality;
        int32_t sourceKbps;
        int32_t videoKbps;
        int32_t audioKbps;
    } const cases[] = {
        {ReverseQuality::High, 5000, 7000, 192},  {ReverseQuality::Normal, 5000, 5000, 128},
        {ReverseQuality::Low, 5000, 3000, 64},    {ReverseQuality::Low, 3000, 1000, 64},
        {ReverseQuality::Low, 2500, 1000, 64},    {ReverseQuality::Low, 800, 1000, 64},
        {ReverseQuality::High, 0, 2000, 192},     {ReverseQuality::Normal, 800, 1000, 128},
        {ReverseQuality::Normal, 0, 1000, 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "quality " << int(c.quality) << " source " << c.sourceKbps);
        EXPECT_EQ(session::reverseVideoKbps(c.sourceKbps, c.quality), c.videoKbps);
        EXPECT_EQ(session::reverseAudioKbps(c.quality), c.audioKbps);
    }
}

// A source whose video probes below 1 kbit/s (a still picture at one frame a second) is
// reversed at Normal quality: the encoder is given a rate it takes.
TEST(ReverseJob, ASourceProbingBelowOneKilobitIsReversedAtNormalQuality) {
    TempDir dir;
    const std::string still = dir.file("still.mp4");
    std::string output;
    ASSERT_EQ(runCommand("ffmpeg -hide_banner -loglevel error -y -f lavfi -i color=c=gray:s=64x48:r=1:d=20 "
                         "-c:v libx264 -crf 51 -pix_fmt yuv420p " + still, &output), 0) << output;
    session::ReverseRequest request;
    request.inputPath = QString::fromStdString(still);
    request.outputPath = QString::fromStdString(dir.file("reversed.mp4"));
    request.end_us = 20000000;
    request.quality = session::ReverseQuality::Normal;
    session::ReverseJob job(request);
    job.start();
    ASSERT_TRUE(waitUntil([&] { return job.isFinished(); }, 240000));
    ASSERT_TRUE(job.result().done()) << job.result().code << " " << job.result().message.toStdString();
    EXPECT_TRUE(decodesCleanly(request.outputPath.toStdString()));
    EXPECT_TRUE(framesMatch(request.outputPath.toStdString(), still));
}

// The stop question asked while the export ends on its own is closed by that end: no question
// is left over the finished dialog.
TEST_F(ReverseWindowTest, TheStopQuestionGoesWhenTheExportEndsWhileItIsAsked) {
    exportkit::StartExportWindowController* shown = nullptr;
    ReverseViewController::setExportDialogPresenter([&](exportkit::StartExportWindowController* dialog) {
        shown = dialog;
        dialog->show();
        dialog->setOutputPath(QString::fromStdString(out.path()));
        click(dialog->startBtn);
    });
    auto view = openView(risingClip());
    typeInto(view->endFields[2], QStringLiteral("02"), Commit::Tab);
    click(view->exportBtn);
    ASSERT_NE(shown, nullptr);
    ASSERT_TRUE(view->exporting());
    // While the question is up, watch for the export's end and see whether the question went.
    bool ended = false, questionStayed = false;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (ended || view->exporting()) return;
        ended = true;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                questionStayed = true;
                box->reject();  // so the test goes on
            }
    });
    watch.start();
    click(shown->startBtn);  // Stop: the question runs until answered or closed
    watch.stop();
    EXPECT_TRUE(ended);
    EXPECT_FALSE(questionStayed);
    EXPECT_FALSE(shown->exporting());
    ASSERT_EQ(written().size(), 1) << alerts.join("|").toStdString();
    EXPECT_TRUE(shown->openBtn->isVisible());
}

}  // namespace
}  // namespace kestrel::test

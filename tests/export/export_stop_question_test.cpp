// Every way out of a running export asks first: the Stop button, Escape and the close box open
// the same two-button alert over the export dialog. Going on keeps the job running to a whole
// file; stopping ends the job and leaves no file. Driven as a person does, with a real cut job
// as the dialog's owner and the file judged by the media oracle.
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "export/ui/start_export_window_controller.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "session/export/cut/cut_jobs.h"
#include "widgets/dialogs/alert_window_controller.h"
#include "widgets/zor_button.h"

#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace exportkit;
namespace kt = kestrel::test;
using kestrel::session::CutJob;
using kestrel::session::JobResult;
using kestrel::widgets::AlertWindowController;

namespace {

// How a person leaves a running export.
enum class Way { StopButton, Escape, CloseBox };

const char* nameOf(Way way) {
    switch (way) {
    case Way::StopButton: return "the Stop button";
    case Way::Escape: return "Escape";
    case Way::CloseBox: return "the close box";
    }
    return "";
}

// What the next question showed and how it was answered.
struct Question {
    bool asked = false;
    QString message;
    QString confirm, cancel;
};

// Answers the next two-button alert as soon as it is on screen, with a click on its left
// (stop) or right (go on) button.
std::shared_ptr<Question> answerNextQuestion(bool stop) {
    auto question = std::make_shared<Question>();
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, question, stop] {
        auto* alert = qobject_cast<AlertWindowController*>(QApplication::activeModalWidget());
        if (!alert || !alert->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        question->asked = true;
        question->message = alert->messageLabel()->text();
        question->confirm = alert->leftBtn()->contentTitle();
        question->cancel = alert->rightBtn()->contentTitle();
        kt::click(stop ? alert->leftBtn() : alert->rightBtn());
    });
    poll->start();
    return question;
}

void leave(ExportDialogBase& dialog, Way way) {
    switch (way) {
    case Way::StopButton: kt::click(dialog.startBtn); break;
    case Way::Escape: kt::pressEscape(&dialog); break;
    case Way::CloseBox: kt::closeWindow(&dialog); break;
    }
}

// An owner as every tool is: Start runs a cut of the whole source with every frame encoded
// anew (long enough to be asked about), the same block while running stops it.
class CutOwner {
public:
    CutOwner(ExportDialogBase* dialog, QString source) : session_(dialog), dialog_(dialog), source_(std::move(source)) {
        dialog->setStartExportCallbackBlock([this](const QString& path) { startOrStop(path); });
    }
    ~CutOwner() {
        if (job_) job_->stop();
    }
    CutJob* job() const { return job_; }
    const JobResult& result() const { return result_; }
    bool ended() const { return ended_; }

private:
    void startOrStop(const QString& path) {
        if (dialog_->exporting()) {
            ++stopRequests;
            if (job_) job_->stop();
            return;
        }
        ended_ = false;
        const QFileInfo proposed(path);
        job_ = new CutJob(source_, {kestrel::session::CutRange{}}, {proposed.path(), proposed.completeBaseName(), proposed.suffix()});
        job_->setForceEncode(true);
        QObject::connect(job_, &kestrel::session::Job::progressChanged, [this](double f) { session_.setProgress(f); });
        QObject::connect(job_, &kestrel::session::Job::finished, [this](const JobResult& result) {
            result_ = result;
            ended_ = true;
            if (result.done()) session_.finishSucceeded(result.outputs.value(0));
            else if (result.stopped()) session_.finishStopped();
            else session_.finishFailed(result.code);
            job_->deleteLater();
            job_ = nullptr;
        });
        session_.begin();
        job_->start();
    }

public:
    int stopRequests = 0;

private:
    ExportSession session_;
    ExportDialogBase* dialog_;
    QString source_;
    QPointer<CutJob> job_;
    JobResult result_;
    bool ended_ = false;
};

class ExportStopQuestion : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        source_ = new kt::TempDir;
        kt::FixtureSpec spec;
        spec.duration_s = 40;
        spec.width = 320;
        spec.height = 240;
        kt::makeMedia(source_->file("source.mp4"), spec);
    }
    static void TearDownTestSuite() {
        delete source_;
        source_ = nullptr;
    }
    void SetUp() override {
        platform::UserDefaults::standard().setString("kOutputDir", QString::fromStdString(out_.path()));
        ExportSession::setFailureAlert([this](QWidget*, const QString& text) { failures_ << text; });
    }
    void TearDown() override { platform::UserDefaults::standard().removeObjectForKey("kOutputDir"); }
    static QString source() { return QString::fromStdString(source_->file("source.mp4")); }
    QStringList outputs() const { return QDir(QString::fromStdString(out_.path())).entryList(QDir::Files); }

    // Start through the dialog's own button; true once the job runs.
    bool start(ExportDialogBase& dialog, CutOwner& owner) {
        kt::click(dialog.startBtn);
        return kt::waitUntil([&] { return owner.job() && owner.job()->running() && owner.job()->progress() > 0; });
    }

    static kt::TempDir* source_;
    kt::TempDir out_;
    QStringList failures_;
};

kt::TempDir* ExportStopQuestion::source_ = nullptr;

}  // namespace

// Each way out asks; answering "go on" keeps the job running, and the file it writes in the
// end holds every frame of the source.
TEST_F(ExportStopQuestion, EveryWayOutAsksAndGoingOnFinishesAWholeFile) {
    ExportWindowController dialog;
    dialog.setInputFileName("source.mp4");
    dialog.setHiddenMergeAllIntoOne(true);
    CutOwner owner(&dialog, source());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_TRUE(start(dialog, owner));

    for (Way way : {Way::Escape, Way::CloseBox, Way::StopButton}) {
        SCOPED_TRACE(nameOf(way));
        const auto question = answerNextQuestion(false);
        leave(dialog, way);
        ASSERT_TRUE(question->asked) << nameOf(way) << " did not ask before stopping";
        EXPECT_EQ(question->message, services::localized("StopExportMessage"));
        EXPECT_EQ(question->confirm, services::localized("alertOKBtn"));
        EXPECT_EQ(question->cancel, services::localized("alertCancelBtn"));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.exporting());
        EXPECT_EQ(owner.stopRequests, 0);
        ASSERT_TRUE(owner.job() && owner.job()->running()) << "the job went on running";
    }

    ASSERT_TRUE(kt::waitUntil([&] { return owner.ended(); }));
    ASSERT_TRUE(owner.result().done()) << owner.result().code;
    ASSERT_EQ(outputs().size(), 1);
    const std::string written = out_.path() + "/" + outputs().first().toStdString();
    EXPECT_TRUE(kt::decodesCleanly(written));
    EXPECT_TRUE(kt::framesMatch(written, source().toStdString()));
    EXPECT_TRUE(dialog.openBtn->isVisible());
    EXPECT_TRUE(failures_.isEmpty());
}

// Each way out, answered "stop", stops the job: no file is left and the dialog offers Start
// again, without an error.
TEST_F(ExportStopQuestion, EveryWayOutStopsOnlyWhenConfirmed) {
    ExportWindowController dialog;
    dialog.setInputFileName("source.mp4");
    dialog.setHiddenMergeAllIntoOne(true);
    CutOwner owner(&dialog, source());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    for (Way way : {Way::Escape, Way::CloseBox, Way::StopButton}) {
        SCOPED_TRACE(nameOf(way));
        ASSERT_TRUE(start(dialog, owner));
        const auto question = answerNextQuestion(true);
        leave(dialog, way);
        ASSERT_TRUE(question->asked);
        ASSERT_TRUE(kt::waitUntil([&] { return owner.ended(); }));
        EXPECT_TRUE(owner.result().stopped());
        EXPECT_TRUE(outputs().isEmpty()) << "a stopped export leaves " << outputs().join(", ").toStdString();
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays for another start";
        EXPECT_FALSE(dialog.exporting());
        EXPECT_EQ(dialog.startBtn->contentTitle(), services::localized("Start"));
    }
    EXPECT_EQ(owner.stopRequests, 3);
    EXPECT_TRUE(failures_.isEmpty());
}

// The dialog with format and quality (reverse tool, GIF maker) asks the same way, with its
// own message.
TEST_F(ExportStopQuestion, TheFormatDialogAsksTheSameWay) {
    StartExportWindowController dialog;
    dialog.setInputFileName("source.mp4");
    dialog.setIsReverse(true);
    CutOwner owner(&dialog, source());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_TRUE(start(dialog, owner));
    for (Way way : {Way::Escape, Way::CloseBox}) {
        SCOPED_TRACE(nameOf(way));
        const auto question = answerNextQuestion(false);
        leave(dialog, way);
        ASSERT_TRUE(question->asked);
        EXPECT_EQ(question->message, services::localized("CancelStopReverseMessage"));
        EXPECT_TRUE(dialog.exporting());
    }
    const auto question = answerNextQuestion(true);
    kt::pressEscape(&dialog);
    ASSERT_TRUE(question->asked);
    ASSERT_TRUE(kt::waitUntil([&] { return owner.ended(); }));
    EXPECT_TRUE(owner.result().stopped());
    EXPECT_TRUE(outputs().isEmpty());
    EXPECT_EQ(owner.stopRequests, 1);
}

// A job that ends while the question is open closes the question: nothing is left to stop.
TEST_F(ExportStopQuestion, AJobEndingDuringTheQuestionClosesIt) {
    ExportWindowController dialog;
    dialog.setInputFileName("a.mp4");
    dialog.setHiddenMergeAllIntoOne(true);
    ExportSession session(&dialog);
    int calls = 0;
    dialog.setStartExportCallbackBlock([&](const QString&) {
        ++calls;
        if (!dialog.exporting()) session.begin();
    });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    kt::click(dialog.startBtn);
    ASSERT_TRUE(dialog.exporting());
    // The job finishes while the question is on screen.
    QPointer<AlertWindowController> seen;
    auto* poll = new QTimer(&dialog);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [&] {
        auto* alert = qobject_cast<AlertWindowController*>(QApplication::activeModalWidget());
        if (!alert) return;
        poll->stop();
        seen = alert;
        session.finishSucceeded(QString::fromStdString(out_.path()) + "/a.mp4");
    });
    poll->start();
    kt::click(dialog.startBtn);
    EXPECT_TRUE(seen.isNull() || !seen->isVisible()) << "the question stayed open after the job ended";
    EXPECT_EQ(calls, 1) << "no stop request for a job that has ended";
    EXPECT_TRUE(dialog.openBtn->isVisible());
}

// The joiner's run: Start makes one join job from the clips and the output values, the bottom
// bar follows its progress, the same button stops it, and the end shows the task-finished
// alert (done), an error alert (failed) or nothing (stopped by the user).
#include "tools/joiner/joinner_window_controller.h"

#include <QFileInfo>
#include <QLabel>
#include <QDir>

#include "engine/player/DIVuverIzizud.h"
#include "export/ui/reveal_in_file_manager.h"
#include "services/language.h"
#include "session/export/join/join_export_job.h"
#include "session/jobs/failure_reasons.h"
#include "tools/joiner/joiner_profile_targets.h"
#include "tools/joiner/joiner_text_fit.h"
#include "tools/shared/clip_list_view.h"
#include "tools/shared/simple_alert.h"
#include "widgets/dialogs/zor_open_alert.h"
#include "widgets/ns_progress_view.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::joiner {
namespace {

QString localized(const char* key) { return services::Language::localizedStringForKey(QString::fromLatin1(key)); }

}  // namespace

void JoinnerWindowController::startJoinnerAction() {
    // A time field still in edit is committed first; a range it rejects stops here.
    if (kestrel::widgets::RDTextField* field = editingTimeField(); field && !job_ && !commitTimeField(field)) return;
    if (job_) {
        // Stop: the job ends stopped once the engine has let go of its file; no alert follows.
        if (stopRequested_) return;
        stopRequested_ = true;
        startJoinnerBtn_->setEnabled(false);
        job_->stop();
        return;
    }
    if (fileList_.isEmpty()) return;
    // A clip with nothing left to join (an empty range kept, or the whole clip removed) is
    // named rather than silently left out.
    QStringList emptyClips;
    for (const kestrel::model::SimpleDataPtr& clip : fileList_)
        if (kestrel::session::joinPieces({clip}).empty())
            emptyClips << kestrel::session::failureLine(clip->name, services::localized(QStringLiteral("CutRangeEmptyMessage")));
    if (!emptyClips.isEmpty()) {
        showSimpleAlert(localized("JoinFailedMessage") + QLatin1Char('\n') + emptyClips.join(QLatin1Char('\n')), kPlainAlert);
        return;
    }
    if (outputPath_.isEmpty() || !QDir().mkpath(outputPath_) || !QFileInfo(outputPath_).isWritable()) {
        showSimpleAlert(localized("isNotWritableFile"), kNotWritableAlert);
        return;
    }
    if (isPlaying_) pause();

    kestrel::model::SimpleDataPtr reference;
    for (const kestrel::model::SimpleDataPtr& clip : fileList_)
        if (clip->defaultFormat) {
            reference = clip;
            break;
        }
    // With a reference clip the bar is off: every value is the reference clip's own.
    exportkit::ProfileChoice choice;
    if (!reference) choice.loadStored(formatBar_->keys());
    const kestrel::session::JoinOutputSettings settings =
        kestrel::session::joinOutputSettings(choice, reference.get(), fileList_.first().get());

    job_ = new kestrel::session::JoinExportJob(fileList_, settings, outputPath_, QString(), this);
    stopRequested_ = false;
    connect(job_, &kestrel::session::Job::progressChanged, this, [this](double fraction) { setProgressShown(float(fraction)); });
    connect(job_, &kestrel::session::Job::finished, this,
            [this](const kestrel::session::JobResult& result) { joinFinished(result); });
    enableEdit(false);
    setProgressShown(0);
    fitButton(startJoinnerBtn_, localized("CancelexportTitle"), 18, 24, 11);
    outputFilePath_.clear();
    job_->start();
    // A set-up the engine refuses ends the job at once (joinFinished has run).
    if (job_) outputFilePath_ = job_->outputPath();
}

void JoinnerWindowController::joinFinished(const kestrel::session::JobResult& result) {
    kestrel::session::JoinExportJob* job = job_;
    job_ = nullptr;
    stopRequested_ = false;
    if (job) job->deleteLater();
    startJoinnerBtn_->setEnabled(true);
    fitButton(startJoinnerBtn_, localized("StartExportTitle"), 18, 24, 11);
    enableEdit(true);
    if (result.done()) {
        outputFilePath_ = result.outputs.value(0);
        setProgressShown(1);
        showSimpleAlert(localized("OpenfileTitle"), kFinishedAlert);
    } else if (result.failed()) {
        setProgressShown(0);
        showSimpleAlert(localized("JoinFailedMessage") + QLatin1Char('\n') + joinFailure(result), kPlainAlert);
    } else {
        setProgressShown(0);  // stopped by the user: nothing to report, no file left
    }
}

QString JoinnerWindowController::joinFailure(const kestrel::session::JobResult& result) const {
    if (!result.message.isEmpty()) return result.message;
    // A clip whose file went is the cause to name.
    for (const kestrel::model::SimpleDataPtr& clip : fileList_)
        if (!QFileInfo::exists(clip->path))
            return kestrel::session::failureLine(clip->name, services::localized(QStringLiteral("FailureSourceMissing")));
    int64_t bytes = 0;
    for (const kestrel::model::SimpleDataPtr& clip : fileList_) bytes += QFileInfo(clip->path).size();
    return kestrel::session::failureReason(result, {QString(), outputPath_, bytes});
}

void JoinnerWindowController::setProgressShown(float fraction) {
    joinnerProgressView_->setProgress(fraction);
    progressPercentLabel_->setText(job_ || fraction >= 1 ? QString::asprintf("%.f%%", double(fraction) * 100) : QString());
}

void JoinnerWindowController::showSimpleAlert(const QString& text, int tag) {
    if (alertPresenter_) {
        const bool open = alertPresenter_(tag, text);
        if (tag == kFinishedAlert && open && !outputFilePath_.isEmpty()) exportkit::revealInFileManager(outputFilePath_);
        return;
    }
    if (tag == kFinishedAlert) {
        kestrel::widgets::ZorOpenAlert alert(this);
        alert.setWindowTitleText(QStringLiteral("Joiner_Title"));
        alert.setInfomation(QStringLiteral("Joinnerfinishedstring"));
        const QString path = outputFilePath_;
        alert.setSelectedOkBlock([path](qint64 open) {
            if (open == 1 && !path.isEmpty()) exportkit::revealInFileManager(path);
        });
        alert.move(geometry().center() - QPoint(210, 84));
        alert.runModal();
        return;
    }
    kestrel::tools::shared::showSimpleAlert(this, text);
}

void JoinnerWindowController::setChoicesEnabled(bool enabled) { formatBar_->setChoicesEnabled(enabled); }

void JoinnerWindowController::setdefaultFormat(const kestrel::model::SimpleDataPtr& record) {
    if (!record) return;
    // The list leaves at most one reference clip; the format bar is off while there is one.
    const bool anyReference = std::any_of(fileList_.begin(), fileList_.end(), [](auto& c) { return c->defaultFormat; });
    setChoicesEnabled(!anyReference);
}

// ---- The format bar's choice on every clip ----

void JoinnerWindowController::outputChoiceChanged(exportkit::OutputFormatBar* bar) {
    applyChoiceToClips(bar->choice(), bar->chosenIsAudio(), fileList_);
    if (!fileList_.isEmpty()) refreshList();
}

void JoinnerWindowController::outputSettingChanged(exportkit::OutputFormatBar* bar, int flag) {
    if (fileList_.isEmpty()) return;
    applySettingToClips(flag, bar->choice(), bar->keys(), fileList_);
    refreshList();
}

void JoinnerWindowController::outputSettingsRestored(exportkit::OutputFormatBar* bar) {
    if (fileList_.isEmpty()) return;
    applyAllSettingsToClips(bar->choice(), bar->keys(), fileList_);
    refreshList();
}

}  // namespace kestrel::tools::joiner

#include "editor/export_controller.h"

#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "services/folders.h"
#include "services/language.h"
#include "services/output_name.h"
#include "session/edit/edit_state_checks.h"
#include "session/edit/effect_catalogue.h"
#include "session/export/editor/export_job.h"
#include "session/export/output_choice.h"
#include "session/export/output_container.h"
#include "session/jobs/job_queue.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace kestrel::editor {

EditorExportController::EditorExportController(QWidget* window, QObject* parent)
    : QObject(parent), window_(window), queue_(new session::JobQueue(this)) {
    session::registerEditorEffects();
    connect(queue_, &session::JobQueue::jobFinished, this, [this](session::Job* job, const session::JobResult& result) {
        jobFinished(static_cast<session::ExportJob*>(job), result);
    });
}

EditorExportController::~EditorExportController() {
    // The queue stops its job; the job's worker tidies up after it.
    if (dialog_) dialog_->deleteLater();
}

bool EditorExportController::exporting() const { return dialog_ && dialog_->exporting(); }

int EditorExportController::pendingJobs() const { return (queue_->current() ? 1 : 0) + queue_->waitingCount(); }

int EditorExportController::currentPhase() const { return job_ && !stopPressed_ ? job_->currentPhase() : -1; }

int EditorExportController::phaseCount() const { return job_ ? job_->phaseCount() : 0; }

exportkit::ExportWindowController* EditorExportController::prepareExportDialog() {
    session_.reset();
    if (dialog_) dialog_->deleteLater();
    dialog_ = new exportkit::ExportWindowController(window_);
    dialog_->setInputFileName(QFileInfo(record_ ? record_->path : QString()).fileName());
    dialog_->setHiddenMergeAllIntoOne(true);
    dialog_->setStartExportCallbackBlock([this](const QString& path) { startExportCallback(path); });
    session_ = std::make_unique<exportkit::ExportSession>(dialog_);  // loads the window
    if (!outputFolder_.isEmpty()) dialog_->setOutputPath(outputFolder_);
    if (delegate_) delegate_->exportDialogOpened(dialog_);
    return dialog_;
}

void EditorExportController::startExportAction() {
    if (!record_) return;
    if (delegate_) delegate_->exportPausePreview();
    prepareExportDialog()->runModal(window_);
}

void EditorExportController::startExportCallback(const QString& path) {
    if (!dialog_ || !session_) return;
    if (exporting()) {
        // The dialog is back to Ready at once; the job removes what it wrote once its run returns.
        stopPressed_ = true;
        if (job_) job_->stop();
        session_->finishStopped();
        enableEditingAfterRun();
        return;
    }
    const QFileInfo proposed(path);
    const QString name = QFileInfo(record_ ? record_->path : QString()).completeBaseName() + QLatin1Char('_') +
                         proposed.completeBaseName();
    outputPath_ = QDir(proposed.path()).filePath(name);
    exportAction();
}

void EditorExportController::exportAction() {
    if (!record_) return;
    const session::EditState edits = editsProvider_ ? editsProvider_() : session::EditState{};
    // Edits the export would refuse end here with the reason, before anything is written.
    const QString refusal = session::editStateRefusal(edits, *record_);
    if (!refusal.isEmpty()) {
        session_->begin();
        session_->finishFailed(services::localized(refusal));
        return;
    }
    // The job record keeps the range and the output the batch tools and the dialog read.
    if (edits.hasTrimRange()) {
        record_->cutTimeRange_start = edits.trimStart_us;
        record_->cutTimeRange_stop = edits.trimStop_us;
    }
    record_->isTrimFanxuan = edits.removeSelectedPart;
    record_->keepAspectratio = edits.keepAspectRatio;
    session_->begin();
    if (delegate_) {
        delegate_->exportPausePreview();
        // Nothing is edited while the export runs; every outcome switches editing back on.
        delegate_->exportEnableEdit(false);
    }

    const QString folder = QFileInfo(outputPath_).path();
    // Keep Original names no extension: the source's container, or the nearest one FFmpeg writes.
    const QString extension = session::writableOutputExtension(
        record_->path,
        record_->targetData.extension.isEmpty() ? QFileInfo(record_->path).suffix() : record_->targetData.extension);
    if (!QDir().mkpath(folder)) {
        session_->finishFailed(services::localized(QStringLiteral("EditorExportFolderUnusableMessage")));
        enableEditingAfterRun();
        return;
    }
    const QString outputFile = services::uniqueOutputPath(folder, QFileInfo(outputPath_).fileName(), extension);
    record_->exportPath = outputFile;
    qDebug().noquote() << "outputFileurl:" << outputFile;

    // The choices stand as they are now: a change in the format bar reaches the next export.
    session::OutputChoice choice = session::readEditorOutputChoice(
        *record_, edits.removeSelectedPart ? session::FrameSizeRule::RemovePart : session::FrameSizeRule::Normal);
    choice.reencode = dialog_ && dialog_->reEncoding();
    auto* job = new session::ExportJob(edits, *record_, choice, outputFile);
    job_ = job;
    stopPressed_ = false;
    connect(job, &session::ExportJob::progressChanged, this, [this, job](double fraction) {
        if (job == job_ && !stopPressed_ && session_) session_->setProgress(fraction);
    });
    connect(job, &session::ExportJob::phaseStarted, this, [this, job](int phase) {
        if (job == job_ && phaseStartedBlock_) phaseStartedBlock_(phase);
    });
    queue_->enqueue(job);
}

void EditorExportController::jobFinished(session::ExportJob* job, const session::JobResult& result) {
    if (job != job_) return;
    const bool stoppedByUser = stopPressed_;
    stopPressed_ = false;
    if (stoppedByUser) return;  // the dialog and the window were told when Stop was pressed
    enableEditingAfterRun();
    if (!dialog_ || !session_) return;
    if (result.done()) {
        qDebug() << "export finished";
        session_->finishSucceeded(job->outputFile());
    } else if (result.stopped()) {
        session_->finishStopped();
    } else if (!result.message.isEmpty()) {
        session_->finishFailed(result.message);
    } else {
        session_->finishFailed(result.code);
    }
}

void EditorExportController::enableEditingAfterRun() {
    if (delegate_) delegate_->exportEnableEdit(true);
}

}  // namespace kestrel::editor

#include "editor/export_run/editor_export_run.h"

#include "session/output_choice.h"
#include "editor/export_run/convert_job_setup.h"
#include "editor/export_run/export_phases.h"
#include "editor/effects/effect_catalogue.h"
#include "engine/mediacore/media_core.h"
#include "engine/mediacore/media_join.h"
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "platform/dispatch.h"
#include "services/language.h"
#include "services/output_name.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace kestrel::editor {

// One press of Start: the record and edits it was started with, its phases and what it wrote.
struct EditorExportRun::Run {
    kestrel::model::SimpleDataPtr record;
    ExportEdits edits;
    kestrel::session::FrameSizeRule sizeRule = kestrel::session::FrameSizeRule::Normal;
    QString extension;
    QString outputFile;
    std::vector<ExportPhase> phases;
    size_t current = 0;
    QStringList temporaries;
    bool stopped = false;
};

EditorExportRun::EditorExportRun(QWidget* window, QObject* parent) : QObject(parent), window_(window) {
    registerEditorEffects();
}

EditorExportRun::~EditorExportRun() {
    if (run_) run_->stopped = true;
    stopProgressTimer();
    // Returns once the output is no longer written; the completion closes the handle.
    if (hVC_) apiMediaConvertStop(hVC_);
    if (joinHVC_) apiMediaJoinStop(joinHVC_);
    if (dialog_) dialog_->deleteLater();
}

bool EditorExportRun::exporting() const { return dialog_ && dialog_->exporting(); }

int EditorExportRun::currentPhase() const { return run_ ? static_cast<int>(run_->current) : -1; }

size_t EditorExportRun::phaseCount() const { return run_ ? run_->phases.size() : 0; }

namespace {

// What a run leaves behind when it was stopped or its window went away: its temporaries, and
// an output that a phase finished just before the stop reached it.
void discardStoppedRun(const QStringList& temporaries, const QString& phaseOutput, int result) {
    removeFiles(temporaries);
    if (result >= 1) removeFiles({phaseOutput});
}

}  // namespace

exportkit::ExportWindowController* EditorExportRun::prepareExportDialog() {
    session_.reset();
    if (dialog_) dialog_->deleteLater();
    dialog_ = new exportkit::ExportWindowController(window_);
    dialog_->setInputFileName(QFileInfo(record_ ? record_->path : QString()).fileName());
    dialog_->setHiddenMergeAllIntoOne(true);
    dialog_->setStartExportCallbackBlock([this](const QString& path) { startExportCallback(path); });
    session_ = std::make_unique<exportkit::ExportSession>(dialog_);  // loads the window
    if (delegate_) delegate_->exportRunDialogOpened(dialog_);
    return dialog_;
}

void EditorExportRun::startExportAction() {
    if (!record_) return;
    if (delegate_) delegate_->exportRunPausePreview();
    prepareExportDialog()->runModal(window_);
}

void EditorExportRun::startExportCallback(const QString& path) {
    if (!dialog_ || !session_) return;
    if (exporting()) {
        stopRunningJob();
        return;
    }
    const QFileInfo proposed(path);
    const QString name = QFileInfo(record_ ? record_->path : QString()).completeBaseName() + QLatin1Char('_') +
                         proposed.completeBaseName();
    outputPath_ = QDir(proposed.path()).filePath(name);
    exportAction();
}

void EditorExportRun::exportAction() {
    if (!record_) return;
    auto run = std::make_shared<Run>();
    run->record = record_;
    if (editsProvider_) run->edits = editsProvider_();
    applyEditsToRecord(run->edits, *record_);
    run_ = run;
    session_->begin();
    if (delegate_) {
        delegate_->exportRunPausePreview();
        // Nothing is edited while the export runs; every outcome switches editing back on.
        delegate_->exportRunEnableEdit(false);
    }
    startRun();
}

void EditorExportRun::stopRunningJob() {
    if (run_) run_->stopped = true;
    stopProgressTimer();
    if (hVC_) apiMediaConvertStop(hVC_);
    if (joinHVC_) apiMediaJoinStop(joinHVC_);
    session_->finishStopped();
    if (run_) enableEditingAfterRun(*run_);
    // The completions still hold the run: they close the handles and remove what it wrote.
    run_.reset();
}

void EditorExportRun::startRun() {
    Run& run = *run_;
    const kestrel::model::SimpleData& record = *run.record;
    const QString folder = QFileInfo(outputPath_).path();
    const QString base = QFileInfo(outputPath_).fileName();
    run.extension = record.targetData.extension.isEmpty() ? QFileInfo(record.path).suffix()
                                                           : record.targetData.extension;
    if (!QDir().mkpath(folder)) {
        finishRun(run_, false, 0, QStringLiteral("EditorExportFolderUnusableMessage"));
        return;
    }
    run.outputFile = services::uniqueOutputPath(folder, base, run.extension);
    run.record->exportPath = run.outputFile;
    qDebug().noquote() << "outputFileurl:" << run.outputFile;

    if (record.isTrimFanxuan) {
        run.record->exportbeforPath = services::uniqueOutputPath(folder, base + QStringLiteral("_befor"), run.extension);
        run.record->exportbehandPath = services::uniqueOutputPath(folder, base + QStringLiteral("_behand"), run.extension);
        const PhasePlan plan = planRemovedRangeExport(record, mediaDurationUs(record.path), run.outputFile,
                                                      run.record->exportbeforPath, run.record->exportbehandPath);
        if (!plan.ok) {
            finishRun(run_, false, plan.code, plan.messageKey);
            return;
        }
        run.phases = plan.phases;
        run.sizeRule = kestrel::session::FrameSizeRule::RemovePart;
    } else {
        run.phases = {plainExportPhase(record, run.outputFile)};
    }
    startPhase();
}

void EditorExportRun::startPhase() {
    const std::shared_ptr<Run> run = run_;
    const ExportPhase& phase = run->phases.at(run->current);
    if (phase.kind == ExportPhase::Convert)
        startConvertPhase(phase);
    else
        startJoinPhase(phase);
    if (run == run_ && phaseStartedBlock_) phaseStartedBlock_(static_cast<int>(run->current));
}

void EditorExportRun::startConvertPhase(const ExportPhase& phase) {
    const std::shared_ptr<Run> run = run_;
    void* job = apiMediaConvertCreate();
    if (!job) {
        finishRun(run, false, 0, QString());
        return;
    }
    auto fail = [&](int code, const QString& key) {
        apiMediaConvertClose(job);
        finishRun(run, false, code, key);
    };
    const QByteArray input = run->record->path.toUtf8();
    int rc = apiMediaConvertSetInputMedia(job, input.constData());
    if (rc < 1) return fail(rc, QString());
    const session::OutputChoice choice = kestrel::session::readEditorOutputChoice(*run->record, run->sizeRule);
    const SetupOutcome setup = configureConvertJob(job, *run->record, choice, run->edits, phase.cut, &run->temporaries);
    if (!setup.ok) return fail(setup.code, setup.messageKey);
    if ((rc = apiMediaConvertSetOutputPath(job, phase.output.toUtf8().constData())) < 1) return fail(rc, QString());
    if (phase.temporary) run->temporaries.append(phase.output);

    hVC_ = job;
    if (delegate_) delegate_->exportRunEnableRemoveOriginalSound(false);
    startProgressTimer();
    ++pendingJobs_;
    QPointer<EditorExportRun> self(this);
    const QString output = phase.output;
    platform::dispatchGlobalAsync([self, run, job, output] {
        const int result = apiMediaConvertStart(job);
        platform::dispatchMainAsync([self, run, job, output, result] {
            if (apiMediaConvertClose(job) < 1) qDebug() << "apiMediaConvertClose failed";
            if (!self || run->stopped) {
                discardStoppedRun(run->temporaries, output, result);
                if (self && self->hVC_ == job) self->hVC_ = nullptr;
                if (self) --self->pendingJobs_;
                return;
            }
            --self->pendingJobs_;
            if (self->hVC_ == job) self->hVC_ = nullptr;
            self->phaseEnded(run, result);
        });
    });
}

void EditorExportRun::startJoinPhase(const ExportPhase& phase) {
    const std::shared_ptr<Run> run = run_;
    void* job = apiMediaJoinCreate();
    if (!job) {
        finishRun(run, false, 0, QString());
        return;
    }
    auto fail = [&](int code) {
        apiMediaJoinClose(job);
        finishRun(run, false, code, QString());
    };
    int rc = apiMediaJoinSetOutputPath(job, phase.output.toUtf8().constData());
    if (rc < 1) return fail(rc);
    for (const QString& clip : phase.joinInputs)
        if (apiMediaJoinAddMediaClip(job, clip.toUtf8().constData(), 0, 0) == 0) return fail(0);
    // The parts were written with the same settings, so their streams are copied as they are.
    if ((rc = apiMediaJoinSetAudioCodec(job, "copy")) < 0) return fail(rc);
    if ((rc = apiMediaJoinSetVideoCodec(job, "copy")) < 0) return fail(rc);

    joinHVC_ = job;
    startProgressTimer();
    ++pendingJobs_;
    QPointer<EditorExportRun> self(this);
    const QString output = phase.output;
    platform::dispatchGlobalAsync([self, run, job, output] {
        const int result = apiMediaJoinStart(job);
        platform::dispatchMainAsync([self, run, job, output, result] {
            apiMediaJoinClose(job);
            if (!self || run->stopped) {
                discardStoppedRun(run->temporaries, output, result >= 0 ? 1 : result);
                if (self && self->joinHVC_ == job) self->joinHVC_ = nullptr;
                if (self) --self->pendingJobs_;
                return;
            }
            --self->pendingJobs_;
            if (self->joinHVC_ == job) self->joinHVC_ = nullptr;
            // The join reports success with 0 or more; the phases count it as 1.
            self->phaseEnded(run, result >= 0 ? 1 : result);
        });
    });
}

void EditorExportRun::phaseEnded(const std::shared_ptr<Run>& run, int result) {
    stopProgressTimer();
    if (result < 1) {
        finishRun(run, false, result, QString());
        return;
    }
    if (++run->current < run->phases.size()) {
        startPhase();
        return;
    }
    finishRun(run, true, 1, QString());
}

void EditorExportRun::finishRun(std::shared_ptr<Run> run, bool succeeded, int code, const QString& messageKey) {
    stopProgressTimer();
    removeFiles(run->temporaries);
    run->temporaries.clear();
    if (run == run_) run_.reset();
    enableEditingAfterRun(*run);
    if (!dialog_ || !session_) return;
    if (succeeded) {
        qDebug() << "export finished";
        session_->finishSucceeded(run->record->exportPath);
    } else if (!messageKey.isEmpty()) {
        session_->finishFailed(services::localized(messageKey));
    } else {
        session_->finishFailed(code);
    }
}

void EditorExportRun::enableEditingAfterRun(const Run& run) {
    if (!delegate_) return;
    delegate_->exportRunEnableMusicEdit(run.edits.hasMusicItems);
    delegate_->exportRunEnableEdit(true);
    delegate_->exportRunEnableRemoveOriginalSound(true);
}

void EditorExportRun::startProgressTimer() {
    stopProgressTimer();
    exportTimer_ = new QTimer(this);
    exportTimer_->setInterval(200);
    connect(exportTimer_, &QTimer::timeout, this, &EditorExportRun::pollProgress);
    exportTimer_->start();
}

void EditorExportRun::stopProgressTimer() {
    if (!exportTimer_) return;
    exportTimer_->stop();
    exportTimer_->deleteLater();
    exportTimer_ = nullptr;
}

void EditorExportRun::pollProgress() {
    if (!run_ || !session_ || !dialog_) return;
    double percent = 0;
    if (hVC_)
        percent = apiMediaConvertGetProgress(hVC_);
    else if (joinHVC_)
        percent = apiMediaJoinGetProgress(joinHVC_);
    else
        return;
    session_->setProgress(overallProgress(run_->current, run_->phases.size(), percent / 100.0));
}

}  // namespace kestrel::editor

// The splitter's export: the dialog, the split job of the current points and every end of it
// shown in the dialog; a stopped run says how many pieces it wrote.
#include <QComboBox>
#include <QDir>
#include <QFileInfo>

#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "services/language.h"
#include "session/export/split/split_job.h"
#include "tools/splitter/split_points.h"
#include "tools/splitter/split_progress_view.h"
#include "tools/splitter/split_window_controller.h"
#include "tools/shared/tool_export.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::splitter {

using services::localized;
namespace kit = kestrel::tools::shared;

namespace {

SplitWindowController::DialogPresenter& dialogPresenter() {
    static SplitWindowController::DialogPresenter presenter;
    return presenter;
}

}  // namespace

void SplitWindowController::setExportDialogPresenter(DialogPresenter presenter) { dialogPresenter() = std::move(presenter); }

bool SplitWindowController::exporting() const { return job_ && job_->running(); }

void SplitWindowController::startExportAction() {
    if (!fileData_) {
        showMessage(localized(QStringLiteral("scrlabelplaceholderString")));
        return;
    }
    if (playing()) playToggle();
    auto* dialog = kit::renewExportDialog(exportDialog_, exportSession_, this);
    dialog->setHiddenMergeAllIntoOne(true);
    kit::openExportDialog(dialog, exportSession_, filePath_, [this](const QString& path) { startExportCallback(path); },
                          dialogPresenter(), this);
}

void SplitWindowController::startExportCallback(const QString& path) {
    if (!exportSession_) return;
    if (exporting()) {
        job_->stop();  // its end puts the dialog and the window back
        return;
    }
    const QFileInfo proposed(path);
    outputPath_ = QDir(proposed.path()).filePath(QFileInfo(filePath_).completeBaseName() + QLatin1Char('_') +
                                                 proposed.completeBaseName());
    session::SplitPlan plan;
    plan.sourcePath = filePath_;
    plan.folder = outputPath_;
    plan.baseName = QFileInfo(fileData_->name).completeBaseName() + QStringLiteral("-split");
    plan.extension = fileData_->targetData.extension;
    plan.forceEncode = exportDialog_ && exportDialog_->reEncoding();
    if (mode() == SplitMode::Size)
        plan.pieceLimitBytes = int64_t(firstNumber(split_sizepopBtn->currentText()) * 1024.0 * 1024.0);
    else
        for (float p : playerSlider->getTimeProgresses()) plan.endFractions.append(double(p));

    auto* job = new session::SplitJob(plan, this);
    job_ = job;
    kit::followExportJob(job, this, exportSession_, [this](const session::JobResult& result) { jobFinished(result); });
    exportSession_->begin();
    enableEdit(false);
    addfileBtn->setEnabled(false);
    startExportBtn->setEnabled(false);
    job->start();
}

void SplitWindowController::jobFinished(const session::JobResult& result) {
    const int written = job_ ? int(job_->pieces().size()) : 0;
    // The pieces finished before a stop stay; the dialog says how many.
    if (exportSession_)
        kit::showExportEnd(*exportSession_, exportDialog_, result, outputPath_, QString(),
                           localized(QStringLiteral("SplitStoppedPiecesMessage")).arg(written));
    job_ = nullptr;
    addfileBtn->setEnabled(true);
    enableEdit(true);
}

}  // namespace kestrel::tools::splitter

// The reverse tool's export: the dialog with its format and quality menus, one reverse job of
// the range, and every end of it shown in the dialog (a stop says the unfinished file was removed).
#include <algorithm>

#include "engine/player/DIVuverIzizud.h"
#include "export/ui/export_session.h"
#include "services/language.h"
#include "tools/reverse/reverse_view_controller.h"
#include "tools/shared/tool_export.h"

namespace kestrel::tools::reverse {
namespace {

using services::localized;
namespace kit = kestrel::tools::shared;

ReverseViewController::DialogPresenter& dialogPresenter() {
    static ReverseViewController::DialogPresenter presenter;
    return presenter;
}

}  // namespace

void ReverseViewController::setExportDialogPresenter(DialogPresenter presenter) { dialogPresenter() = std::move(presenter); }

bool ReverseViewController::exporting() const { return job_ && job_->running(); }

void ReverseViewController::exportBtnAction() {
    if (!player_) return;
    if (playing()) pausePreview();
    auto* dialog = kit::renewExportDialog(exportDialog_, exportSession_, this);
    dialog->setIsAudioInput(soundOnly_);
    dialog->setIsReverse(true);
    kit::openExportDialog(dialog, exportSession_, filePath_, [this](const QString& path) { exportCallback(path); }, dialogPresenter(),
                          window());
}

void ReverseViewController::exportCallback(const QString& path) {
    if (!exportSession_) return;
    if (exporting()) {
        job_->stop();  // the engine stops and removes its partial output; the job's end resets the dialog
        return;
    }
    if (end_us_ <= start_us_) {
        exportSession_->finishFailed(localized(QStringLiteral("ReverseEmptyRangeMessage")));
        return;
    }
    session::ReverseRequest request;
    request.inputPath = filePath_;
    request.outputPath = path;
    request.start_us = start_us_;
    request.end_us = end_us_;
    request.sound = soundMode();
    request.quality = session::ReverseQuality(std::clamp(exportDialog_->qualityMenuIndex(), 0, 2));
    auto* job = new session::ReverseJob(request, this);
    job_ = job;
    kit::followExportJob(job, this, exportSession_, [this](const session::JobResult& result) { jobFinished(result); });
    exportSession_->begin();
    enableEditing(false);
    job->start();
}

void ReverseViewController::jobFinished(const session::JobResult& result) {
    job_ = nullptr;
    if (exportSession_)
        kit::showExportEnd(*exportSession_, exportDialog_, result, result.outputs.value(0), localized(QStringLiteral("Succeeded converting!")),
                           localized(QStringLiteral("Cancel to abort the file converting!")));
    enableEditing(true);
}

}  // namespace kestrel::tools::reverse

// The reverse tool's export: the dialog with its format and quality menus, one reverse job of
// the range, and every end of it shown in the dialog (a stop says the unfinished file was removed).
#include <QFileInfo>
#include <algorithm>

#include "engine/player/DIVuverIzizud.h"
#include "export/ui/export_session.h"
#include "services/language.h"
#include "tools/reverse/reverse_view_controller.h"

namespace kestrel::tools::reverse {
namespace {

using services::localized;

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
    exportSession_.reset();
    if (exportDialog_) exportDialog_->deleteLater();
    exportDialog_ = new exportkit::StartExportWindowController(this);
    exportDialog_->setIsAudioInput(soundOnly_);
    exportDialog_->setInputFileName(QFileInfo(filePath_).fileName());
    exportDialog_->setIsReverse(true);
    exportDialog_->setStartExportCallbackBlock([this](const QString& path) { exportCallback(path); });
    exportSession_ = std::make_unique<exportkit::ExportSession>(exportDialog_);
    if (dialogPresenter())
        dialogPresenter()(exportDialog_);
    else
        exportDialog_->runModal(window());
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
    connect(job, &session::Job::progressChanged, this, [this](double fraction) {
        if (exportSession_) exportSession_->setProgress(fraction);
    });
    connect(job, &session::Job::finished, this, [this, job](const session::JobResult& result) {
        jobFinished(result);
        job->deleteLater();
    });
    exportSession_->begin();
    enableEditing(false);
    job->start();
}

void ReverseViewController::jobFinished(const session::JobResult& result) {
    job_ = nullptr;
    if (exportSession_) {
        if (result.done()) {
            exportSession_->finishSucceeded(result.outputs.value(0), localized(QStringLiteral("Succeeded converting!")));
        } else if (result.stopped()) {
            exportSession_->finishStopped();
            if (exportDialog_) exportDialog_->showSucceeded(localized(QStringLiteral("Cancel to abort the file converting!")));
        } else if (!result.message.isEmpty()) {
            exportSession_->finishFailed(result.message);
        } else {
            exportSession_->finishFailed(result.code);
        }
    }
    enableEditing(true);
}

}  // namespace kestrel::tools::reverse

// The GIF maker view's export: the dialog, the job of the selected mode, and every end of it shown
// in the dialog.
#include "tools/gif/gif_view_controller.h"

#include "export/ui/export_session.h"
#include "export/ui/start_export_window_controller.h"
#include "session/export/gif/gif_export_job.h"
#include "session/export/gif/gif_picture_sequence_job.h"
#include "tools/gif/gif_view_support.h"
#include "tools/shared/tool_export.h"

#include <QFileInfo>

namespace gif {

namespace session = kestrel::session;
using namespace detail;
namespace kit = kestrel::tools::shared;

namespace {

GIFViewController::DialogRunner& dialogRunner() {
    static GIFViewController::DialogRunner runner;
    return runner;
}

}  // namespace

void GIFViewController::setDialogRunner(DialogRunner runner) { dialogRunner() = std::move(runner); }

exportkit::StartExportWindowController* GIFViewController::exportDialog() const { return exportDialog_; }

bool GIFViewController::exporting() const { return job_ && job_->running(); }

void GIFViewController::exportBtnAction() {
    if (exporting()) return;
    // A value being typed is committed first: the export takes what the fields show.
    endEditing();
    if (previewPlaying()) playAction(false);
    auto* dialog = kit::renewExportDialog(exportDialog_, exportSession_, this);
    dialog->setIsExportGif(true);
    dialog->setIsExportJpg(mode_ == Mode::VideoToPictures);
    dialog->setInputFileName(videoPath_);
    dialog->setStartExportCallbackBlock([this, dialog](const QString& path) { exportAction(dialog, path); });
    if (dialogRunner()) {
        dialogRunner()(dialog, this);
        return;
    }
    dialog->runModal(this);
    // The modal dialog stays open until its job has ended, so nothing of it is left running.
    exportSession_.reset();
    dialog->deleteLater();
}

void GIFViewController::exportAction(exportkit::StartExportWindowController* dialog, const QString& outputPath) {
    if (exporting()) {
        job_->stop();  // the dialog's Stop, or its window closed: finished() follows as stopped
        return;
    }
    const QFileInfo chosen(outputPath);
    const QString folder = chosen.absolutePath();
    const QString base = chosen.completeBaseName();
    const QString videoBase = QFileInfo(videoPath_).completeBaseName() + "_" + base;
    session::Job* job = nullptr;
    if (mode_ == Mode::PhotosToGif) {
        session::GifPhotosRequest request{files_, photoWidth_, photoHeight_, ptoGifFps_, folder, base};
        auto* gifJob = new session::GifExportJob(request, this);
        jobOutput_ = gifJob->outputPath();
        job = gifJob;
    } else if (mode_ == Mode::VideoToGif) {
        session::GifVideoRequest request{videoPath_, startUs_, endUs_, gifSize_.width, gifSize_.height, vtoGifFps_, folder, videoBase};
        auto* gifJob = new session::GifExportJob(request, this);
        jobOutput_ = gifJob->outputPath();
        job = gifJob;
    } else {
        session::PictureSequenceRequest request{videoPath_, startUs_, endUs_, pictureSize_.width, pictureSize_.height,
                                                vtoJpgFps_, folder, videoBase};
        auto* pictureJob = new session::PictureSequenceJob(request, this);
        jobOutput_ = pictureJob->outputFolder();
        job = pictureJob;
    }
    job_ = job;
    dialog->setOutputFileName(QFileInfo(jobOutput_).fileName());
    exportSession_ = std::make_unique<exportkit::ExportSession>(dialog);
    connect(job, &session::Job::progressChanged, this, [this](double fraction) {
        if (exportSession_) exportSession_->setProgress(fraction);
    });
    connect(job, &session::Job::finished, this, &GIFViewController::jobFinished);
    exportSession_->begin();
    job->start();
}

void GIFViewController::jobFinished(const session::JobResult& result) {
    if (job_) job_->deleteLater();
    if (!exportSession_) return;
    kit::showExportEnd(*exportSession_, exportDialog_, result, jobOutput_, tr_("gif_miker_SucceededConverting!"),
                       tr_("gif_miker_CancelTheFileConverting!"));
}

}  // namespace gif

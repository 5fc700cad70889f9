#include "tools/shared/tool_export.h"

#include <QFileInfo>

#include "session/jobs/job.h"

namespace kestrel::tools::shared {

std::unique_ptr<exportkit::ExportSession> readyExportDialog(exportkit::ExportDialogBase* dialog, const QString& inputPath,
                                                            exportkit::ExportDialogBase::StartBlock start) {
    dialog->setInputFileName(QFileInfo(inputPath).fileName());
    dialog->setStartExportCallbackBlock(std::move(start));
    return std::make_unique<exportkit::ExportSession>(dialog);
}

void followExportJob(session::Job* job, QObject* owner, const std::unique_ptr<exportkit::ExportSession>& session,
                     std::function<void(const session::JobResult&)> finished) {
    QObject::connect(job, &session::Job::progressChanged, owner, [&session](double fraction) {
        if (session) session->setProgress(fraction);
    });
    QObject::connect(job, &session::Job::finished, owner, [job, finished = std::move(finished)](const session::JobResult& result) {
        finished(result);
        job->deleteLater();
    });
}

void showExportEnd(exportkit::ExportSession& session, exportkit::ExportDialogBase* dialog, const session::JobResult& result,
                   const QString& writtenPath, const QString& successText, const QString& stoppedText) {
    if (result.done()) {
        session.finishSucceeded(writtenPath, successText);
    } else if (result.stopped()) {
        session.finishStopped();
        if (dialog) dialog->showSucceeded(stoppedText);
    } else if (!result.message.isEmpty()) {
        session.finishFailed(result.message);
    } else {
        session.finishFailed(result.code);
    }
}

}  // namespace kestrel::tools::shared

#pragma once
// A tool's export dialog and the one job it runs from it, wired alike in the tools that export
// one file or one set of pieces: the dialog is renewed at each export, a session drives it, the
// job's progress reaches it, and the job's end is shown in it.
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "export/ui/export_dialog_base.h"
#include "export/ui/export_session.h"

class QObject;
class QWidget;

namespace kestrel::session {
class Job;
struct JobResult;
}  // namespace kestrel::session

namespace kestrel::tools::shared {

// Puts a new Dialog, child of parent, in place of the tool's last one: the last one's session
// ends, and the last dialog is deleted once its events are done.
template <class Dialog>
Dialog* renewExportDialog(QPointer<Dialog>& dialog, std::unique_ptr<exportkit::ExportSession>& session, QWidget* parent) {
    session.reset();
    if (dialog) dialog->deleteLater();
    dialog = new Dialog(parent);
    return dialog;
}

// Readies the dialog: it names the input file, hands the output path chosen in it to start, and
// is driven by the session returned.
std::unique_ptr<exportkit::ExportSession> readyExportDialog(exportkit::ExportDialogBase* dialog, const QString& inputPath,
                                                            exportkit::ExportDialogBase::StartBlock start);

// Readies the dialog into session and shows it: through presenter when one is set (tests stand
// in for the user there), else modally over modalOwner.
template <class Dialog>
void openExportDialog(Dialog* dialog, std::unique_ptr<exportkit::ExportSession>& session, const QString& inputPath,
                      exportkit::ExportDialogBase::StartBlock start, const std::function<void(Dialog*)>& presenter,
                      QWidget* modalOwner) {
    session = readyExportDialog(dialog, inputPath, std::move(start));
    if (presenter)
        presenter(dialog);
    else
        dialog->runModal(modalOwner);
}

// Shows the job's progress through the session while there is one; hands the job's end to
// finished, then deletes the job. owner holds session and outlives the connections.
void followExportJob(session::Job* job, QObject* owner, const std::unique_ptr<exportkit::ExportSession>& session,
                     std::function<void(const session::JobResult&)> finished);

// Shows how the job ended: the written file (after successText), a stop (stoppedText in the
// dialog, when it is still open), or the failure's message, its code when it has none.
void showExportEnd(exportkit::ExportSession& session, exportkit::ExportDialogBase* dialog, const session::JobResult& result,
                   const QString& writtenPath, const QString& successText, const QString& stoppedText);

}  // namespace kestrel::tools::shared

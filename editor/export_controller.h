#pragma once
// The editor's export, window side: from the export button to the finished file. It opens the
// export dialog, takes the window's edit state and the format bar's choice when Start is
// pressed, and hands one session::ExportJob to a queue; the dialog follows the job's progress
// and its one outcome through exportkit::ExportSession. The dialog's Stop (and its close box)
// comes back through the start callback and stops the job; a stopped or failed export leaves
// neither the output nor a temporary part (the job removes them).
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "export/ui/export_window_controller.h"
#include "model/simple_data.h"
#include "session/edit/edit_state.h"

class QWidget;

namespace exportkit {
class ExportSession;
}  // namespace exportkit

namespace kestrel::session {
class ExportJob;
class JobQueue;
struct JobResult;
}  // namespace kestrel::session

namespace kestrel::editor {

// What the export asks of the editor window around a run.
class EditorExportDelegate {
public:
    virtual ~EditorExportDelegate() = default;
    // Before the dialog opens and when a job starts: stop the music preview, pause the video.
    virtual void exportPausePreview() {}
    virtual void exportEnableEdit(bool enabled) {}
    // A new export dialog replaces the previous one (the window stops a running export through
    // it when it closes).
    virtual void exportDialogOpened(exportkit::ExportWindowController* dialog) {}
};

class EditorExportController : public QObject {
    Q_OBJECT
public:
    using EditsProvider = std::function<session::EditState()>;

    explicit EditorExportController(QWidget* window, QObject* parent = nullptr);
    // A running job is stopped; its worker still closes the engine handle and removes what it wrote.
    ~EditorExportController() override;

    void setRecord(kestrel::model::SimpleDataPtr record) { record_ = std::move(record); }
    const kestrel::model::SimpleDataPtr& record() const { return record_; }
    void setEditsProvider(EditsProvider provider) { editsProvider_ = std::move(provider); }
    void setDelegate(EditorExportDelegate* delegate) { delegate_ = delegate; }
    // The window's output folder, which each new dialog starts in ("" keeps the dialog's own).
    void setOutputFolder(const QString& folder) { outputFolder_ = folder; }
    // Told the index of each phase once its engine run has been handed to the worker.
    void setPhaseStartedBlock(std::function<void(int phase)> block) { phaseStartedBlock_ = std::move(block); }

    // The export button: a new dialog for the open file, run modally. Nothing without a file.
    void startExportAction();
    // The dialog of startExportAction, replacing the previous one, set up but not shown.
    exportkit::ExportWindowController* prepareExportDialog();
    exportkit::ExportWindowController* exportProgressWindow() const { return dialog_; }

    // The dialog's start callback: starts an export to the folder of path, or stops the running one.
    void startExportCallback(const QString& path);

    // An export is running as far as the dialog is concerned.
    bool exporting() const;
    // Jobs that have not finished yet (a stopped one included, until its run has returned).
    int pendingJobs() const;
    // Index of the running phase (0 for a plain export), -1 when no export runs.
    int currentPhase() const;
    int phaseCount() const;
    // Chosen folder + "/" + input base name + "_" + proposed base name, without extension.
    const QString& outputPath() const { return outputPath_; }

private:
    void exportAction();
    void jobFinished(session::ExportJob* job, const session::JobResult& result);
    void enableEditingAfterRun();

    QPointer<QWidget> window_;
    kestrel::model::SimpleDataPtr record_;
    EditsProvider editsProvider_;
    EditorExportDelegate* delegate_ = nullptr;
    std::function<void(int phase)> phaseStartedBlock_;
    QPointer<exportkit::ExportWindowController> dialog_;
    std::unique_ptr<exportkit::ExportSession> session_;
    QString outputPath_;
    QString outputFolder_;
    session::JobQueue* queue_ = nullptr;
    QPointer<session::ExportJob> job_;
    bool stopPressed_ = false;
};

}  // namespace kestrel::editor

#pragma once
// The editor's export: from the export button to the finished file. It opens the export
// dialog, copies the editor's edits into the job record and runs the engine jobs of the export
// on the global queue while a 0.2 s timer shows their progress in the dialog:
// - normally one convert job writing the output;
// - with the trim bar's inverse selection, the parts before and after the range converted and
//   joined (streams copied) into the output, each phase filling its share of the bar; an empty
//   part is skipped, and a single remaining part is converted straight into the output.
// The dialog's Stop (and its close box) comes back through the start callback and stops the
// running job; a stopped or failed export leaves neither the output nor a temporary part.
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "editor/export_run/export_edits.h"
#include "editor/export_run/export_phases.h"
#include "export/ui/export_window_controller.h"
#include "model/simple_data.h"

class QTimer;
class QWidget;

namespace exportkit {
class ExportSession;
}  // namespace exportkit

namespace kestrel::editor {

// What the export asks of the editor window around a run.
class EditorExportRunDelegate {
public:
    virtual ~EditorExportRunDelegate() = default;
    // Before the dialog opens and when a job starts: stop the music preview, pause the video.
    virtual void exportRunPausePreview() {}
    virtual void exportRunEnableEdit(bool enabled) {}
    virtual void exportRunEnableMusicEdit(bool enabled) {}
    virtual void exportRunEnableRemoveOriginalSound(bool enabled) {}
    // A new export dialog replaces the previous one (the window stops a running export through
    // it when it closes).
    virtual void exportRunDialogOpened(exportkit::ExportWindowController* dialog) {}
};

class EditorExportRun : public QObject {
    Q_OBJECT
public:
    using EditsProvider = std::function<ExportEdits()>;

    explicit EditorExportRun(QWidget* window, QObject* parent = nullptr);
    // A running job is stopped; its completion still closes the engine handle and removes
    // what it wrote.
    ~EditorExportRun() override;

    void setRecord(kestrel::model::SimpleDataPtr record) { record_ = std::move(record); }
    const kestrel::model::SimpleDataPtr& record() const { return record_; }
    void setEditsProvider(EditsProvider provider) { editsProvider_ = std::move(provider); }
    void setDelegate(EditorExportRunDelegate* delegate) { delegate_ = delegate; }
    // Told the index of each phase once its engine job has been handed to the global queue.
    void setPhaseStartedBlock(std::function<void(int phase)> block) { phaseStartedBlock_ = std::move(block); }

    // The export button: a new dialog for the open file, run modally. Nothing without a file.
    void startExportAction();
    // The dialog of startExportAction, replacing the previous one, set up but not shown.
    exportkit::ExportWindowController* prepareExportDialog();
    exportkit::ExportWindowController* exportProgressWindow() const { return dialog_; }

    // The dialog's start callback: starts an export to the folder of path, or stops the
    // running one.
    void startExportCallback(const QString& path);

    // An export is running as far as the dialog is concerned.
    bool exporting() const;
    // Engine jobs whose start call has not come back yet (a stopped job included).
    int pendingJobs() const { return pendingJobs_; }
    // Index of the running phase (0 for a plain export), -1 when no export runs.
    int currentPhase() const;
    size_t phaseCount() const;
    // Chosen folder + "/" + input base name + "_" + proposed base name, without extension.
    const QString& outputPath() const { return outputPath_; }

private:
    struct Run;

    void exportAction();
    void stopRunningJob();
    void startRun();
    void startPhase();
    void startConvertPhase(const ExportPhase& phase);
    void startJoinPhase(const ExportPhase& phase);
    void phaseEnded(const std::shared_ptr<Run>& run, int result);
    void finishRun(std::shared_ptr<Run> run, bool succeeded, int code, const QString& messageKey);
    void pollProgress();
    void stopProgressTimer();
    void startProgressTimer();
    void enableEditingAfterRun(const Run& run);

    QPointer<QWidget> window_;
    kestrel::model::SimpleDataPtr record_;
    EditsProvider editsProvider_;
    EditorExportRunDelegate* delegate_ = nullptr;
    std::function<void(int phase)> phaseStartedBlock_;
    QPointer<exportkit::ExportWindowController> dialog_;
    std::unique_ptr<exportkit::ExportSession> session_;
    QString outputPath_;
    std::shared_ptr<Run> run_;
    void* hVC_ = nullptr;      // the running convert job
    void* joinHVC_ = nullptr;  // the running join job
    QTimer* exportTimer_ = nullptr;
    int pendingJobs_ = 0;
};

}  // namespace kestrel::editor

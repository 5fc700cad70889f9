#pragma once
// Joins the effect panel and the export to the editor window: the panel goes into the window's
// effect frame and follows its preview, and the export button opens the export dialog whose
// job takes the window's edit state. The window keeps one attachment for its lifetime.
#include <QObject>
#include <QPointer>

#include "editor/editor_export_host.h"
#include "editor/effects/kxfx_view.h"
#include "editor/export_controller.h"

namespace kestrel::editor {

class EditorExportAttachment : public QObject, public EditorExportDelegate {
public:
    // Builds the panel into the window's effect frame and takes the export button; parent is
    // the window's controller, which outlives the attachment.
    EditorExportAttachment(EditorExportHost& window, QObject* parent);

    KxfxView* effectPanel() const { return panel_; }
    EditorExportController* exportRun() const { return run_; }

    // The window (re)made its preview for the open file; the volume starts at the record's.
    void playerRefreshed(double volume);
    // Once, a moment after the window's set-up: magic enhance for an image-enhancement window,
    // and the speed field becomes editable.
    void magicEnhanceAction();
    void enableEdit(bool enabled);
    void changelanguage();
    // The export button.
    void startExportAction();

    // EditorExportDelegate
    void exportPausePreview() override;
    void exportEnableEdit(bool enabled) override;
    void exportDialogOpened(exportkit::ExportWindowController* dialog) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EditorExportHost& window_;
    QPointer<KxfxView> panel_;
    EditorExportController* run_;
};

}  // namespace kestrel::editor

#include "editor/editor_export_attachment.h"

#include "editor/editor_views.h"
#include "editor/effects/kxfx_view.h"
#include "editor/window_edit_state.h"
#include "editor/music/music_panel.h"
#include "editor/output_folder_menu.h"
#include "editor/watermark/editor_side_panels.h"
#include "widgets/zor_button.h"

#include <QEvent>

namespace kestrel::editor {

EditorExportAttachment::EditorExportAttachment(EditVideoWindowController& window)
    : QObject(&window), window_(window), run_(new EditorExportController(window.views().window, this)) {
    EditVideoWindowController::Views& views = window.views();
    QWidget* frame = views.kxfxView;
    panel_ = new KxfxView(frame);
    panel_->setGeometry(frame->rect());
    frame->installEventFilter(this);
    panel_->setIsMagicEnhance(window.isMagicEnhance());
    panel_->setPreviewControl([this] { window_.pause(); }, [this] { window_.play(); });
    panel_->setPreviewApplier([this](unsigned parts) { window_.applyEditState(parts); });
    panel_->setVolumeResetBlock([this](double volume) {
        if (auto* slider = window_.views().b_volumeSlider) slider->setProgress(float(volume / 2.0));
    });

    run_->setDelegate(this);
    run_->setEditsProvider([this] { return editStateFromWindow(window_, panel_); });
    views.startExportBtn->setMouseDownAction([this](kestrel::widgets::ZorButton*) { startExportAction(); });
}

bool EditorExportAttachment::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && panel_ && watched == panel_->parent()) panel_->setGeometry(panel_->parentWidget()->rect());
    return QObject::eventFilter(watched, event);
}

void EditorExportAttachment::playerRefreshed(double volume) {
    if (!panel_) return;
    panel_->setVolume(volume);
    panel_->setPlayer(window_.rdPlayer());
    panel_->setFileData(window_.fileData());
    panel_->refreshPlayerView();
}

void EditorExportAttachment::magicEnhanceAction() {
    if (panel_) panel_->magicEnhanceAction();
}

void EditorExportAttachment::enableEdit(bool enabled) {
    if (panel_) panel_->enableEdit(enabled);
}

void EditorExportAttachment::changelanguage() {
    if (panel_) panel_->changelanguage();
}

void EditorExportAttachment::startExportAction() {
    if (!window_.rdPlayer()) return;  // no file with video loaded: nothing to export
    run_->setRecord(window_.fileData());
    run_->setOutputFolder(window_.outputPath());
    run_->startExportAction();
    // A folder chosen in the dialog is remembered there; the window's pop-up follows it.
    if (OutputFolderMenu* menu = window_.views().outputPathPopUpBtn) menu->followRememberedFolder();
}

void EditorExportAttachment::exportPausePreview() {
    if (EditorSidePanels* side = window_.sidePanels()) side->musicPanel()->stopAudio();
    if (window_.isPlaying()) window_.pause();
}

void EditorExportAttachment::exportEnableEdit(bool enabled) { window_.enableEdit(enabled); }

void EditorExportAttachment::exportDialogOpened(exportkit::ExportWindowController* dialog) {
    window_.setExportProgressWindow(dialog);
}

}  // namespace kestrel::editor

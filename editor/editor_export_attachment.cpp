#include "editor/editor_export_attachment.h"

#include "editor/effects/kxfx_view.h"
#include "widgets/zor_button.h"

#include <QEvent>

namespace kestrel::editor {

EditorExportAttachment::EditorExportAttachment(EditorExportHost& window, QObject* parent)
    : QObject(parent), window_(window), run_(new EditorExportController(window.hostWindow(), this)) {
    QWidget* frame = window.effectFrame();
    panel_ = new KxfxView(frame);
    panel_->setGeometry(frame->rect());
    frame->installEventFilter(this);
    panel_->setIsMagicEnhance(window.isMagicEnhance());
    panel_->setPreviewControl([this] { window_.pause(); }, [this] { window_.play(); });
    panel_->setPreviewApplier([this](unsigned parts) { window_.showEditStateParts(parts); });
    panel_->setVolumeResetBlock([this](double volume) { window_.showVolume(volume); });

    run_->setDelegate(this);
    run_->setEditsProvider([this] { return window_.editStateWith(panel_); });
    window.exportButton()->setMouseDownAction([this](kestrel::widgets::ZorButton*) { startExportAction(); });
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
    window_.followRememberedOutputFolder();
}

void EditorExportAttachment::exportPausePreview() {
    window_.stopPanelAudio();
    if (window_.isPlaying()) window_.pause();
}

void EditorExportAttachment::exportEnableEdit(bool enabled) { window_.enableEdit(enabled); }

void EditorExportAttachment::exportDialogOpened(exportkit::ExportWindowController* dialog) {
    window_.setExportProgressWindow(dialog);
}

}  // namespace kestrel::editor

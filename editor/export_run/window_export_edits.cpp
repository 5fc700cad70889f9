#include "editor/export_run/window_export_edits.h"

#include "editor/editor_views.h"
#include "editor/effects/kxfx_view.h"
#include "editor/watermark/editor_side_panels.h"

#include <QComboBox>

namespace kestrel::editor {
namespace {

TrimFields trimFields(const QList<kestrel::widgets::RDTextField*>& fields) {
    return TrimFields{fields[0]->text().toInt(), fields[1]->text().toInt(), fields[2]->text().toInt(),
                      fields[3]->text().toInt()};
}

}  // namespace

ExportEdits exportEditsFromWindow(EditVideoWindowController& window, const KxfxView* effectPanel) {
    EditVideoWindowController::Views& views = window.views();
    ExportEdits edits;
    edits.start = trimFields(views.startFields());
    edits.stop = trimFields(views.stopFields());
    edits.clipRect = window.editVideoClipRect();
    edits.convertCropSize = window.convertCropSize();
    edits.rotateAngle = window.playerRotateAngle();
    edits.keepAspectratio = window.keepAspectratio();
    edits.hFlip = window.hFlip();
    edits.vFlip = window.vFlip();
    edits.brightness = window.brightness();
    edits.contrast = window.contrast();
    edits.saturation = window.saturation();
    edits.volume = window.volume();
    if (effectPanel) effectPanel->fillExportEdits(edits);
    edits.inverseSelection = views.cutProgressView->isFanxuan();
    if (views.audiochanelPopBtn) edits.audioTrackIndex = std::max(0, views.audiochanelPopBtn->currentIndex());
    // Subtitle, the level of the video's own sound, and the watermark and music steps.
    if (EditorSidePanels* side = window.sidePanels()) side->fillExportEdits(edits);
    return edits;
}

}  // namespace kestrel::editor

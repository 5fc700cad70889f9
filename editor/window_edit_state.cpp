#include "editor/window_edit_state.h"

#include "editor/editor_export_attachment.h"
#include "editor/editor_views.h"
#include "editor/effects/kxfx_view.h"
#include "editor/watermark/editor_side_panels.h"
#include "session/edit/edit_bindings.h"

#include <QComboBox>

namespace kestrel::editor {
namespace {

TrimFields trimFields(const QList<kestrel::widgets::RDTextField*>& fields) {
    return TrimFields{fields[0]->text().toInt(), fields[1]->text().toInt(), fields[2]->text().toInt(),
                      fields[3]->text().toInt()};
}

}  // namespace

double TrimFields::microseconds() const {
    return (millis / 1000.0 + (hours * 3600.0 + minutes * 60.0 + seconds)) * 1000000.0;
}

session::EditState editStateFromWindow(EditVideoWindowController& window, const KxfxView* effectPanel) {
    EditVideoWindowController::Views& views = window.views();
    session::EditState state = window.ownEdits();
    // The range as the eight fields hold it, also when it is no range: the export refuses a stop
    // not after its start rather than writing the whole file.
    state.trimStart_us = static_cast<int64_t>(trimFields(views.startFields()).microseconds());
    state.trimStop_us = static_cast<int64_t>(trimFields(views.stopFields()).microseconds());
    if (views.cutProgressView) state.removeSelectedPart = views.cutProgressView->isFanxuan();
    if (effectPanel) effectPanel->fillEditState(state);
    if (views.audiochanelPopBtn && window.fileData())
        state.audioStreamIndex =
            session::audioStreamIndexFor(*window.fileData(), std::max(0, views.audiochanelPopBtn->currentIndex()));
    // Watermarks, subtitle, music and the level of the video's own sound.
    if (EditorSidePanels* side = window.sidePanels()) side->fillEditState(state);
    return state;
}

}  // namespace kestrel::editor

kestrel::session::EditState EditVideoWindowController::editState() {
    const kestrel::editor::KxfxView* effects = exportAttachment_ ? exportAttachment_->effectPanel() : nullptr;
    return kestrel::editor::editStateFromWindow(*this, effects);
}

kestrel::session::EditState EditVideoWindowController::editStateWith(const kestrel::editor::KxfxView* effectPanel) {
    return kestrel::editor::editStateFromWindow(*this, effectPanel);
}

void EditVideoWindowController::applyEditState(unsigned parts, const kestrel::session::PreviewContext& context) {
    if (!rdPlayer_ || !fileData_ || !v_) return;
    kestrel::session::applyToPreview(rdPlayer_.get(), editState(), *fileData_, parts, context);
}

#pragma once
// What the editor window hands to its export when the user starts one: the trim fields, the
// crop, turn and mirror state, the audio track, the effect panel's share and the side panels'
// shares (subtitle, level of the video's own sound, watermark and music steps).
#include "editor/export_run/export_edits.h"

class EditVideoWindowController;

namespace kestrel::editor {

class KxfxView;

// effectPanel may be null (no effects, no colour change).
ExportEdits exportEditsFromWindow(EditVideoWindowController& window, const KxfxView* effectPanel);

}  // namespace kestrel::editor

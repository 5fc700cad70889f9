#pragma once
// The editor window's edit state, gathered from where the window keeps each share: the trim
// fields and bar, the crop, turn and mirror state, the audio-track pop-up, the effect panel and
// the side panels (watermarks, subtitle, music).
#include "session/edit/edit_state.h"

class EditVideoWindowController;

namespace kestrel::editor {

class KxfxView;

// One group of trim fields: hours, minutes, seconds and milliseconds as typed.
struct TrimFields {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int millis = 0;

    // (ms / 1000 + h × 3600 + m × 60 + s) × 1,000,000, in double as the fields are read.
    double microseconds() const;
};

// effectPanel may be null (no effects, no colour change).
session::EditState editStateFromWindow(EditVideoWindowController& window, const KxfxView* effectPanel);

}  // namespace kestrel::editor

#pragma once
// The two places an edit state takes effect, side by side so that they cannot drift apart: the
// preview player and a convert job of the export. Both apply the picture settings the engines'
// one way (turns, flips, crop, colour, effects, watermarks, subtitle) with the rotation rule of
// edit_state.h, and both take watermarks, subtitle and music from the same records.
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <utility>

#include "model/simple_data.h"
#include "session/edit/edit_state.h"
#include "session/export/output_choice.h"

namespace kestrel::player {
class DIVuverIzizud;
}

namespace kestrel::session {

// ---- Preview ----

// What a change touched; a panel re-applies only its share, the window everything.
enum PreviewPart : unsigned {
    kPreviewPicture = 1u << 0,     // turns and flips (the crop is the overlay's box, not the player's)
    kPreviewColour = 1u << 1,      // brightness, contrast, saturation, effects, magic enhance
    kPreviewSpeed = 1u << 2,
    kPreviewWatermarks = 1u << 3,
    kPreviewSubtitle = 1u << 4,
    kPreviewMusic = 1u << 5,
    kPreviewSound = 1u << 6,       // audio track, levels, the video's own sound on or off
    kPreviewAll = (1u << 7) - 1,
};

struct PreviewContext {
    // The watermark the overlay shows while it is edited (-1: none): the player leaves it out.
    int skipWatermarkIndex = -1;
};

// Applies the parts of the state to the player; a paused player redraws its frame. The music mix
// is rebuilt with a playing preview paused meanwhile. source: the open file's record (its size
// places the watermarks). Nothing without a player.
void applyToPreview(kestrel::player::DIVuverIzizud* player, const EditState& state, const kestrel::model::SimpleData& source,
                    unsigned parts = kPreviewAll, const PreviewContext& context = {});

// ---- Export ----

// The cut to send: nothing (the whole file) or a range in source µs.
using SourceCut = std::optional<std::pair<int64_t, int64_t>>;

struct ConvertSetup {
    bool ok = true;
    int32_t code = 1;      // the failing engine result
    QString messageKey;    // a localised message instead of the code, when set
};

// Configures a created convert job, input set, in the engine's fixed order: the output choice,
// audio track and level, subtitle, effects and colour, cut, speed, crop, flips, rotation,
// watermarks and music. The output path and the start are the caller's.
ConvertSetup configureConvert(void* job, const EditState& state, const kestrel::model::SimpleData& source,
                              const OutputChoice& choice, const SourceCut& cut);

// The stream index of the chosen audio track: the pop-up position mapped through the record's
// audio streams when it has any.
int32_t audioStreamIndexFor(const kestrel::model::SimpleData& record, int popUpIndex);

// The frame the watermark rectangles are fractions of: the source turned as the user turned it.
QSizeF watermarkFrame(const EditState& state, const kestrel::model::SimpleData& source);

}  // namespace kestrel::session

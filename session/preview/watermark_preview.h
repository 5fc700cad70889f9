#pragma once
// Draws the checked watermarks on the preview player, each during its own time window.
#include <QList>
#include <QSizeF>

#include "model/water_param.h"

namespace kestrel::player {
class DIVuverIzizud;
}

namespace kestrel::session {

// Rebuilds the player's watermark set from scratch. skipIndex names the watermark the overlay
// shows while it is edited (-1: none). videoSize is the frame the fractions refer to. Returns how
// many watermarks the player took. The current frame is redrawn when the player is paused.
int refreshPlayerWaterMark(kestrel::player::DIVuverIzizud* player, const QList<kestrel::model::WaterParam>& list,
                           int skipIndex, const QSizeF& videoSize);

}  // namespace kestrel::session

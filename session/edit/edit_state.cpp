#include "session/edit/edit_state.h"

#include "engine/core/effect_chains.h"

namespace kestrel::session {

int32_t EditState::userAngleDegrees() const { return ((quarterTurns % 4) + 4) % 4 * 90; }

void EditState::setUserAngleDegrees(int32_t degrees) { quarterTurns = (((degrees / 90) % 4) + 4) % 4; }

QList<int32_t> EditState::effectsToApply() const {
    QList<int32_t> ids = effectIds;
    if (magicEnhance) ids.append(kestrel::engine::kMagicEnhanceEffect);
    return ids;
}

bool EditState::hasCheckedMusic() const {
    for (const kestrel::model::MusicInfo& info : music)
        if (info.isCheck) return true;
    return false;
}

int32_t previewRotationDegrees(const EditState& state) { return state.userAngleDegrees(); }

int32_t exportRotationDegrees(const EditState& state, int32_t sourceTagDegrees) {
    return (state.userAngleDegrees() + sourceTagDegrees) % 360;
}

void turnedFrameSize(const EditState& state, int32_t sourceWidth, int32_t sourceHeight, int32_t* width, int32_t* height) {
    const bool sideways = state.quarterTurns % 2 != 0;
    *width = sideways ? sourceHeight : sourceWidth;
    *height = sideways ? sourceWidth : sourceHeight;
}

}  // namespace kestrel::session

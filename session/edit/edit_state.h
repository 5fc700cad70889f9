#pragma once
// Every edit the user made to one input file, as one value: the editor's panels change it, and
// the bindings (session/edit/edit_bindings.h) apply the same value to the preview player and to the
// export's convert jobs, so what is previewed is what is exported. A copy taken when an export
// starts is not touched by later edits.
#include <QList>
#include <cstdint>

#include "model/crop_rect.h"
#include "model/music_info.h"
#include "model/subtitle_param.h"
#include "model/water_param.h"

namespace kestrel::session {

struct EditState {
    // ---- Trim ----
    int64_t trimStart_us = 0;        // source time
    int64_t trimStop_us = 0;         // 0 with trimStart_us 0: the whole file
    bool removeSelectedPart = false; // keep what lies outside the range instead of the range

    // ---- Picture (applied in this order: turns, flips, crop; decision of the engines) ----
    int32_t quarterTurns = 0;        // the user's clockwise quarter turns, 0..3
    bool hFlip = false;              // mirrored left to right, in the turned picture's frame
    bool vFlip = false;
    kestrel::model::RECT cropMargins; // pixels cut from each side of the turned, mirrored picture
    bool keepAspectRatio = false;    // the crop tool's aspect lock; also the output size rule
    int32_t brightness = 0;          // -100..100 as the effect panel's fields hold them
    int32_t contrast = 0;
    int32_t saturation = 0;
    QList<int32_t> effectIds;        // checked effects in list order
    bool magicEnhance = false;       // applied after the listed effects

    // ---- Time ----
    double speed = 1.0;

    // ---- Overlays ----
    QList<kestrel::model::WaterParam> watermarks;  // the checked ones are drawn
    kestrel::model::SubtitleParam subtitle;        // no path: no subtitle

    // ---- Sound ----
    int32_t audioStreamIndex = -1;   // the engine's index of the chosen audio stream; -1 the default
    double previewVolume = 1.0;      // the player bar's level, 0..2: preview only
    double originalVolume = 1.0;     // level of the video's own sound, preview and export
    QList<kestrel::model::MusicInfo> music;  // the checked items are mixed in
    bool removeOriginalSound = false;

    bool hasTrimRange() const { return trimStop_us > trimStart_us; }
    bool hasCrop() const {
        return cropMargins.left != 0 || cropMargins.top != 0 || cropMargins.right != 0 || cropMargins.bottom != 0;
    }
    // The user's turn in degrees, 0, 90, 180 or 270.
    int32_t userAngleDegrees() const;
    // Sets the turn from degrees (any multiple of 90, negative ones included).
    void setUserAngleDegrees(int32_t degrees);
    // Effects the preview and the export stack, in order: the checked list, then magic enhance.
    QList<int32_t> effectsToApply() const;
    bool hasCheckedMusic() const;

    bool operator==(const EditState&) const = default;
};

// The rotation rule, in one place. The preview player shows the source upright (its rotation tag
// applied) and takes only the user's turn; the convert job applies exactly the angle it is given
// and writes no tag, so it gets the user's turn plus the source's tag.
int32_t previewRotationDegrees(const EditState& state);
int32_t exportRotationDegrees(const EditState& state, int32_t sourceTagDegrees);

// Width and height of the picture the user sees for a source of that upright size: exchanged
// for a quarter or three-quarter turn.
void turnedFrameSize(const EditState& state, int32_t sourceWidth, int32_t sourceHeight, int32_t* width, int32_t* height);

}  // namespace kestrel::session

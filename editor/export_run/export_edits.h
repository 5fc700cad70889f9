#pragma once
// What the editor window holds when the user starts an export: the trim fields, the picture
// settings of the crop and rotate tools, the panels' shares (effects, colour, subtitle, audio
// track, music) and a hook for the watermark step. The export copies the record's share into the
// job record and configures the convert job from both.
#include <QList>
#include <QRectF>
#include <QStringList>
#include <functional>

#include "model/simple_data.h"

namespace kestrel::editor {

// One group of trim fields: hours, minutes, seconds and milliseconds as typed.
struct TrimFields {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int millis = 0;

    // (ms / 1000 + h × 3600 + m × 60 + s) × 1,000,000, in double as the fields are read.
    double microseconds() const;
};

struct EffectChoice {
    int32_t effectId = 0;
    bool isCheck = false;
};

// Adds the checked watermarks to a convert job placed on a frame of that size (the turned,
// uncropped source); pictures it writes for the job are listed in writtenFiles, removed once
// the export has ended.
using WatermarkStep = std::function<void(void* job, int frameWidth, int frameHeight, QStringList* writtenFiles)>;
// Adds the background music (and drops the video's own sound when asked); 1 when nothing was
// to be done, below 1 when the job refused it.
using MusicStep = std::function<int(void* job)>;

struct ExportEdits {
    TrimFields start, stop;
    QRectF clipRect;                 // crop in video pixels; zero = none
    kestrel::model::RECT convertCropSize;
    int32_t rotateAngle = 0;         // the user's quarter turns, degrees
    bool keepAspectratio = false;
    int32_t brightness = 0, contrast = 0, saturation = 0;  // the panel's value fields
    double volume = 1.0;
    int32_t hFlip = 0, vFlip = 0;
    QList<EffectChoice> effects;     // the effect list in its order
    bool magicEnhance = false;
    kestrel::model::SubtitleParam subtitle;   // the subtitle panel's parameter (its chosen colour applied)
    bool inverseSelection = false;   // the trim bar keeps what lies outside the range
    int audioTrackIndex = 0;         // selected item of the audio-track pop-up
    double originalVolume = 1.0;     // the music panel's level of the video's own sound
    bool hasMusicItems = false;      // music editing is enabled again after the export
    WatermarkStep addWatermarks;     // steps of the panels that have them; empty: skipped
    MusicStep addMusic;
};

// Writes the edits into the job record when the range's stop lies after its start; otherwise
// the record keeps its earlier values. Returns whether it wrote.
bool applyEditsToRecord(const ExportEdits& edits, kestrel::model::SimpleData& record);

// Identifiers of the checked effects in list order, then magic enhance when it is on.
QList<int32_t> effectIdsToApply(const ExportEdits& edits);

}  // namespace kestrel::editor

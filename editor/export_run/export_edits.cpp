#include "editor/export_run/export_edits.h"

#include "engine/core/effect_chains.h"

namespace kestrel::editor {

double TrimFields::microseconds() const {
    return (millis / 1000.0 + (hours * 3600.0 + minutes * 60.0 + seconds)) * 1000000.0;
}

bool applyEditsToRecord(const ExportEdits& edits, kestrel::model::SimpleData& record) {
    const double start_us = edits.start.microseconds();
    const double stop_us = edits.stop.microseconds();
    if (!(stop_us > start_us)) return false;
    record.cutTimeRange_start = static_cast<int64_t>(start_us);
    record.cutTimeRange_stop = static_cast<int64_t>(stop_us);
    record.clipRect = edits.clipRect;
    record.convertCropSize = edits.convertCropSize;
    record.convertRateAngle = edits.rotateAngle;
    record.keepAspectratio = edits.keepAspectratio;
    record.brightness = edits.brightness;
    record.contrast = edits.contrast;
    record.saturation = edits.saturation;
    record.volume = edits.volume;
    record.vFlip = edits.vFlip;
    record.hFlip = edits.hFlip;
    record.effectTypes.clear();
    for (const EffectChoice& effect : edits.effects) record.effectTypes.append(effect.effectId);
    record.subtitleParam = edits.subtitle;
    record.isTrimFanxuan = edits.inverseSelection;
    return true;
}

QList<int32_t> effectIdsToApply(const ExportEdits& edits) {
    QList<int32_t> ids;
    for (const EffectChoice& effect : edits.effects)
        if (effect.isCheck) ids.append(effect.effectId);
    if (edits.magicEnhance) ids.append(kestrel::engine::kMagicEnhanceEffect);
    return ids;
}

}  // namespace kestrel::editor

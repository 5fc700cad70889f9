#include "session/edit/edit_bindings.h"

#include "engine/mediacore/media_core.h"
#include "engine/player/DIVuverIzizud.h"
#include "session/edit/music_mix.h"
#include "session/edit/subtitle_record.h"
#include "session/edit/watermark_drawing.h"
#include "session/export/editor/watermark_export.h"
#include "session/jobs/engine_outcome.h"
#include "session/preview/draw_text_callback.h"
#include "session/preview/preview_callbacks.h"
#include "session/preview/watermark_preview.h"

namespace kestrel::session {

QSizeF watermarkFrame(const EditState& state, const kestrel::model::SimpleData& source) {
    int32_t width = 0, height = 0;
    turnedFrameSize(state, source.sourceData.width, source.sourceData.height, &width, &height);
    return QSizeF(width, height);
}

int32_t audioStreamIndexFor(const kestrel::model::SimpleData& record, int popUpIndex) {
    if (record.audioStreamInfos.isEmpty()) return popUpIndex;
    if (popUpIndex < 0 || popUpIndex >= record.audioStreamInfos.size()) return -1;  // the default stream
    return record.audioStreamInfos.at(popUpIndex).index;
}

void applyToPreview(kestrel::player::DIVuverIzizud* player, const EditState& state, const kestrel::model::SimpleData& source,
                    unsigned parts, const PreviewContext& context) {
    if (!player) return;
    if (parts & kPreviewPicture) {
        player->SetRotateAngle(previewRotationDegrees(state));
        player->SetHFlip(state.hFlip ? 1 : 0);
        player->SetVFlip(state.vFlip ? 1 : 0);
    }
    if (parts & kPreviewColour) {
        player->SetBCS(state.brightness, state.contrast, state.saturation);
        player->ClearImageEffect();
        for (int32_t id : state.effectsToApply()) player->AddImageEffect(id);
    }
    if (parts & kPreviewSpeed) player->SetSpeed(state.speed > 0 ? state.speed : 1.0);
    if (parts & kPreviewSound) {
        if (state.audioStreamIndex >= 0) player->SetAudioIndex(state.audioStreamIndex);
        player->SetVolume(state.previewVolume);
        player->SetMainAudioVolume(state.originalVolume);
        player->DisableMainAudio(state.removeOriginalSound);
    }
    if (parts & kPreviewSubtitle) {
        // An empty path gives the record that removes the subtitle.
        if (const std::optional<SubtitleRecord> record = makeSubtitleRecord(state.subtitle)) player->SetSubtitle(*record);
    }
    if (parts & kPreviewWatermarks) {
        player->SetDrawTextCallback(&PreviewDrawTextCallback);
        player->SetLoadImageCallback(&PreviewLoadImageCallback);
        QSizeF frame = watermarkFrame(state, source);
        if (frame.isEmpty()) frame = QSizeF(player->frameWidth(), player->frameHeight());  // a record not probed
        refreshPlayerWaterMark(player, state.watermarks, context.skipWatermarkIndex, frame);
    }
    // The music sits on the preview's time line, which the speed stretches.
    if ((parts & kPreviewMusic) || ((parts & kPreviewSpeed) && state.hasCheckedMusic()))
        addDubbingWithPlayer(player, state.music, state.removeOriginalSound, state.speed);
    if (player->playerStatus() != 1) player->Refresh();
}

ConvertSetup configureConvert(void* job, const EditState& state, const kestrel::model::SimpleData& source,
                              const OutputChoice& choice, const SourceCut& cut) {
    auto failed = [](int32_t code) { return ConvertSetup{false, code, QString()}; };
    int32_t rc = 1;
    if (!accepted(rc = applyOutputChoice(job, choice))) return failed(rc);
    apiMediaConvertSetAudioIndex(job, state.audioStreamIndex);
    apiMediaConvertSetMaineAudioVolume(job, state.originalVolume);

    if (!state.subtitle.subtitlePath.isEmpty()) {
        const std::optional<SubtitleRecord> subtitle = makeSubtitleRecord(state.subtitle);
        if (!subtitle) return ConvertSetup{false, 0, QStringLiteral("SubtitlePathTooLongMessage")};
        if (!accepted(rc = apiMediaConvertSetSubtitle(job, *subtitle))) return failed(rc);
    }
    for (int32_t id : state.effectsToApply())
        if (!accepted(rc = apiMediaConvertAddImageEffect(job, id))) return failed(rc);
    if (!accepted(rc = apiMediaConvertAdjustBCS(job, state.brightness, state.contrast, state.saturation))) return failed(rc);
    if (cut && !accepted(rc = apiMediaConvertSetCutTime(job, cut->first, cut->second))) return failed(rc);
    if (!accepted(rc = apiMediaConvertSetSpeed(job, state.speed > 0 ? state.speed : 1.0))) return failed(rc);
    if (state.hasCrop()) {
        const MediaRect margins{state.cropMargins.left, state.cropMargins.top, state.cropMargins.right,
                                state.cropMargins.bottom};
        if (!accepted(rc = apiMediaConvertSetCropSize(job, margins))) return failed(rc);
    }
    apiMediaConvertHFlipStatus(job, state.hFlip ? 1 : 0);
    apiMediaConvertVFlipStatus(job, state.vFlip ? 1 : 0);
    if (!accepted(rc = apiMediaConvertSetRotateAngle(job, exportRotationDegrees(state, source.sourceData.angle))))
        return failed(rc);

    if (!state.watermarks.isEmpty()) {
        const QSizeF frame = watermarkFrame(state, source);
        // Every checked watermark with something to draw must be taken: a file without one is not
        // what the preview showed.
        int drawable = 0;
        for (const kestrel::model::WaterParam& mark : state.watermarks)
            if (watermarkDrawingOf(mark) != WatermarkDrawing::Nothing) ++drawable;
        if (addConvertWaterMark(job, state.watermarks, int(frame.width()), int(frame.height())) < drawable)
            return ConvertSetup{false, 0, QStringLiteral("WatermarkRefusedMessage")};
    }
    // The music of the source range this convert writes, on its own output's time line.
    const OutputSpan span{cut ? cut->first / 1e6 : 0.0, cut ? cut->second / 1e6 : double(source.sourceData.duration),
                          state.speed > 0 ? state.speed : 1.0};
    if (!accepted(addDubbingMusic(job, state.music, state.removeOriginalSound, span)))
        return ConvertSetup{false, 0, QStringLiteral("showmessageTime7")};
    return ConvertSetup{};
}

}  // namespace kestrel::session

#include "editor/export_run/convert_job_setup.h"

#include "editor/export_run/export_edits.h"
#include "engine/mediacore/media_core.h"
#include "editor/subtitle/subtitle_record.h"
#include "editor/watermark/watermark_export.h"

#include <QSize>

namespace kestrel::editor {
namespace {

constexpr int kOk = 1;

}  // namespace

int32_t audioStreamIndexFor(const kestrel::model::SimpleData& record, int popUpIndex) {
    if (record.audioStreamInfos.isEmpty()) return popUpIndex;
    if (popUpIndex < 0 || popUpIndex >= record.audioStreamInfos.size()) return -1;  // the default stream
    return record.audioStreamInfos.at(popUpIndex).index;
}

SetupOutcome configureConvertJob(void* job, const kestrel::model::SimpleData& record, const session::OutputChoice& choice,
                                 const ExportEdits& edits, const CutRange& cut, QStringList* writtenFiles) {
    auto failed = [](int code) { return SetupOutcome{false, code, QString()}; };
    int32_t rc = kOk;
    if ((rc = session::applyOutputChoice(job, choice)) < kOk) return failed(rc);
    apiMediaConvertSetAudioIndex(job, audioStreamIndexFor(record, edits.audioTrackIndex));
    apiMediaConvertSetMaineAudioVolume(job, edits.originalVolume);

    if (!record.subtitleParam.subtitlePath.isEmpty()) {
        const std::optional<SubtitleRecord> subtitle = makeSubtitleRecord(record.subtitleParam);
        if (!subtitle) return SetupOutcome{false, 0, QStringLiteral("SubtitlePathTooLongMessage")};
        if ((rc = apiMediaConvertSetSubtitle(job, *subtitle)) < kOk) return failed(rc);
    }
    for (int32_t id : effectIdsToApply(edits))
        if ((rc = apiMediaConvertAddImageEffect(job, id)) < kOk) return failed(rc);
    if ((rc = apiMediaConvertAdjustBCS(job, record.brightness, record.contrast, record.saturation)) < kOk)
        return failed(rc);
    if (cut && (rc = apiMediaConvertSetCutTime(job, cut->first, cut->second)) < kOk) return failed(rc);
    if ((rc = apiMediaConvertSetSpeed(job, static_cast<double>(record.speed))) < kOk) return failed(rc);
    if (!record.clipRect.isNull()) {
        const MediaRect margins{record.convertCropSize.left, record.convertCropSize.top, record.convertCropSize.right,
                                record.convertCropSize.bottom};
        if ((rc = apiMediaConvertSetCropSize(job, margins)) < kOk) return failed(rc);
    }
    apiMediaConvertHFlipStatus(job, record.hFlip);
    apiMediaConvertVFlipStatus(job, record.vFlip);
    if ((rc = apiMediaConvertSetRotateAngle(job, record.convertRateAngle + record.sourceData.angle)) < kOk)
        return failed(rc);

    if (edits.addWatermarks) {
        const QSize frame =
            watermarkFrameSize(record.sourceData.width, record.sourceData.height, record.convertRateAngle);
        edits.addWatermarks(job, frame.width(), frame.height(), writtenFiles);
    }
    if (edits.addMusic && edits.addMusic(job) < kOk)
        return SetupOutcome{false, 0, QStringLiteral("showmessageTime7")};
    return SetupOutcome{};
}

}  // namespace kestrel::editor

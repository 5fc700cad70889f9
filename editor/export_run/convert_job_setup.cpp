#include "editor/export_run/convert_job_setup.h"

#include "editor/export_run/export_edits.h"
#include "engine/mediacore/media_core.h"
#include "services/help_class.h"

#include <QByteArray>
#include <cstring>

namespace editor {
namespace {

constexpr int kOk = 1;

bool copyField(char* field, size_t size, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    if (static_cast<size_t>(bytes.size()) >= size) return false;
    std::memcpy(field, bytes.constData(), static_cast<size_t>(bytes.size()));
    field[bytes.size()] = '\0';
    return true;
}

int64_t microsecondsOf(float seconds) { return static_cast<int64_t>(static_cast<double>(seconds) * 1000000.0); }

}  // namespace

std::optional<SubtitleRecord> subtitleRecordFor(const model::SubtitleParam& param) {
    SubtitleRecord record;
    std::memset(&record, 0, sizeof record);
    if (!copyField(record.path, sizeof record.path, param.subtitlePath)) return std::nullopt;
    if (!copyField(record.font_path, sizeof record.font_path, param.fontPath)) return std::nullopt;
    record.position = param.positon;
    record.font_size = param.fontSize;
    record.shadow = param.shadow;
    record.colour = services::HelpClass::retDwordColorVolue(param.fontColor);
    record.shadow_colour = record.colour;
    return record;
}

int32_t audioStreamIndexFor(const model::SimpleData& record, int popUpIndex) {
    if (record.audioStreamInfos.isEmpty()) return popUpIndex;
    if (popUpIndex < 0 || popUpIndex >= record.audioStreamInfos.size()) return -1;  // the default stream
    return record.audioStreamInfos.at(popUpIndex).index;
}

int32_t addDubbingMusic(void* job, const ExportEdits& edits) {
    int32_t result = 1;
    for (const model::MusicInfo& music : edits.musicList) {
        if (!music.isCheck) continue;
        const float timelineStart = music.positionStart;
        float timelineEnd = music.positionEnd;
        if (music.positionEnd - music.positionStart > music.pruneDuration && !music.repeat)
            timelineEnd = music.positionStart + music.pruneDuration;
        float sourceStart = 0;
        float sourceEnd = 0;
        if (music.prune) {
            sourceStart = music.pruneStart;
            sourceEnd = music.pruneStart + music.pruneDuration;
        } else {
            sourceEnd = std::min(music.duration, music.positionEnd - music.positionStart);
        }
        const QByteArray path = music.path.toUtf8();
        result = apiMediaConvertAddDubbingMusic(job, path.constData(), microsecondsOf(sourceStart),
                                                microsecondsOf(sourceEnd), microsecondsOf(timelineStart),
                                                microsecondsOf(timelineEnd), music.fadeIn ? 1000000 : 0,
                                                music.fadeOut ? 1000000 : 0, static_cast<double>(music.volume));
        if (result < 0) break;
    }
    if (edits.removeOriginalSound) apiMediaConvertDisableMainAudio(job);
    return result;
}

SetupOutcome configureConvertJob(void* job, const model::SimpleData& record, const ConvertChoice& choice,
                                 const ExportEdits& edits, const CutRange& cut) {
    auto failed = [](int code) { return SetupOutcome{false, code, QString()}; };
    int32_t rc = kOk;
    if (!choice.vcodec.isEmpty() && (rc = apiMediaConvertSetVcodec(job, choice.vcodec.toUtf8().constData())) < kOk)
        return failed(rc);
    if (choice.hasFrameSize() && (rc = apiMediaConvertSetVideoFrameSize(job, choice.width, choice.height)) < kOk)
        return failed(rc);
    if (choice.videoKbps > 0 && (rc = apiMediaConvertSetVideoBitrate(job, choice.videoKbps)) < kOk) return failed(rc);
    if (choice.fps > 0 && (rc = apiMediaConvertSetVideoFps(job, choice.fps)) < kOk) return failed(rc);
    if (!choice.acodec.isEmpty() && (rc = apiMediaConvertSetAcodec(job, choice.acodec.toUtf8().constData())) < kOk)
        return failed(rc);
    if (choice.audioKbps > 0 && (rc = apiMediaConvertSetAudioBitrate(job, choice.audioKbps)) < kOk) return failed(rc);
    if ((choice.channels != 0 || choice.sampleRate != 0) &&
        (rc = apiMediaConvertSetAudioEncodeContext(job, choice.channels, choice.sampleRate)) < kOk)
        return failed(rc);
    apiMediaConvertSetAudioIndex(job, audioStreamIndexFor(record, edits.audioTrackIndex));
    apiMediaConvertSetMaineAudioVolume(job, edits.originalVolume);

    if (!record.subtitleParam.subtitlePath.isEmpty()) {
        const std::optional<SubtitleRecord> subtitle = subtitleRecordFor(record.subtitleParam);
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
        const bool quarter = record.convertRateAngle % 180 != 0;
        const int width = quarter ? record.sourceData.height : record.sourceData.width;
        const int height = quarter ? record.sourceData.width : record.sourceData.height;
        edits.addWatermarks(job, width, height, record.cutTimeRange_start, record.cutTimeRange_stop);
    }
    if (addDubbingMusic(job, edits) < kOk) return SetupOutcome{false, 0, QStringLiteral("showmessageTime7")};
    return SetupOutcome{};
}

}  // namespace editor

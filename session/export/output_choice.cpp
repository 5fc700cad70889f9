#include "session/export/output_choice.h"

#include "engine/mediacore/media_core.h"
#include "export/profiles/profile_choice.h"
#include "export/profiles/target_properties.h"
#include "platform/user_defaults.h"

#include <optional>

namespace kestrel::session {
namespace {

std::optional<QString> usable(const std::optional<QString>& title) {
    if (!title || title->isEmpty() || *title == QLatin1String(" ")) return std::nullopt;
    return title;
}

// Codec titles may carry blanks around the name; the engine wants the bare name.
QString codecName(const std::optional<QString>& title) {
    const std::optional<QString> value = usable(title);
    return value ? value->trimmed() : QString();
}

}  // namespace

void frameSizeForTitle(const QString& title, const kestrel::model::SimpleData& record, int* width, int* height) {
    if (title == exportkit::kCustomValue) {
        *width = record.targetData.width;
        *height = record.targetData.height;
        const platform::UserDefaults& defaults = platform::UserDefaults::standard();
        const int customWidth = static_cast<int>(defaults.stringForKey(exportkit::kCustomWidthKey).toLongLong());
        const int customHeight = static_cast<int>(defaults.stringForKey(exportkit::kCustomHeightKey).toLongLong());
        if (customWidth > 0) *width = customWidth;
        if (customHeight > 0) *height = customHeight;
        return;
    }
    const QStringList pieces = title.split(QLatin1Char('x'));
    *width = exportkit::leadingInt(pieces.first());
    *height = exportkit::leadingInt(pieces.last());
}

OutputChoice readOutputChoice(const exportkit::ChoiceKeys& keys, const kestrel::model::SimpleData& record,
                              FrameSizeRule rule) {
    exportkit::ProfileChoice stored;
    stored.loadStored(keys);

    OutputChoice choice;
    choice.vcodec = codecName(stored.vcodec);
    if (record.keepAspectratio) {
        if (rule == FrameSizeRule::RemovePart) {
            choice.width = record.targetData.width;
            choice.height = record.targetData.height;
        }
    } else if (const std::optional<QString> size = usable(stored.resolution)) {
        frameSizeForTitle(*size, record, &choice.width, &choice.height);
    }
    if (const std::optional<QString> rate = usable(stored.bitrate)) choice.videoKbps = exportkit::leadingInt(*rate);
    if (const std::optional<QString> fps = usable(stored.framerate)) choice.fps = exportkit::leadingDouble(*fps);
    choice.acodec = codecName(stored.acodec);
    if (const std::optional<QString> rate = usable(stored.abitrate)) choice.audioKbps = exportkit::leadingInt(*rate);
    choice.channels = exportkit::channelCount(usable(stored.achannel));
    if (const std::optional<QString> hz = usable(stored.asamplerate)) choice.sampleRate = exportkit::leadingInt(*hz);
    return choice;
}

OutputChoice readEditorOutputChoice(const kestrel::model::SimpleData& record, FrameSizeRule rule) {
    return readOutputChoice(exportkit::ChoiceKeys::editor(), record, rule);
}

int32_t applyOutputChoice(void* job, const OutputChoice& choice) {
    int32_t rc = 1;
    if (choice.reencode && (rc = apiMediaConvertSetForceEncode(job, 1)) < 1) return rc;
    if (!choice.vcodec.isEmpty() && (rc = apiMediaConvertSetVcodec(job, choice.vcodec.toUtf8().constData())) < 1)
        return rc;
    if (choice.hasFrameSize() && (rc = apiMediaConvertSetVideoFrameSize(job, choice.width, choice.height)) < 1)
        return rc;
    if (choice.videoKbps > 0 && (rc = apiMediaConvertSetVideoBitrate(job, choice.videoKbps)) < 1) return rc;
    if (choice.fps > 0 && (rc = apiMediaConvertSetVideoFps(job, choice.fps)) < 1) return rc;
    if (!choice.acodec.isEmpty() && (rc = apiMediaConvertSetAcodec(job, choice.acodec.toUtf8().constData())) < 1)
        return rc;
    if (choice.audioKbps > 0 && (rc = apiMediaConvertSetAudioBitrate(job, choice.audioKbps)) < 1) return rc;
    if ((choice.channels != 0 || choice.sampleRate != 0) &&
        (rc = apiMediaConvertSetAudioEncodeContext(job, choice.channels, choice.sampleRate)) < 1)
        return rc;
    return 1;
}

}  // namespace kestrel::session

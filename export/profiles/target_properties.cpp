#include "export/profiles/target_properties.h"

#include "platform/user_defaults.h"

#include <QRegularExpression>

namespace exportkit {
namespace {

bool isSet(const std::optional<QString>& value) { return value && *value != QLatin1String(" "); }

std::optional<QString> stored(const QString& key) {
    auto& defaults = platform::UserDefaults::standard();
    if (!defaults.hasKey(key)) return std::nullopt;
    return defaults.stringForKey(key);
}

void writeSize(const std::optional<QString>& resolution, const MediaProperties& source, MediaProperties& target) {
    const QStringList pieces = resolution.value_or(QString()).split(QLatin1Char('x'));
    const int width = leadingInt(pieces.first());
    const int height = leadingInt(pieces.last());
    target.width = width != 0 ? width : source.width;
    target.height = height != 0 ? height : source.height;
}

float sizeEstimate(float duration, double audioKbps, int videoKbps) {
    return static_cast<float>(duration * (audioKbps + videoKbps) * 0.125);
}

void frameSizeChange(ProfileChoice& choice, const ChoiceKeys& keys, const MediaProperties& source,
                     MediaProperties& target) {
    auto& defaults = platform::UserDefaults::standard();
    if (stored(keys.resolution) == kCustomValue) {
        const qint64 width = defaults.integerForKey(kCustomWidthKey);
        const qint64 height = defaults.integerForKey(kCustomHeightKey);
        choice.resolution = QStringLiteral("%1x%2").arg(width > 0 ? width : target.width).arg(height > 0 ? height : target.height);
    } else {
        // The custom size is shared by the editor and the joiner: it goes only when the other
        // window does not use it either (else that window would lose its size without a word).
        const ChoiceKeys& other = keys.joinner ? ChoiceKeys::editor() : ChoiceKeys::joiner();
        if (stored(other.resolution) != kCustomValue) {
            defaults.removeObjectForKey(kCustomWidthKey);
            defaults.removeObjectForKey(kCustomHeightKey);
        }
        choice.resolution = stored(keys.resolution);
    }
    writeSize(choice.resolution, source, target);
}

void videoBitrateChange(ProfileChoice& choice, const ChoiceKeys& keys, const MediaProperties& source,
                        MediaProperties& target) {
    const std::optional<QString> title = stored(keys.bitrate);
    if (title == kCustomValue)
        choice.bitrate = QStringLiteral("%1 kbps").arg(platform::UserDefaults::standard().integerForKey(kCustomBitrateKey));
    else
        choice.bitrate = title;
    choice.abitrate = stored(keys.abitrate);
    const int kbps = leadingInt(choice.bitrate.value_or(QString()));
    if (kbps != 0) target.bitrate = kbps;
    target.fileSize = sizeEstimate(source.duration, leadingDouble(choice.abitrate.value_or(QString())), target.bitrate);
}

void sampleRateChange(ProfileChoice& choice, const ChoiceKeys& keys, const MediaProperties& source,
                      MediaProperties& target) {
    choice.asamplerate = stored(keys.asamplerate);
    const int hz = leadingInt(choice.asamplerate.value_or(QString()));
    target.a_samplerate = hz != 0 ? hz : source.a_samplerate;
}

void audioBitrateChange(ProfileChoice& choice, const ChoiceKeys& keys, const MediaProperties& source,
                        MediaProperties& target) {
    choice.abitrate = stored(keys.abitrate);
    const int kbps = static_cast<int>(leadingDouble(choice.abitrate.value_or(QString())));
    if (kbps != 0) target.a_bitrate = kbps;
    target.fileSize = sizeEstimate(source.duration, target.a_bitrate, target.bitrate);
}

}  // namespace

int leadingInt(const QString& text) { return static_cast<int>(leadingDouble(text)); }

double leadingDouble(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?(\\d+(\\.\\d*)?|\\.\\d+)"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(0).trimmed().toDouble() : 0.0;
}

int channelCount(const std::optional<QString>& title) {
    if (!isSet(title)) return 0;
    QString text = *title;
    const qsizetype stereo = text.indexOf(QLatin1String("(Stereo)"));
    if (stereo >= 0) text.truncate(stereo);
    return leadingInt(text);
}

void writeTargetFromChoice(const ProfileChoice& choice, bool audioCategory, const MediaProperties& source,
                           MediaProperties& target) {
    if (!audioCategory) {
        writeSize(choice.resolution, source, target);
        const int kbps = leadingInt(choice.bitrate.value_or(QString()));
        target.bitrate = kbps != 0 ? kbps : source.bitrate;
        target.fps = leadingDouble(choice.framerate.value_or(QString()));
        target.metadata_vcodec = isSet(choice.vcodec) ? *choice.vcodec : source.metadata_vcodec;
    }
    target.extension = isSet(choice.extName) ? *choice.extName : source.extension;
    target.a_codec = isSet(choice.acodec) ? *choice.acodec : source.a_codec;
    const int channels = channelCount(choice.achannel);
    target.a_channel = channels != 0 ? channels : source.a_channel;
    const int audioKbps = leadingInt(choice.abitrate.value_or(QString()));
    target.a_bitrate = audioKbps != 0 ? audioKbps : source.a_bitrate;
    target.fileSize = sizeEstimate(target.duration, target.a_bitrate, target.bitrate);
}

void applySettingChange(int flag, ProfileChoice& choice, const ChoiceKeys& keys, const MediaProperties& source,
                        MediaProperties& target) {
    switch (flag) {
    case kSettingVideoCodec:
        choice.vcodec = stored(keys.vcodec);
        // Kept in the choice; the export reads the codec from it.
        target.metadata_vcodec = isSet(choice.vcodec) ? *choice.vcodec : source.metadata_vcodec;
        break;
    case kSettingFrameSize:
        frameSizeChange(choice, keys, source, target);
        break;
    case kSettingFrameRate: {
        choice.framerate = stored(keys.framerate);
        const double fps = leadingDouble(choice.framerate.value_or(QString()));
        if (fps != 0) target.fps = fps;
        break;
    }
    case kSettingVideoBitrate:
        videoBitrateChange(choice, keys, source, target);
        break;
    case kSettingAudioCodec:
        choice.acodec = stored(keys.acodec);
        target.a_codec = isSet(choice.acodec) ? *choice.acodec : source.a_codec;
        break;
    case kSettingChannels: {
        choice.achannel = stored(keys.achannel);
        const int channels = channelCount(choice.achannel);
        target.a_channel = channels != 0 ? channels : source.a_channel;
        break;
    }
    case kSettingSampleRate:
        sampleRateChange(choice, keys, source, target);
        break;
    case kSettingAudioBitrate:
        audioBitrateChange(choice, keys, source, target);
        break;
    default:
        break;
    }
}

void applyAllSettings(ProfileChoice& choice, const ChoiceKeys& keys, const MediaProperties& source,
                      MediaProperties& target) {
    for (int flag : {kSettingVideoCodec, kSettingFrameSize, kSettingFrameRate, kSettingVideoBitrate, kSettingAudioCodec,
                     kSettingChannels, kSettingSampleRate, kSettingAudioBitrate})
        applySettingChange(flag, choice, keys, source, target);
    target.fileSize = sizeEstimate(source.duration, target.a_bitrate, target.bitrate);
}

}  // namespace exportkit

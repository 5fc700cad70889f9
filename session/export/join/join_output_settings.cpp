#include "session/export/join/join_output_settings.h"

#include <cmath>
#include <optional>

extern "C" {
#include <libavutil/rational.h>
}

#include "export/profiles/target_properties.h"
#include "platform/user_defaults.h"

namespace kestrel::session {
namespace {

std::optional<QString> usable(const std::optional<QString>& title) {
    if (!title) return std::nullopt;
    const QString trimmed = title->trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    return trimmed;
}

int customValue(const QString& key) {
    return static_cast<int>(platform::UserDefaults::standard().stringForKey(key).toLongLong());
}

bool quarterTurned(int32_t angle) {
    const int a = ((angle % 360) + 360) % 360;
    return a == 90 || a == 270;
}

}  // namespace

FrameRate FrameRate::fromDouble(double fps) {
    if (!std::isfinite(fps) || fps <= 0) return {};
    const AVRational q = av_d2q(fps, 1001000);
    if (q.num <= 0 || q.den <= 0) return {};
    return {q.num, q.den};
}

JoinOutputSettings joinOutputSettings(const exportkit::ProfileChoice& choice, const kestrel::model::SimpleData* reference,
                                      const kestrel::model::SimpleData* firstClip) {
    JoinOutputSettings out;
    const kestrel::model::FileData* ref = reference ? &reference->sourceData : nullptr;
    const bool refVideo = ref && ref->exist != 0 && ref->width > 0 && ref->height > 0;

    if (const auto ext = usable(choice.extName)) out.extension = *ext;
    else if (ref) out.extension = ref->extension;
    else if (firstClip) out.extension = firstClip->sourceData.extension;

    if (const auto codec = usable(choice.vcodec)) out.vcodec = *codec;
    else if (refVideo) out.vcodec = ref->metadata_vcodec;

    const auto size = usable(choice.resolution);
    if (size && *size != exportkit::kCustomValue) {
        const QStringList pieces = size->split(QLatin1Char('x'));
        out.width = exportkit::leadingInt(pieces.first());
        out.height = exportkit::leadingInt(pieces.last());
    } else {
        if (refVideo) {
            // The picture as the reference clip shows it: a quarter turn swaps its sides.
            const bool turned = quarterTurned(ref->angle);
            out.width = turned ? ref->height : ref->width;
            out.height = turned ? ref->width : ref->height;
        }
        if (size == exportkit::kCustomValue) {
            if (const int w = customValue(exportkit::kCustomWidthKey); w > 0) out.width = w;
            if (const int h = customValue(exportkit::kCustomHeightKey); h > 0) out.height = h;
        }
    }
    if (!out.hasFrameSize()) out.width = out.height = 0;

    if (const auto rate = usable(choice.framerate)) out.fps = FrameRate::fromDouble(exportkit::leadingDouble(*rate));
    else if (refVideo) out.fps = FrameRate::fromDouble(ref->fps);

    const auto bitrate = usable(choice.bitrate);
    if (bitrate && *bitrate != exportkit::kCustomValue) out.videoKbps = exportkit::leadingInt(*bitrate);
    else if (bitrate == exportkit::kCustomValue && customValue(exportkit::kCustomBitrateKey) > 0)
        out.videoKbps = customValue(exportkit::kCustomBitrateKey);
    else if (refVideo) out.videoKbps = ref->bitrate;

    const bool refAudio = ref && ref->a_exist > 0;
    if (const auto codec = usable(choice.acodec)) out.acodec = *codec;
    else if (refAudio) out.acodec = ref->a_codec;
    if (const auto rate = usable(choice.abitrate)) out.audioKbps = exportkit::leadingInt(*rate);
    else if (refAudio) out.audioKbps = ref->a_bitrate;
    out.channels = exportkit::channelCount(usable(choice.achannel));
    if (out.channels == 0 && refAudio) out.channels = ref->a_channel;
    if (const auto hz = usable(choice.asamplerate)) out.sampleRate = exportkit::leadingInt(*hz);
    else if (refAudio) out.sampleRate = ref->a_samplerate;
    return out;
}

}  // namespace kestrel::session

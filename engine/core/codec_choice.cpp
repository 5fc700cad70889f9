#include "engine/core/codec_choice.h"

#include <algorithm>
#include <cctype>

namespace kestrel::engine {

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

bool usable(const AVCodec* codec, AVMediaType type) {
    return codec && av_codec_is_encoder(codec) && codec->type == type &&
           !(codec->capabilities & (AV_CODEC_CAP_HARDWARE | AV_CODEC_CAP_EXPERIMENTAL));
}

}  // namespace

const AVCodec* findEncoder(AVCodecID id) {
    const AVCodec* first = nullptr;
    void* state = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&state)) {
        if (codec->id != id || !av_codec_is_encoder(codec)) continue;
        if (!(codec->capabilities & (AV_CODEC_CAP_HARDWARE | AV_CODEC_CAP_EXPERIMENTAL))) return codec;
        if (!first) first = codec;
    }
    return first && !(first->capabilities & AV_CODEC_CAP_HARDWARE) ? first : nullptr;
}

const AVCodec* findEncoderByName(const std::string& raw_name, AVMediaType type) {
    std::string name = lowered(raw_name);
    name.erase(0, name.find_first_not_of(" \t"));
    name.erase(name.find_last_not_of(" \t") + 1);
    if (name.empty()) return nullptr;
    if (name == "h265" || name == "x265") name = "hevc";
    if (name == "x264" || name == "avc") name = "h264";
    if (name == "mpeg-4") name = "mpeg4";
    if (const AVCodec* codec = avcodec_find_encoder_by_name(name.c_str()); usable(codec, type)) return codec;
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get_by_name(name.c_str());
    if (!descriptor || descriptor->type != type) return nullptr;
    const AVCodec* codec = findEncoder(descriptor->id);
    return codec && codec->type == type ? codec : nullptr;
}

}  // namespace kestrel::engine

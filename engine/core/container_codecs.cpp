#include "engine/core/container_codecs.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace kestrel::engine {

namespace {

std::string loweredExtension(const std::string& name) {
    auto slash = name.find_last_of('/');
    auto dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = name.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

struct MuxerCodecs {
    const char* muxer;
    std::vector<AVCodecID> codecs;
};

// Taken from what each muxer sets up without refusing; FFmpeg only reports their defaults.
const std::vector<MuxerCodecs> kMuxerCodecs = {
    {"mpeg", {AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_H264, AV_CODEC_ID_MP1, AV_CODEC_ID_MP2,
              AV_CODEC_ID_MP3, AV_CODEC_ID_AC3, AV_CODEC_ID_DTS, AV_CODEC_ID_PCM_DVD}},
    {"vob", {AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_H264, AV_CODEC_ID_MP1, AV_CODEC_ID_MP2,
             AV_CODEC_ID_MP3, AV_CODEC_ID_AC3, AV_CODEC_ID_DTS, AV_CODEC_ID_PCM_DVD}},
    {"mpegts", {AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_MPEG4, AV_CODEC_ID_H264, AV_CODEC_ID_HEVC,
                AV_CODEC_ID_MP1, AV_CODEC_ID_MP2, AV_CODEC_ID_MP3, AV_CODEC_ID_AAC, AV_CODEC_ID_AC3, AV_CODEC_ID_EAC3,
                AV_CODEC_ID_DTS, AV_CODEC_ID_OPUS}},
    {"ogg", {AV_CODEC_ID_THEORA, AV_CODEC_ID_VP8, AV_CODEC_ID_VORBIS, AV_CODEC_ID_OPUS, AV_CODEC_ID_FLAC, AV_CODEC_ID_SPEEX}},
    {"oga", {AV_CODEC_ID_VORBIS, AV_CODEC_ID_OPUS, AV_CODEC_ID_FLAC, AV_CODEC_ID_SPEEX}},
    {"mp3", {AV_CODEC_ID_MP1, AV_CODEC_ID_MP2, AV_CODEC_ID_MP3}},
};

}  // namespace

bool isAudioOnlyName(const std::string& name) {
    static const char* const kAudioTypes[] = {"mp3", "mp2", "m4a", "m4r", "aac", "wav", "flac",
                                              "ogg", "oga", "opus", "wma", "ac3"};
    const std::string ext = loweredExtension(name);
    return std::any_of(std::begin(kAudioTypes), std::end(kAudioTypes), [&](const char* t) { return ext == t; });
}

bool suitsSoundType(const std::string& name, AVCodecID codec) {
    if (avcodec_get_type(codec) != AVMEDIA_TYPE_AUDIO) return true;
    const std::string ext = loweredExtension(name);
    if (ext == "wav") return codec >= AV_CODEC_ID_PCM_S16LE && codec < AV_CODEC_ID_ADPCM_IMA_QT;
    if (ext == "wma")
        return codec == AV_CODEC_ID_WMAV1 || codec == AV_CODEC_ID_WMAV2 || codec == AV_CODEC_ID_WMAPRO ||
               codec == AV_CODEC_ID_WMALOSSLESS || codec == AV_CODEC_ID_WMAVOICE;
    return true;
}

std::string muxerNameFor(const std::string& name) {
    // Ring tones are AAC in an iPod-style MP4; FFmpeg knows the container only as m4a.
    if (loweredExtension(name) == "m4r") return name.substr(0, name.size() - 3) + "m4a";
    return name;
}

bool refusesOnSetUp(const AVOutputFormat* format, AVCodecID codec) {
    // FFmpeg's Matroska muxer: "does not yet support muxing" these, although its tag list has them.
    static const AVCodecID kMatroskaRefuses[] = {AV_CODEC_ID_RV10,   AV_CODEC_ID_RV20,   AV_CODEC_ID_COOK,
                                                 AV_CODEC_ID_RA_288, AV_CODEC_ID_SIPR,   AV_CODEC_ID_ATRAC3};
    if (std::strcmp(format->name, "matroska") != 0 && std::strcmp(format->name, "webm") != 0) return false;
    return std::find(std::begin(kMatroskaRefuses), std::end(kMatroskaRefuses), codec) != std::end(kMatroskaRefuses);
}

bool mapsKnownCodec(const AVOutputFormat* format, AVCodecID codec) {
    for (const MuxerCodecs& entry : kMuxerCodecs) {
        if (std::strcmp(entry.muxer, format->name) != 0) continue;
        return std::find(entry.codecs.begin(), entry.codecs.end(), codec) != entry.codecs.end();
    }
    return false;
}

}  // namespace kestrel::engine

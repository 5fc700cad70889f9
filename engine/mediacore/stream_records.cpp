#include "engine/mediacore/stream_records.h"

#include "engine/core/record_text.h"

#include <cstring>
#include <numeric>
#include <string>

namespace kestrel::mediacore {

using engine::setFieldText;

namespace {

std::string metadata(const AVStream* st, const char* key) {
    const AVDictionaryEntry* entry = av_dict_get(st->metadata, key, nullptr, 0);
    return entry ? entry->value : "";
}

int32_t bitRate(const engine::MediaInput& input, const AVStream* st) {
    int64_t rate = st->codecpar->bit_rate;
    if (rate <= 0 && input.format()->nb_streams == 1) rate = input.format()->bit_rate;
    return static_cast<int32_t>(std::clamp<int64_t>(rate, 0, INT32_MAX));
}

}  // namespace

void fillAudioInfo(const engine::MediaInput& input, int stream_index, MediaAudioInfo* record) {
    std::memset(record, 0, sizeof *record);
    const AVStream* st = input.stream(stream_index);
    if (!st) return;
    const AVCodecParameters* par = st->codecpar;
    record->exist = 1;
    record->stream_index = stream_index;
    setFieldText(record->codec_name, avcodec_get_name(par->codec_id));
    record->sample_rate = par->sample_rate;
    record->channels = par->ch_layout.nb_channels;
    record->bit_rate = bitRate(input, st);
    record->sample_format = par->format;
    setFieldText(record->language, metadata(st, "language"));
    setFieldText(record->title, metadata(st, "title"));
}

void fillVideoInfo(const engine::MediaInput& input, int stream_index, MediaVideoInfo* record) {
    std::memset(record, 0, sizeof *record);
    const AVStream* st = input.stream(stream_index);
    if (!st) return;
    const AVCodecParameters* par = st->codecpar;
    record->exist = 1;
    record->stream_index = stream_index;
    setFieldText(record->codec_name, avcodec_get_name(par->codec_id));
    if (par->codec_tag) {
        char tag[AV_FOURCC_MAX_STRING_SIZE] = {};
        av_fourcc_make_string(tag, par->codec_tag);
        setFieldText(record->codec_tag, tag);
    }
    int rotation = input.displayRotationDeg(stream_index);
    bool swap = rotation == 90 || rotation == 270;
    record->width = swap ? par->height : par->width;
    record->height = swap ? par->width : par->height;
    AVRational rate = st->avg_frame_rate.num > 0 && st->avg_frame_rate.den > 0 ? st->avg_frame_rate : st->r_frame_rate;
    record->frame_rate = rate.den > 0 ? av_q2d(rate) : 0.0;
    record->bit_rate = bitRate(input, st);
    AVRational sar = st->sample_aspect_ratio.num > 0 ? st->sample_aspect_ratio : par->sample_aspect_ratio;
    if (sar.num <= 0 || sar.den <= 0) sar = AVRational{1, 1};
    // Aspect of the picture as displayed (after the pixel shape and the rotation).
    AVRational dar{0, 1};
    if (record->width > 0 && record->height > 0) {
        int64_t num = int64_t(par->width) * sar.num, den = int64_t(par->height) * sar.den;
        if (swap) std::swap(num, den);
        av_reduce(&dar.num, &dar.den, num, den, 1 << 20);
        record->display_aspect = av_q2d(dar);
        setFieldText(record->aspect_text, std::to_string(dar.num) + ":" + std::to_string(dar.den));
    }
    record->rotation = rotation;
    setFieldText(record->language, metadata(st, "language"));
    setFieldText(record->title, metadata(st, "title"));
}

}  // namespace kestrel::mediacore

#include "engine/mediacore/nal_stream.h"

#include <utility>

namespace kestrel::mediacore {

namespace {

constexpr int kH264Idr = 5;
constexpr int kHevcFirstIrap = 16;  // BLA_W_LP
constexpr int kHevcBlaWithLeading = 16;
constexpr int kHevcCra = 21;
constexpr int kHevcLastIrap = 23;   // the last type reserved for random access points

void appendPrefixed(std::vector<uint8_t>* out, const uint8_t* nal, int length, int length_size) {
    for (int b = length_size - 1; b >= 0; --b) out->push_back(uint8_t((length >> (8 * b)) & 0xff));
    out->insert(out->end(), nal, nal + length);
}

// avcC: version, profile, compatibility, level, 6 bits + length size - 1, then the SPS count
// (low 5 bits) with each SPS, and the PPS count with each PPS, every one 16-bit length first.
bool readAvcC(const uint8_t* data, int size, int* length_size, std::vector<uint8_t>* sets) {
    if (!data || size < 7 || data[0] != 1) return false;
    *length_size = (data[4] & 3) + 1;
    int at = 5;
    for (int kind = 0; kind < 2; ++kind) {
        if (at >= size) return false;
        const int count = kind == 0 ? (data[at] & 0x1f) : data[at];
        ++at;
        for (int i = 0; i < count; ++i) {
            if (at + 2 > size) return false;
            const int length = (data[at] << 8) | data[at + 1];
            at += 2;
            if (at + length > size) return false;
            appendPrefixed(sets, data + at, length, *length_size);
            at += length;
        }
    }
    return !sets->empty();
}

// hvcC: 21 bytes of profile and format fields, length size - 1 in the low bits of byte 21, then
// arrays of NAL units (VPS, SPS, PPS, SEI), each a type byte, a 16-bit count and the units with
// a 16-bit length first.
bool readHvcC(const uint8_t* data, int size, int* length_size, std::vector<uint8_t>* sets) {
    if (!data || size < 23 || data[0] != 1) return false;
    *length_size = (data[21] & 3) + 1;
    const int arrays = data[22];
    int at = 23;
    for (int a = 0; a < arrays; ++a) {
        if (at + 3 > size) return false;
        const int count = (data[at + 1] << 8) | data[at + 2];
        at += 3;
        for (int i = 0; i < count; ++i) {
            if (at + 2 > size) return false;
            const int length = (data[at] << 8) | data[at + 1];
            at += 2;
            if (at + length > size) return false;
            appendPrefixed(sets, data + at, length, *length_size);
            at += length;
        }
    }
    return !sets->empty();
}

}  // namespace

std::optional<NalStream> NalStream::of(const AVCodecParameters* par) {
    if (!par) return std::nullopt;
    NalStream stream;
    stream.codec_ = par->codec_id;
    bool read = false;
    if (par->codec_id == AV_CODEC_ID_H264)
        read = readAvcC(par->extradata, par->extradata_size, &stream.length_size_, &stream.parameter_sets_);
    else if (par->codec_id == AV_CODEC_ID_HEVC)
        read = readHvcC(par->extradata, par->extradata_size, &stream.length_size_, &stream.parameter_sets_);
    if (!read) return std::nullopt;
    return stream;
}

bool NalStream::startsAfresh(const AVPacket* packet) const {
    const uint8_t* data = packet->data;
    int at = 0;
    while (at + length_size_ < packet->size) {
        int64_t length = 0;
        for (int b = 0; b < length_size_; ++b) length = (length << 8) | data[at + b];
        at += length_size_;
        if (length <= 0 || at + length > packet->size) return false;
        if (codec_ == AV_CODEC_ID_H264) {
            if ((data[at] & 0x1f) == kH264Idr) return true;
        } else {
            const int type = (data[at] >> 1) & 0x3f;
            if (type >= kHevcFirstIrap && type <= kHevcLastIrap) return true;
        }
        at += int(length);
    }
    return false;
}

void NalStream::markBrokenLink(uint8_t* data, int size) const {
    if (codec_ != AV_CODEC_ID_HEVC) return;
    int at = 0;
    while (at + length_size_ < size) {
        int64_t length = 0;
        for (int b = 0; b < length_size_; ++b) length = (length << 8) | data[at + b];
        at += length_size_;
        if (length <= 0 || at + length > size) return;
        if (((data[at] >> 1) & 0x3f) == kHevcCra) data[at] = uint8_t((data[at] & 0x81) | (kHevcBlaWithLeading << 1));
        at += int(length);
    }
}

std::vector<uint8_t> NalStream::lengthPrefixed(const uint8_t* data, int size) const {
    std::vector<uint8_t> out;
    std::vector<std::pair<int, int>> units;  // begin, end
    int i = 0, begin = -1;
    while (i + 3 <= size) {
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1) {
            if (begin >= 0) {
                int end = i;
                while (end > begin && data[end - 1] == 0) --end;
                units.push_back({begin, end});
            }
            i += 3;
            begin = i;
        } else {
            ++i;
        }
    }
    if (begin >= 0 && begin < size) units.push_back({begin, size});
    for (const auto& [from, to] : units)
        if (to > from) appendPrefixed(&out, data + from, to - from, length_size_);
    return out;
}

}  // namespace kestrel::mediacore

#pragma once
// The NAL framing of an H.264 or HEVC stream stored as MP4 and Matroska store it (NAL units
// prefixed by their length, parameter sets in the avcC or hvcC record): what a cut needs to
// splice pictures it coded again between the source's own packets.
#include "engine/core/ff_handles.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrel::mediacore {

class NalStream {
public:
    // The framing of the stream, or nothing for another codec or a stream without a length-
    // prefixed configuration record (Annex B streams in MPEG-TS).
    static std::optional<NalStream> of(const AVCodecParameters* par);

    AVCodecID codec() const { return codec_; }
    // Whether copying may start at the packet after pictures coded again: the decoder takes new
    // parameter sets there and no picture shown after it refers to anything before it. H.264: an
    // IDR picture. HEVC: any random access point (IDR, CRA, BLA); the pictures that lead it in
    // decoding order but are shown before it are then coded again with those before it.
    bool startsAfresh(const AVPacket* packet) const;
    // Marks an HEVC clean random access picture in length-prefixed data as a broken link: it
    // then starts a new coded video sequence where it follows pictures coded again (the source's
    // parameter sets hold again, its leading pictures are not shown). Other units stay as they are.
    void markBrokenLink(uint8_t* data, int size) const;
    // The source's parameter sets, each NAL unit prefixed by its length.
    const std::vector<uint8_t>& parameterSets() const { return parameter_sets_; }
    // Start-code separated NAL units (an encoder's output) in the stream's length-prefixed form.
    std::vector<uint8_t> lengthPrefixed(const uint8_t* data, int size) const;

private:
    AVCodecID codec_ = AV_CODEC_ID_NONE;
    int length_size_ = 4;
    std::vector<uint8_t> parameter_sets_;
};

}  // namespace kestrel::mediacore

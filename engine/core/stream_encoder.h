#pragma once
// An encoder for one output stream, opened from plain parameters.
#include "engine/core/ff_handles.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kestrel::engine {

struct VideoEncodeParams {
    const AVCodec* codec = nullptr;
    int width = 0;
    int height = 0;
    int pixel_format = -1;
    AVRational time_base{0, 1};
    AVRational frame_rate{0, 1};      // kept as a rational: 30000/1001 stays so
    AVRational sample_aspect{0, 1};
    int64_t bit_rate = 0;             // bit/s; 0 lets the encoder choose its quality
    int fixed_quantiser = 0;          // without a bit rate: a fixed quantiser (2: close to the
                                      // source) for encoders that take one; 0: the encoder's default
    bool global_header = false;       // the container wants the codec headers up front
    int threads = 0;                  // encoder threads; 0 lets FFmpeg choose
    // x264 holds a few pictures instead of dozens: fewer frame threads, and it looks a short way
    // ahead. For renders that must stay small in memory.
    bool few_pictures_held = false;
    // The pictures' colour description (AVColorRange, AVColorSpace, AVColorPrimaries,
    // AVColorTransferCharacteristic); written into the file. 0 / 2: unspecified.
    int color_range = 0, colorspace = 2, color_primaries = 2, color_trc = 2;
};

struct AudioEncodeParams {
    const AVCodec* codec = nullptr;
    int sample_rate = 0;
    int sample_format = -1;
    int channels = 0;
    int64_t bit_rate = 0;
    bool global_header = false;
};

class StreamEncoder {
public:
    static std::unique_ptr<StreamEncoder> openVideo(const VideoEncodeParams& params, std::string* error = nullptr);
    static std::unique_ptr<StreamEncoder> openAudio(const AudioEncodeParams& params, std::string* error = nullptr);

    AVCodecContext* context() const { return context_.get(); }
    // Samples every audio frame must hold, 0 when any count is accepted.
    int requiredFrameSize() const;

    // Null starts draining. Returns 0 or an AVERROR.
    int send(const AVFrame* frame);
    // 0 with a packet in the encoder time base, AVERROR(EAGAIN) or AVERROR_EOF.
    int receive(AVPacket* packet);

private:
    CodecContextPtr context_;
};

// The pixel format the encoder takes that loses least from `source`.
int choosePixelFormat(const AVCodec* codec, int source_format);
// The sample format, rate and channel count the encoder takes, nearest to the wish.
int chooseSampleFormat(const AVCodec* codec, int source_format);
int chooseSampleRate(const AVCodec* codec, int wanted_rate);
// True when a 4:2:0 or 4:2:2 format needs even sizes.
bool needsEvenSize(int pixel_format);

}  // namespace kestrel::engine

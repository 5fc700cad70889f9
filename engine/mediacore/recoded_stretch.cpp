#include "engine/mediacore/recoded_stretch.h"

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}
#include <algorithm>
#include <cstring>
#include <string>

#include "engine/core/ff_log.h"

namespace kestrel::mediacore {

using namespace kestrel::engine;

namespace {

// A picture on the stretch's start belongs to it, one on its end does not: half a millisecond
// either way for time stamps rounded by the container.
constexpr int64_t kEdgeUs = 500;

const AVCodec* encoderFor(AVCodecID codec) {
    const char* name = codec == AV_CODEC_ID_HEVC ? "libx265" : "libx264";
    if (const AVCodec* found = avcodec_find_encoder_by_name(name)) return found;
    return avcodec_find_encoder(codec);
}

// x265's name for the profile of a picture format (Main, Main 10, Main 12, or a range
// extension's 4:2:2 or 4:4:4 one); empty where it has none.
std::string x265Profile(AVPixelFormat format) {
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    if (!desc || desc->nb_components < 3 || (desc->flags & AV_PIX_FMT_FLAG_RGB)) return {};
    const int depth = desc->comp[0].depth;
    if (depth != 8 && depth != 10 && depth != 12) return {};
    if (desc->log2_chroma_w == 1 && desc->log2_chroma_h == 1) return depth == 8 ? "main" : "main" + std::to_string(depth);
    if (desc->log2_chroma_w == 1 && desc->log2_chroma_h == 0) return "main422-" + std::to_string(depth);
    if (desc->log2_chroma_w == 0 && desc->log2_chroma_h == 0) return "main444-" + std::to_string(depth);
    return {};
}

// x265's options for a stretch: no B-frames (its time stamps then fit between the copied
// packets), a short look-ahead (a stretch is at most a group of pictures, and the user waits
// for it; at CRF 16 the pictures stay well above 45 dB), and the source's level where the stream states one (HEVC gives it as 30 x level,
// x265 takes 10 x level).
std::string x265Params(const AVCodecParameters* par, bool with_level) {
    std::string params = "log-level=none:bframes=0:rc-lookahead=5";
    if (with_level && par->level > 0 && par->level % 3 == 0) params += ":level-idc=" + std::to_string(par->level / 3);
    return params;
}

}  // namespace

RecodedStretch::RecodedStretch(MediaInput& input, int stream_index, const NalStream& nal, const Span& span)
    : input_(input), stream_index_(stream_index), stream_(input.stream(stream_index)), nal_(nal), span_(span) {}

RecodedStretch::~RecodedStretch() = default;

std::unique_ptr<RecodedStretch> RecodedStretch::open(MediaInput& input, int stream_index, const NalStream& nal,
                                                     const Span& span) {
    std::unique_ptr<RecodedStretch> stretch(new RecodedStretch(input, stream_index, nal, span));
    stretch->decoder_ = StreamDecoder::open(stretch->stream_);
    if (!stretch->decoder_) return nullptr;
    return stretch;
}

ResultCode RecodedStretch::decode(const AVPacket* packet, const Writer& write) {
    const int rc = decoder_->send(packet);
    if (rc < 0 && rc != AVERROR(EAGAIN) && rc != AVERROR_EOF && packet) return ResultCode::Ok;  // damaged packet: skipped
    return receiveFrames(write);
}

ResultCode RecodedStretch::receiveFrames(const Writer& write) {
    FramePtr frame = makeFrame();
    for (;;) {
        const int rc = decoder_->receive(frame.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) break;
        if (rc < 0) continue;
        const int64_t at = input_.toFileTimeUs(stream_index_, frame->pts);
        const bool inside = at != AV_NOPTS_VALUE && at >= span_.from_us - kEdgeUs && (span_.to_us <= 0 || at < span_.to_us - kEdgeUs);
        if (inside) {
            frame->pts -= span_.offset;
            const ResultCode encoded = encode(frame.get(), write);
            if (encoded != ResultCode::Ok) return encoded;
        }
        av_frame_unref(frame.get());
    }
    return ResultCode::Ok;
}

ResultCode RecodedStretch::openEncoder(const AVFrame* frame) {
    const AVCodec* codec = encoderFor(nal_.codec());
    if (!codec) return ResultCode::EncoderMissing;
    quietFfmpegLog();
    const AVCodecParameters* par = stream_->codecpar;
    // The source's profile and level first; an encoder that refuses them picks its own.
    for (const bool as_source : {true, false}) {
        encoder_.reset(avcodec_alloc_context3(codec));
        AVCodecContext* ctx = encoder_.get();
        if (!ctx) return ResultCode::EncodeFailed;
        ctx->width = frame->width;
        ctx->height = frame->height;
        ctx->pix_fmt = static_cast<AVPixelFormat>(frame->format);
        ctx->time_base = stream_->time_base;
        ctx->framerate = av_guess_frame_rate(nullptr, const_cast<AVStream*>(stream_), nullptr);
        ctx->sample_aspect_ratio = frame->sample_aspect_ratio;
        ctx->color_range = frame->color_range;
        ctx->colorspace = frame->colorspace;
        ctx->color_primaries = frame->color_primaries;
        ctx->color_trc = frame->color_trc;
        ctx->chroma_sample_location = frame->chroma_location;
        // No reordering: the stretch's time stamps then fit between the copied packets.
        ctx->max_b_frames = 0;
        ctx->gop_size = 1 << 20;
        av_opt_set(ctx->priv_data, "crf", "16", 0);
        // Stretches are short and waited for: x265's fast preset took twice superfast's time on a
        // 1080p stretch, x264's fast half again veryfast's; at CRF 16 both stay above 45 dB.
        av_opt_set(ctx->priv_data, "preset", nal_.codec() == AV_CODEC_ID_HEVC ? "superfast" : "veryfast", 0);
        if (nal_.codec() == AV_CODEC_ID_H264) {
            ctx->profile = par->profile;
        } else {
            av_opt_set(ctx->priv_data, "x265-params", x265Params(par, as_source).c_str(), 0);
            const std::string profile = x265Profile(ctx->pix_fmt);
            if (as_source && !profile.empty()) av_opt_set(ctx->priv_data, "profile", profile.c_str(), 0);
        }
        if (avcodec_open2(ctx, codec, nullptr) >= 0) return ResultCode::Ok;
    }
    encoder_.reset();
    return ResultCode::EncoderMissing;
}

ResultCode RecodedStretch::encode(AVFrame* frame, const Writer& write) {
    if (!encoder_ && frame) {
        const ResultCode opened = openEncoder(frame);
        if (opened != ResultCode::Ok) return opened;
    }
    if (!encoder_) return ResultCode::Ok;
    AVCodecContext* ctx = encoder_.get();
    if (frame) frame->pict_type = AV_PICTURE_TYPE_NONE;
    int rc = avcodec_send_frame(ctx, frame);
    if (rc < 0 && rc != AVERROR_EOF) return ResultCode::EncodeFailed;
    PacketPtr encoded = makePacket();
    for (;;) {
        rc = avcodec_receive_packet(ctx, encoded.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) break;
        if (rc < 0) return ResultCode::EncodeFailed;
        const std::vector<uint8_t> data = nal_.lengthPrefixed(encoded->data, encoded->size);
        PacketPtr out = makePacket();
        if (av_new_packet(out.get(), int(data.size())) < 0) return ResultCode::EncodeFailed;
        std::memcpy(out->data, data.data(), data.size());
        av_packet_copy_props(out.get(), encoded.get());
        out->pts = encoded->pts;
        out->dts = encoded->dts - span_.dts_shift;
        reached_us_ = std::max(reached_us_, av_rescale_q(out->pts, ctx->time_base, AV_TIME_BASE_Q));
        av_packet_unref(encoded.get());
        if (write(out.get(), ctx->time_base) < 0) return ResultCode::WriteFailed;
        wrote_ = true;
    }
    return ResultCode::Ok;
}

ResultCode RecodedStretch::finish(const Writer& write) {
    ResultCode rc = decode(nullptr, write);
    if (rc == ResultCode::Ok) rc = encode(nullptr, write);
    return rc;
}

}  // namespace kestrel::mediacore

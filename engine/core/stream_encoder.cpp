#include "engine/core/stream_encoder.h"

#include "engine/core/ff_log.h"

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}
#include <cstdlib>

namespace kestrel::engine {

namespace {

std::unique_ptr<StreamEncoder> failed(std::string* error, const std::string& message) {
    if (error) *error = message;
    return nullptr;
}

}  // namespace

std::unique_ptr<StreamEncoder> StreamEncoder::openVideo(const VideoEncodeParams& params, std::string* error) {
    if (!params.codec) return failed(error, "no video encoder");
    quietFfmpegLog();
    auto encoder = std::make_unique<StreamEncoder>();
    encoder->context_.reset(avcodec_alloc_context3(params.codec));
    AVCodecContext* ctx = encoder->context_.get();
    if (!ctx) return failed(error, "out of memory");
    ctx->width = params.width;
    ctx->height = params.height;
    ctx->pix_fmt = static_cast<AVPixelFormat>(params.pixel_format);
    ctx->time_base = params.time_base;
    ctx->framerate = params.frame_rate;
    ctx->sample_aspect_ratio = params.sample_aspect;
    ctx->color_range = static_cast<AVColorRange>(params.color_range);
    ctx->colorspace = static_cast<AVColorSpace>(params.colorspace);
    ctx->color_primaries = static_cast<AVColorPrimaries>(params.color_primaries);
    ctx->color_trc = static_cast<AVColorTransferCharacteristic>(params.color_trc);
    if (params.bit_rate > 0) ctx->bit_rate = params.bit_rate;
    if (params.bit_rate <= 0 && params.fixed_quantiser > 0) {
        ctx->flags |= AV_CODEC_FLAG_QSCALE;
        ctx->global_quality = FF_QP2LAMBDA * params.fixed_quantiser;
    }
    ctx->thread_count = params.threads > 0 ? params.threads : 0;
    if (params.global_header) ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (params.few_pictures_held && std::string(params.codec->name) == "libx264") {
        // Six frame threads (unless the caller chose) and an 8-picture look-ahead hold about a
        // third of what x264's defaults hold at 1080p, at twice the speed of sliced threads.
        if (params.threads <= 0) ctx->thread_count = 6;
        av_opt_set(ctx->priv_data, "x264-params", "sync-lookahead=0", 0);
        av_opt_set_int(ctx->priv_data, "rc-lookahead", 8, 0);
    }
    // x265 prints its banner and statistics to the console itself unless told otherwise.
    if (std::string(params.codec->name) == "libx265")
        av_opt_set(ctx->priv_data, "x265-params", (std::string("log-level=") + x265LogLevel()).c_str(), 0);
    int rc = avcodec_open2(ctx, params.codec, nullptr);
    if (rc < 0) return failed(error, std::string("cannot open encoder ") + params.codec->name + ": " + ffErrorText(rc));
    return encoder;
}

std::unique_ptr<StreamEncoder> StreamEncoder::openAudio(const AudioEncodeParams& params, std::string* error) {
    if (!params.codec) return failed(error, "no audio encoder");
    quietFfmpegLog();
    auto encoder = std::make_unique<StreamEncoder>();
    encoder->context_.reset(avcodec_alloc_context3(params.codec));
    AVCodecContext* ctx = encoder->context_.get();
    if (!ctx) return failed(error, "out of memory");
    ctx->sample_rate = params.sample_rate;
    ctx->sample_fmt = static_cast<AVSampleFormat>(params.sample_format);
    av_channel_layout_default(&ctx->ch_layout, params.channels);
    ctx->time_base = AVRational{1, params.sample_rate};
    if (params.bit_rate > 0) ctx->bit_rate = params.bit_rate;
    ctx->thread_count = 0;
    if (params.global_header) ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int rc = avcodec_open2(ctx, params.codec, nullptr);
    if (rc < 0) return failed(error, std::string("cannot open encoder ") + params.codec->name + ": " + ffErrorText(rc));
    return encoder;
}

int StreamEncoder::requiredFrameSize() const {
    const AVCodecContext* ctx = context_.get();
    if (ctx->codec_type != AVMEDIA_TYPE_AUDIO) return 0;
    if (ctx->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) return 0;
    return ctx->frame_size;
}

int StreamEncoder::send(const AVFrame* frame) { return avcodec_send_frame(context_.get(), frame); }

int StreamEncoder::receive(AVPacket* packet) { return avcodec_receive_packet(context_.get(), packet); }

int choosePixelFormat(const AVCodec* codec, int source_format) {
    if (!codec->pix_fmts) return source_format;
    // H.264 and HEVC in anything but 8-bit 4:2:0 (High 4:4:4, alpha, RGB) are refused by most
    // players and hardware decoders.
    if (codec->id == AV_CODEC_ID_H264 || codec->id == AV_CODEC_ID_HEVC) {
        for (const AVPixelFormat* f = codec->pix_fmts; *f != AV_PIX_FMT_NONE; ++f)
            if (*f == AV_PIX_FMT_YUV420P) return AV_PIX_FMT_YUV420P;
    }
    for (const AVPixelFormat* f = codec->pix_fmts; *f != AV_PIX_FMT_NONE; ++f)
        if (*f == source_format) return source_format;
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(source_format));
    int has_alpha = desc && (desc->flags & AV_PIX_FMT_FLAG_ALPHA);
    return avcodec_find_best_pix_fmt_of_list(codec->pix_fmts, static_cast<AVPixelFormat>(source_format), has_alpha, nullptr);
}

int chooseSampleFormat(const AVCodec* codec, int source_format) {
    if (!codec->sample_fmts) return source_format;
    for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f)
        if (*f == source_format) return source_format;
    return codec->sample_fmts[0];
}

int chooseSampleRate(const AVCodec* codec, int wanted_rate) {
    if (!codec->supported_samplerates) return wanted_rate;
    int best = codec->supported_samplerates[0];
    for (const int* r = codec->supported_samplerates; *r; ++r) {
        if (*r == wanted_rate) return wanted_rate;
        if (std::abs(*r - wanted_rate) < std::abs(best - wanted_rate)) best = *r;
    }
    return best;
}

bool needsEvenSize(int pixel_format) {
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(pixel_format));
    return desc && (desc->log2_chroma_w > 0 || desc->log2_chroma_h > 0);
}

}  // namespace kestrel::engine

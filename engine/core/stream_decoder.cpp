#include "engine/core/stream_decoder.h"

#include "engine/core/ff_log.h"

namespace kestrel::engine {

std::unique_ptr<StreamDecoder> StreamDecoder::open(const AVStream* stream, std::string* error) {
    auto fail = [&](const std::string& message) -> std::unique_ptr<StreamDecoder> {
        if (error) *error = message;
        return nullptr;
    };
    quietFfmpegLog();
    if (!stream) return fail("no stream");
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) return fail(std::string("no decoder for ") + avcodec_get_name(stream->codecpar->codec_id));
    auto decoder = std::make_unique<StreamDecoder>();
    decoder->context_.reset(avcodec_alloc_context3(codec));
    AVCodecContext* ctx = decoder->context_.get();
    if (!ctx) return fail("out of memory");
    int rc = avcodec_parameters_to_context(ctx, stream->codecpar);
    if (rc < 0) return fail("decoder parameters: " + ffErrorText(rc));
    ctx->pkt_timebase = stream->time_base;
    ctx->thread_count = 0;  // one per core, as the ffmpeg tool does
    ctx->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
        ctx->framerate = av_guess_frame_rate(nullptr, const_cast<AVStream*>(stream), nullptr);
    rc = avcodec_open2(ctx, codec, nullptr);
    if (rc < 0) return fail(std::string("cannot open decoder ") + codec->name + ": " + ffErrorText(rc));
    decoder->time_base_ = stream->time_base;
    return decoder;
}

int StreamDecoder::send(const AVPacket* packet) { return avcodec_send_packet(context_.get(), packet); }

int StreamDecoder::receive(AVFrame* frame) {
    int rc = avcodec_receive_frame(context_.get(), frame);
    if (rc == 0) frame->pts = frame->best_effort_timestamp;
    if (rc == 0 && picture_length_ > 0) {
        frame->pts = counted_++ * picture_length_;
        frame->pkt_duration = picture_length_;
    }
    return rc;
}

void StreamDecoder::flush() {
    avcodec_flush_buffers(context_.get());
    counted_ = 0;
}

}  // namespace kestrel::engine

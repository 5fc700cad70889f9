#include "session/export/gif/gif_jpeg_writer.h"

#include "engine/core/ff_handles.h"

#include <QSaveFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

namespace kestrel::session {

namespace {
constexpr int kJpegQuality = 3;  // mjpeg's quantiser scale: 2 best .. 31 worst
}  // namespace

bool writeJpegFile(const QString& path, const uint8_t* bgra, int width, int height) {
    if (!bgra || width <= 0 || height <= 0) return false;
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!codec) return false;
    engine::CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx) return false;
    ctx->width = width;
    ctx->height = height;
    ctx->pix_fmt = AV_PIX_FMT_YUVJ420P;
    ctx->color_range = AVCOL_RANGE_JPEG;
    ctx->time_base = AVRational{1, 25};
    ctx->flags |= AV_CODEC_FLAG_QSCALE;
    ctx->global_quality = FF_QP2LAMBDA * kJpegQuality;
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0) return false;

    engine::FramePtr frame = engine::makeFrame();
    frame->format = ctx->pix_fmt;
    frame->width = width;
    frame->height = height;
    if (av_frame_get_buffer(frame.get(), 0) < 0) return false;
    engine::SwsPtr sws(sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, AV_PIX_FMT_YUVJ420P,
                                      SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr, nullptr, nullptr));
    if (!sws) return false;
    const uint8_t* src[4] = {bgra, nullptr, nullptr, nullptr};
    const int src_stride[4] = {width * 4, 0, 0, 0};
    sws_scale(sws.get(), src, src_stride, 0, height, frame->data, frame->linesize);
    frame->quality = ctx->global_quality;
    frame->pts = 0;

    engine::PacketPtr packet = engine::makePacket();
    if (avcodec_send_frame(ctx.get(), frame.get()) < 0 || avcodec_send_frame(ctx.get(), nullptr) < 0) return false;
    if (avcodec_receive_packet(ctx.get(), packet.get()) < 0) return false;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(reinterpret_cast<const char*>(packet->data), packet->size) != packet->size) return false;
    return file.commit();
}

}  // namespace kestrel::session

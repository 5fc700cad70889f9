#include "engine/core/hardware_encoder.h"

#include "engine/core/ff_handles.h"
#include "engine/core/ff_log.h"

#include <algorithm>

extern "C" {
#include <libavutil/hwcontext.h>
#include <libavutil/pixdesc.h>
}

namespace kestrel::engine {
namespace {

constexpr int kSide = 256;  // small, and a size every encoder accepts

struct BufferRefDeleter {
    void operator()(AVBufferRef* ref) const { av_buffer_unref(&ref); }
};
using BufferRefPtr = std::unique_ptr<AVBufferRef, BufferRefDeleter>;

bool isHardwareFormat(AVPixelFormat format) {
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    return desc && (desc->flags & AV_PIX_FMT_FLAG_HWACCEL);
}

// The first picture format of the encoder that lives in ordinary memory.
AVPixelFormat softwareFormat(const AVCodec* codec) {
    if (!codec->pix_fmts) return AV_PIX_FMT_NONE;
    for (const AVPixelFormat* f = codec->pix_fmts; *f != AV_PIX_FMT_NONE; ++f)
        if (!isHardwareFormat(*f)) return *f;
    return AV_PIX_FMT_NONE;
}

bool isHardwareEncoder(const AVCodec* codec) {
    if (!av_codec_is_encoder(codec) || codec->type != AVMEDIA_TYPE_VIDEO) return false;
    if (codec->id != AV_CODEC_ID_H264 && codec->id != AV_CODEC_ID_HEVC) return false;
    return (codec->capabilities & AV_CODEC_CAP_HARDWARE) || avcodec_get_hw_config(codec, 0) != nullptr;
}

FramePtr blankFrame(AVPixelFormat format) {
    FramePtr frame = makeFrame();
    if (!frame) return nullptr;
    frame->format = format;
    frame->width = kSide;
    frame->height = kSide;
    if (av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
    for (int plane = 0; plane < AV_NUM_DATA_POINTERS && frame->buf[plane]; ++plane)
        std::fill(frame->buf[plane]->data, frame->buf[plane]->data + frame->buf[plane]->size, uint8_t(0x80));
    return frame;
}

// Feeds one picture and the end of the stream; true once a packet comes out.
bool encodesFrame(AVCodecContext* context, AVFrame* frame) {
    frame->pts = 0;
    if (avcodec_send_frame(context, frame) < 0 || avcodec_send_frame(context, nullptr) < 0) return false;
    PacketPtr packet = makePacket();
    return packet && avcodec_receive_packet(context, packet.get()) >= 0 && packet->size > 0;
}

CodecContextPtr contextFor(const AVCodec* codec, AVPixelFormat format) {
    CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context) return nullptr;
    context->width = kSide;
    context->height = kSide;
    context->pix_fmt = format;
    context->time_base = AVRational{1, 25};
    context->framerate = AVRational{25, 1};
    context->bit_rate = 1000000;
    return context;
}

// Encoders that take pictures from ordinary memory (NVENC, QSV, V4L2 and the like).
bool encodesFromMemory(const AVCodec* codec, AVPixelFormat format) {
    CodecContextPtr context = contextFor(codec, format);
    if (!context || avcodec_open2(context.get(), codec, nullptr) < 0) return false;
    FramePtr frame = blankFrame(format);
    return frame && encodesFrame(context.get(), frame.get());
}

// Encoders that take only device pictures (VA-API and the like): a device, a pool of device
// pictures, and one picture uploaded into it.
bool encodesFromDevice(const AVCodec* codec) {
    for (int i = 0;; ++i) {
        const AVCodecHWConfig* config = avcodec_get_hw_config(codec, i);
        if (!config) return false;
        if (!(config->methods & AV_CODEC_HW_CONFIG_METHOD_HW_FRAMES_CTX)) continue;
        AVBufferRef* rawDevice = nullptr;
        if (av_hwdevice_ctx_create(&rawDevice, config->device_type, nullptr, nullptr, 0) < 0) continue;
        BufferRefPtr device(rawDevice);
        BufferRefPtr pool(av_hwframe_ctx_alloc(device.get()));
        if (!pool) continue;
        auto* frames = reinterpret_cast<AVHWFramesContext*>(pool->data);
        frames->format = config->pix_fmt;
        frames->sw_format = AV_PIX_FMT_NV12;
        frames->width = kSide;
        frames->height = kSide;
        frames->initial_pool_size = 4;
        if (av_hwframe_ctx_init(pool.get()) < 0) continue;
        CodecContextPtr context = contextFor(codec, config->pix_fmt);
        if (!context) continue;
        context->hw_frames_ctx = av_buffer_ref(pool.get());
        if (!context->hw_frames_ctx || avcodec_open2(context.get(), codec, nullptr) < 0) continue;
        FramePtr picture = blankFrame(AV_PIX_FMT_NV12);
        FramePtr onDevice = makeFrame();
        if (!picture || !onDevice || av_hwframe_get_buffer(pool.get(), onDevice.get(), 0) < 0) continue;
        if (av_hwframe_transfer_data(onDevice.get(), picture.get(), 0) < 0) continue;
        if (encodesFrame(context.get(), onDevice.get())) return true;
    }
}

}  // namespace

std::string firstWorkingHardwareEncoder() {
    quietFfmpegLog();   // a missing device or driver is no news for the console
    void* iterator = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&iterator)) {
        if (!isHardwareEncoder(codec)) continue;
        const AVPixelFormat format = softwareFormat(codec);
        if (format != AV_PIX_FMT_NONE ? encodesFromMemory(codec, format) : encodesFromDevice(codec)) return codec->name;
    }
    return {};
}

}  // namespace kestrel::engine

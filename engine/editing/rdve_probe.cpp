// The light probe and the snapshot reader.
#include "engine/core/media_input.h"
#include "engine/core/output_file.h"
#include "engine/core/stream_encoder.h"
#include "engine/editing/handle_registry.h"
#include "engine/editing/layer_renderer.h"
#include "engine/editing/rdve.h"
#include "engine/editing/rdve_result.h"

#include <cstdio>
#include <cstring>
#include <mutex>

using namespace kestrel::editing;
using kestrel::engine::ResultCode;
namespace engine = kestrel::engine;

namespace {

struct Snapshot {
    std::mutex mutex;   // the picture-sequence export reads from a worker queue
    std::unique_ptr<LayerRenderer> renderer;
};

SharedHandles<Snapshot>& snapshots() {
    static SharedHandles<Snapshot> handles;
    return handles;
}

// Picture shape for a snapshot: display orientation, scaled to the asked size.
LayerShape snapshotShape(const LayerRenderer& r, int width, int height) {
    LayerShape shape;
    shape.rotation_deg = r.fileRotationDeg();
    bool swap = shape.rotation_deg == 90 || shape.rotation_deg == 270;
    shape.out_width = width > 0 ? width : (swap ? r.height() : r.width());
    shape.out_height = height > 0 ? height : (swap ? r.width() : r.height());
    return shape;
}

int32_t writePng(const AVFrame* picture, const char* path) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PNG);
    if (!codec) return result(ResultCode::EncoderMissing);
    engine::VideoEncodeParams params;
    params.codec = codec;
    params.width = picture->width;
    params.height = picture->height;
    params.pixel_format = AV_PIX_FMT_RGBA;
    params.time_base = AVRational{1, 25};
    params.frame_rate = AVRational{25, 1};
    auto encoder = engine::StreamEncoder::openVideo(params);
    if (!encoder) return result(ResultCode::EncoderMissing);
    engine::FramePtr rgba = engine::makeFrame();
    rgba->format = AV_PIX_FMT_RGBA;
    rgba->width = picture->width;
    rgba->height = picture->height;
    if (av_frame_get_buffer(rgba.get(), 0) < 0) return result(ResultCode::EncodeFailed);
    for (int y = 0; y < picture->height; ++y) {
        const uint8_t* s = picture->data[0] + static_cast<size_t>(y) * picture->linesize[0];
        uint8_t* d = rgba->data[0] + static_cast<size_t>(y) * rgba->linesize[0];
        for (int x = 0; x < picture->width; ++x, s += 4, d += 4) d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = s[3];
    }
    rgba->pts = 0;
    engine::PacketPtr packet = engine::makePacket();
    if (encoder->send(rgba.get()) < 0 || encoder->send(nullptr) < 0 || encoder->receive(packet.get()) < 0)
        return result(ResultCode::EncodeFailed);
    engine::OutputFile file;
    if (ResultCode rc = file.prepare(path); rc != ResultCode::Ok) return result(rc);
    FILE* out = std::fopen(file.temporaryPath().c_str(), "wb");
    if (!out) return result(ResultCode::WriteFailed);
    bool written = std::fwrite(packet->data, 1, packet->size, out) == static_cast<size_t>(packet->size);
    written = std::fclose(out) == 0 && written;
    if (!written) return result(ResultCode::WriteFailed);
    return result(file.commit());
}

}  // namespace

extern "C" {

int32_t rdVEGetMediaInfoLite(const char* path, int64_t* duration_us, void* audio_info, void* video_info) {
    if (!path || !*path) return result(ResultCode::BadArgument);
    auto input = engine::MediaInput::open(path);
    if (!input) return result(ResultCode::OpenFailed);
    if (duration_us) *duration_us = input->durationUs();
    int audio = input->bestAudioStream();
    if (audio_info && audio >= 0) {
        // Our own layout of the audio area: sample rate @0, channels @4, bit rate @8 (int32).
        const AVCodecParameters* par = input->stream(audio)->codecpar;
        int32_t values[3] = {par->sample_rate, par->ch_layout.nb_channels, static_cast<int32_t>(par->bit_rate)};
        std::memcpy(audio_info, values, sizeof values);
    }
    int video = input->bestVideoStream();
    if (video_info && video >= 0) {
        const AVStream* st = input->stream(video);
        int rotation = input->displayRotationDeg(video);
        bool swap = rotation == 90 || rotation == 270;
        int32_t width = swap ? st->codecpar->height : st->codecpar->width;
        int32_t height = swap ? st->codecpar->width : st->codecpar->height;
        int64_t bit_rate = st->codecpar->bit_rate > 0 ? st->codecpar->bit_rate : input->format()->bit_rate;
        int32_t bits = static_cast<int32_t>(std::min<int64_t>(bit_rate, INT32_MAX));
        double fps = st->avg_frame_rate.num > 0 && st->avg_frame_rate.den > 0 ? av_q2d(st->avg_frame_rate) : 0.0;
        auto* bytes = static_cast<uint8_t*>(video_info);
        std::memcpy(bytes + 132, &width, 4);
        std::memcpy(bytes + 136, &height, 4);
        std::memcpy(bytes + 140, &bits, 4);
        std::memcpy(bytes + 144, &fps, 8);
    }
    return kOk;
}

void* rdVEMediaSnapshotOpen(const char* path) {
    if (!path || !*path) return nullptr;
    auto renderer = LayerRenderer::open(path);
    if (!renderer) return nullptr;
    auto snapshot = std::make_shared<Snapshot>();
    snapshot->renderer = std::move(renderer);
    return snapshots().add(std::move(snapshot));
}

int64_t rdVEMediaSnapshotGetDuration(void* handle) {
    auto snapshot = snapshots().find(handle);
    if (!snapshot) return kBadHandle;
    std::lock_guard lock(snapshot->mutex);
    return snapshot->renderer->durationUs();
}

int32_t rdVEMediaSnapshotBGRA(void* handle, int32_t kind, int64_t time_us, int32_t width, int32_t height,
                              uint8_t* buffer) {
    auto snapshot = snapshots().find(handle);
    if (!snapshot) return kBadHandle;
    if (!buffer || width <= 0 || height <= 0 || width > 16384 || height > 16384 || time_us < 0)
        return result(ResultCode::BadArgument);
    (void)kind;  // the only kind of buffer there is: BGRA
    std::lock_guard lock(snapshot->mutex);
    const AVFrame* picture = snapshot->renderer->pictureAt(time_us, snapshotShape(*snapshot->renderer, width, height));
    if (!picture) return result(ResultCode::DecodeFailed);
    for (int y = 0; y < height; ++y)
        std::memcpy(buffer + static_cast<size_t>(y) * width * 4, picture->data[0] + static_cast<size_t>(y) * picture->linesize[0],
                    static_cast<size_t>(width) * 4);
    return kOk;
}

int32_t rdVEMediaSnapshot(void* handle, int32_t kind, int64_t time_us, int32_t width, int32_t height,
                          const char* png_path) {
    auto snapshot = snapshots().find(handle);
    if (!snapshot) return kBadHandle;
    if (!png_path || !*png_path || width < 0 || height < 0 || time_us < 0) return result(ResultCode::BadArgument);
    (void)kind;
    std::lock_guard lock(snapshot->mutex);
    const AVFrame* picture = snapshot->renderer->pictureAt(time_us, snapshotShape(*snapshot->renderer, width, height));
    if (!picture) return result(ResultCode::DecodeFailed);
    return writePng(picture, png_path);
}

int32_t rdVEMediaSnapshotClose(void* handle) {
    // A read in progress keeps its own owner: the reader goes when that read returns.
    return snapshots().remove(handle) ? kOk : kBadHandle;
}

}  // extern "C"

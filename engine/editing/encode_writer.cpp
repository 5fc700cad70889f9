#include "engine/editing/encode_writer.h"

#include "engine/core/codec_choice.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

namespace kestrel::editing {

using engine::ResultCode;

std::string extensionOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

bool isAudioOnlyExtension(const std::string& path) {
    static const std::set<std::string> audio = {"mp3", "mp2", "wma", "m4a", "aac", "wav", "ogg",
                                                "m4r", "ac3", "flac", "opus", "oga"};
    return audio.count(extensionOf(path)) > 0;
}

namespace {
// Names the muxer knows for extensions it does not.
std::string formatName(const std::string& target) {
    std::string ext = extensionOf(target);
    if (ext == "m4r") return "x.m4a";
    return target;
}
}  // namespace

ResultCode EncodeWriter::open(const std::string& write_path, const std::string& target_path) {
    target_path_ = target_path;
    output_ = engine::MediaOutput::open(write_path, formatName(target_path));
    return output_ ? ResultCode::Ok : ResultCode::WriteFailed;
}

ResultCode EncodeWriter::addVideo(bool gif, int width, int height, AVRational frame_rate, int64_t bit_rate,
                                  int threads, AVRational sample_aspect) {
    const AVCodec* codec = nullptr;
    if (gif) codec = engine::findEncoder(AV_CODEC_ID_GIF);
    else if (output_->accepts(AV_CODEC_ID_H264)) codec = engine::findEncoder(AV_CODEC_ID_H264);
    // A picture file takes the codec of its extension (a .png is PNG, not the image muxer's JPEG).
    if (!codec)
        codec = engine::findEncoder(av_guess_codec(output_->format(), nullptr, target_path_.c_str(), nullptr, AVMEDIA_TYPE_VIDEO));
    if (!codec) codec = engine::findEncoder(output_->format()->video_codec);
    if (!codec || !output_->accepts(codec->id)) return ResultCode::EncoderMissing;
    engine::VideoEncodeParams params;
    params.codec = codec;
    // A GIF gets the palette made from its own frames (PAL8); a fixed palette bands and blotches.
    params.pixel_format = codec->id == AV_CODEC_ID_H264 ? AV_PIX_FMT_YUV420P
                          : gif                        ? AV_PIX_FMT_PAL8
                                                       : engine::choosePixelFormat(codec, AV_PIX_FMT_BGRA);
    if (engine::needsEvenSize(params.pixel_format)) {
        width = std::max(2, width & ~1);
        height = std::max(2, height & ~1);
    }
    params.width = width;
    params.height = height;
    params.frame_rate = frame_rate;
    params.time_base = av_inv_q(frame_rate);
    params.sample_aspect = sample_aspect.num > 0 && sample_aspect.den > 0 ? sample_aspect : AVRational{1, 1};
    params.bit_rate = gif ? 0 : bit_rate;
    params.global_header = output_->wantsGlobalHeader();
    params.threads = threads;
    params.few_pictures_held = few_pictures_held_;
    video_ = engine::StreamEncoder::openVideo(params);
    if (!video_) return ResultCode::EncoderMissing;
    video_index_ = output_->addStream(video_->context());
    if (gif) gif_group_ = std::make_unique<GifFrameGroup>(width, height);
    return video_index_ < 0 ? ResultCode::WriteFailed : ResultCode::Ok;
}

ResultCode EncodeWriter::addAudio(int sample_rate, int channels, int64_t bit_rate) {
    const AVCodec* codec = nullptr;
    if (output_->accepts(AV_CODEC_ID_AAC)) codec = engine::findEncoder(AV_CODEC_ID_AAC);
    if (!codec) codec = engine::findEncoder(output_->format()->audio_codec);
    for (AVCodecID id : {AV_CODEC_ID_OPUS, AV_CODEC_ID_VORBIS, AV_CODEC_ID_FLAC, AV_CODEC_ID_MP3, AV_CODEC_ID_PCM_S16LE}) {
        if (codec && output_->accepts(codec->id)) break;
        codec = output_->accepts(id) ? engine::findEncoder(id) : nullptr;
    }
    if (!codec) return ResultCode::EncoderMissing;
    engine::AudioEncodeParams params;
    params.codec = codec;
    params.sample_rate = engine::chooseSampleRate(codec, sample_rate > 0 ? sample_rate : 44100);
    params.channels = std::clamp(channels, 1, 2);
    params.sample_format = engine::chooseSampleFormat(codec, AV_SAMPLE_FMT_FLTP);
    params.bit_rate = bit_rate;
    params.global_header = output_->wantsGlobalHeader();
    audio_ = engine::StreamEncoder::openAudio(params);
    if (!audio_) return ResultCode::EncoderMissing;
    audio_frame_size_ = audio_->requiredFrameSize() > 0 ? audio_->requiredFrameSize() : 1024;
    audio_index_ = output_->addStream(audio_->context());
    return audio_index_ < 0 ? ResultCode::WriteFailed : ResultCode::Ok;
}

int EncodeWriter::sampleRate() const { return audio_ ? audio_->context()->sample_rate : 0; }
int EncodeWriter::channels() const { return audio_ ? audio_->context()->ch_layout.nb_channels : 0; }

ResultCode EncodeWriter::begin() {
    if (!video_ && !audio_) return ResultCode::NoStream;
    return output_->writeHeader() < 0 ? ResultCode::WriteFailed : ResultCode::Ok;
}

ResultCode EncodeWriter::drain(engine::StreamEncoder& encoder, int stream_index) {
    for (;;) {
        int rc = encoder.receive(packet_.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return ResultCode::Ok;
        if (rc < 0) return ResultCode::EncodeFailed;
        rc = output_->write(packet_.get(), stream_index, encoder.context()->time_base);
        av_packet_unref(packet_.get());
        if (rc < 0) return ResultCode::WriteFailed;
    }
}

ResultCode EncodeWriter::flushGifGroup() {
    AVCodecContext* ctx = video_->context();
    ResultCode result = ResultCode::Ok;
    bool flushed = gif_group_->flush([&](const uint8_t* indices, const GifPalette& palette, int64_t frame_index) {
        engine::FramePtr frame = engine::makeFrame();
        frame->format = AV_PIX_FMT_PAL8;
        frame->width = ctx->width;
        frame->height = ctx->height;
        if (av_frame_get_buffer(frame.get(), 0) < 0) {
            result = ResultCode::EncodeFailed;
            return false;
        }
        for (int y = 0; y < ctx->height; ++y)
            std::memcpy(frame->data[0] + size_t(y) * size_t(frame->linesize[0]), indices + size_t(y) * size_t(ctx->width),
                        size_t(ctx->width));
        std::memcpy(frame->data[1], palette.argb.data(), AVPALETTE_SIZE);
        frame->pts = frame_index;
        if (video_->send(frame.get()) < 0) {
            result = ResultCode::EncodeFailed;
            return false;
        }
        result = drain(*video_, video_index_);
        return result == ResultCode::Ok;
    });
    return flushed ? ResultCode::Ok : (result == ResultCode::Ok ? ResultCode::EncodeFailed : result);
}

bool EncodeWriter::takesAsIs(AVPixelFormat format, int width, int height) const {
    if (!video_ || gif_group_) return false;
    const AVCodecContext* ctx = video_->context();
    return ctx->pix_fmt == format && ctx->width == width && ctx->height == height;
}

ResultCode EncodeWriter::writeVideo(const AVFrame* picture, int64_t frame_index) {
    AVCodecContext* ctx = video_->context();
    if (takesAsIs(static_cast<AVPixelFormat>(picture->format), picture->width, picture->height)) {
        // Already the encoder's: one copy, since the caller reuses its picture's memory.
        av_frame_unref(converted_.get());
        converted_->format = picture->format;
        converted_->width = picture->width;
        converted_->height = picture->height;
        if (av_frame_get_buffer(converted_.get(), 0) < 0 || av_frame_copy(converted_.get(), picture) < 0)
            return ResultCode::EncodeFailed;
        converted_->pts = frame_index;
        if (video_->send(converted_.get()) < 0) return ResultCode::EncodeFailed;
        return drain(*video_, video_index_);
    }
    // GIF pictures are scaled to packed BGR and kept for the group's palette.
    const AVPixelFormat target_format = gif_group_ ? AV_PIX_FMT_BGR24 : ctx->pix_fmt;
    av_frame_unref(converted_.get());
    converted_->format = target_format;
    converted_->width = ctx->width;
    converted_->height = ctx->height;
    if (av_frame_get_buffer(converted_.get(), 0) < 0) return ResultCode::EncodeFailed;
    // The converter takes the target format from the destination frame.
    if (!converter_.convert(picture, converted_.get())) return ResultCode::EncodeFailed;
    if (gif_group_) {
        gif_group_->add(converted_->data[0], converted_->linesize[0], frame_index);
        return gif_group_->full() ? flushGifGroup() : ResultCode::Ok;
    }
    converted_->pts = frame_index;
    if (video_->send(converted_.get()) < 0) return ResultCode::EncodeFailed;
    return drain(*video_, video_index_);
}

ResultCode EncodeWriter::sendAudioFrame(int count) {
    AVCodecContext* ctx = audio_->context();
    engine::FramePtr frame = engine::makeFrame();
    frame->format = ctx->sample_fmt;
    frame->sample_rate = ctx->sample_rate;
    frame->nb_samples = count;
    if (av_channel_layout_copy(&frame->ch_layout, &ctx->ch_layout) < 0 || av_frame_get_buffer(frame.get(), 0) < 0)
        return ResultCode::EncodeFailed;
    int channels = ctx->ch_layout.nb_channels;
    bool planar = av_sample_fmt_is_planar(ctx->sample_fmt);
    AVSampleFormat packed = av_get_packed_sample_fmt(ctx->sample_fmt);
    for (int i = 0; i < count; ++i) {
        for (int c = 0; c < channels; ++c) {
            float v = std::clamp(pending_[static_cast<size_t>(i) * channels + c], -1.0f, 1.0f);
            int plane = planar ? c : 0;
            int index = planar ? i : i * channels + c;
            uint8_t* base = frame->extended_data[plane];
            switch (packed) {
                case AV_SAMPLE_FMT_FLT: reinterpret_cast<float*>(base)[index] = v; break;
                case AV_SAMPLE_FMT_DBL: reinterpret_cast<double*>(base)[index] = v; break;
                case AV_SAMPLE_FMT_S16: reinterpret_cast<int16_t*>(base)[index] = static_cast<int16_t>(v * 32767.0f); break;
                case AV_SAMPLE_FMT_S32: reinterpret_cast<int32_t*>(base)[index] = static_cast<int32_t>(v * 2147483520.0f); break;
                case AV_SAMPLE_FMT_U8: base[index] = static_cast<uint8_t>(128 + v * 127.0f); break;
                default: return ResultCode::EncoderMissing;
            }
        }
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(count) * channels);
    frame->pts = audio_pts_;
    audio_pts_ += count;
    if (audio_->send(frame.get()) < 0) return ResultCode::EncodeFailed;
    return drain(*audio_, audio_index_);
}

ResultCode EncodeWriter::writeAudio(const float* samples, int count) {
    int channels = audio_->context()->ch_layout.nb_channels;
    pending_.insert(pending_.end(), samples, samples + static_cast<size_t>(count) * channels);
    while (pending_.size() >= static_cast<size_t>(audio_frame_size_) * channels)
        if (ResultCode rc = sendAudioFrame(audio_frame_size_); rc != ResultCode::Ok) return rc;
    return ResultCode::Ok;
}

ResultCode EncodeWriter::finish() {
    if (audio_) {
        int channels = audio_->context()->ch_layout.nb_channels;
        int left = static_cast<int>(pending_.size() / channels);
        if (left > 0) {
            // Fixed-size encoders take a short last frame only when they say so; pad otherwise.
            bool variable = audio_->context()->codec->capabilities &
                            (AV_CODEC_CAP_VARIABLE_FRAME_SIZE | AV_CODEC_CAP_SMALL_LAST_FRAME);
            if (!variable) pending_.resize(static_cast<size_t>(audio_frame_size_) * channels, 0.0f);
            if (ResultCode rc = sendAudioFrame(variable ? left : audio_frame_size_); rc != ResultCode::Ok) return rc;
        }
        audio_->send(nullptr);
        if (ResultCode rc = drain(*audio_, audio_index_); rc != ResultCode::Ok) return rc;
    }
    if (video_) {
        if (gif_group_)
            if (ResultCode rc = flushGifGroup(); rc != ResultCode::Ok) return rc;
        video_->send(nullptr);
        if (ResultCode rc = drain(*video_, video_index_); rc != ResultCode::Ok) return rc;
    }
    int rc = output_->finish();
    output_.reset();
    return rc < 0 ? ResultCode::WriteFailed : ResultCode::Ok;
}

}  // namespace kestrel::editing

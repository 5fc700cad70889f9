#include "engine/mediacore/convert_smart_cut.h"

extern "C" {
#include <libavutil/opt.h>
}
#include <algorithm>
#include <climits>
#include <cstring>

#include "engine/core/ff_log.h"

namespace kestrel::mediacore {

using namespace kestrel::engine;

namespace {

constexpr int kIdrNal = 5;

// The NAL length size and the SPS and PPS of an avcC record, each NAL prefixed by its length.
bool readAvcC(const uint8_t* data, int size, int* length_size, std::vector<uint8_t>* sets) {
    if (size < 7 || data[0] != 1) return false;
    *length_size = (data[4] & 3) + 1;
    int at = 5;
    for (int kind = 0; kind < 2; ++kind) {
        if (at >= size) return false;
        int count = kind == 0 ? (data[at] & 0x1f) : data[at];
        ++at;
        for (int i = 0; i < count; ++i) {
            if (at + 2 > size) return false;
            const int length = (data[at] << 8) | data[at + 1];
            at += 2;
            if (at + length > size) return false;
            for (int b = *length_size - 1; b >= 0; --b) sets->push_back(uint8_t((length >> (8 * b)) & 0xff));
            sets->insert(sets->end(), data + at, data + at + length);
            at += length;
        }
    }
    return !sets->empty();
}

bool holdsIdr(const AVPacket* packet, int length_size) {
    const uint8_t* data = packet->data;
    int at = 0;
    while (at + length_size < packet->size) {
        int64_t length = 0;
        for (int b = 0; b < length_size; ++b) length = (length << 8) | data[at + b];
        at += length_size;
        if (length <= 0 || at + length > packet->size) return false;
        if ((data[at] & 0x1f) == kIdrNal) return true;
        at += int(length);
    }
    return false;
}

// Start-code separated NAL units as length-prefixed ones.
std::vector<uint8_t> lengthPrefixed(const uint8_t* data, int size, int length_size) {
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
    for (const auto& [from, to] : units) {
        const int length = to - from;
        if (length <= 0) continue;
        for (int b = length_size - 1; b >= 0; --b) out.push_back(uint8_t((length >> (8 * b)) & 0xff));
        out.insert(out.end(), data + from, data + to);
    }
    return out;
}

}  // namespace

struct SmartCutVideo::Coder {
    std::unique_ptr<StreamDecoder> decoder;
    CodecContextPtr encoder;
    int64_t from_us = 0, to_us = 0;
};

SmartCutVideo::~SmartCutVideo() = default;

int64_t SmartCutVideo::packetUs(const AVPacket* packet) const {
    return input_->toFileTimeUs(stream_index_, packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts);
}

std::unique_ptr<SmartCutVideo> SmartCutVideo::plan(MediaInput& input, int stream_index, int64_t cut_start_us,
                                                   int64_t cut_end_us) {
    const AVStream* st = input.stream(stream_index);
    if (!st || st->codecpar->codec_id != AV_CODEC_ID_H264 || (cut_start_us <= 0 && cut_end_us <= 0)) return nullptr;
    std::unique_ptr<SmartCutVideo> cut(new SmartCutVideo);
    if (!readAvcC(st->codecpar->extradata, st->codecpar->extradata_size, &cut->nal_length_size_, &cut->parameter_sets_))
        return nullptr;
    cut->input_ = &input;
    cut->stream_ = st;
    cut->stream_index_ = stream_index;
    cut->cut_start_us_ = cut_start_us;
    cut->cut_end_us_ = cut_end_us;
    cut->offset_ = input.fromFileTimeUs(stream_index, cut_start_us);
    const AVRational rate = av_guess_frame_rate(nullptr, const_cast<AVStream*>(st), nullptr);
    const int64_t tolerance = rate.num > 0 ? std::max<int64_t>(1000, av_rescale(500000, rate.den, rate.num)) : 1000;

    // The first IDR key frame at or after the cut start.
    PacketPtr packet = makePacket();
    bool found = false;
    input.seekUs(cut_start_us);
    while (input.readPacket(packet.get()) >= 0) {
        if (packet->stream_index == stream_index) {
            const int64_t at = cut->packetUs(packet.get());
            if (cut_end_us > 0 && at >= cut_end_us) break;
            if ((packet->flags & AV_PKT_FLAG_KEY) && at >= cut_start_us - tolerance && holdsIdr(packet.get(), cut->nal_length_size_)) {
                cut->head_end_us_ = at;
                if (packet->pts != AV_NOPTS_VALUE && packet->dts != AV_NOPTS_VALUE) cut->dts_delay_ = packet->pts - packet->dts;
                found = true;
                av_packet_unref(packet.get());
                break;
            }
        }
        av_packet_unref(packet.get());
    }
    // The last IDR key frame before the cut end: where the tail is encoded again.
    cut->tail_start_us_ = INT64_MAX;
    bool usable = found;
    if (found && cut_end_us > 0) {
        input.seekUs(cut_end_us);
        while (input.readPacket(packet.get()) >= 0) {
            if (packet->stream_index != stream_index) {
                av_packet_unref(packet.get());
                continue;
            }
            const int64_t at = cut->packetUs(packet.get());
            const bool idr = (packet->flags & AV_PKT_FLAG_KEY) && holdsIdr(packet.get(), cut->nal_length_size_);
            av_packet_unref(packet.get());
            if (!idr || at < cut->head_end_us_) usable = false;
            else if (at < cut_end_us - tolerance) cut->tail_start_us_ = at;
            break;
        }
    }
    input.seekUs(0);
    const bool headless = cut->head_end_us_ <= cut_start_us + tolerance;
    if (!usable || (headless && cut->tail_start_us_ == INT64_MAX && cut_end_us <= 0)) return nullptr;
    cut->phase_ = headless ? Phase::Copy : Phase::Head;
    return cut;
}

ResultCode SmartCutVideo::startCoder(int64_t from_us, int64_t to_us) {
    coder_ = std::make_unique<Coder>();
    coder_->decoder = StreamDecoder::open(stream_);
    if (!coder_->decoder) return ResultCode::DecodeFailed;
    coder_->from_us = from_us;
    coder_->to_us = to_us;
    return ResultCode::Ok;
}

ResultCode SmartCutVideo::handle(AVPacket* packet, const Writer& write) {
    if (done_) return ResultCode::Ok;
    const int64_t at = packetUs(packet);
    const int64_t decoded_at = input_->toFileTimeUs(stream_index_, packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts);
    const bool key = packet->flags & AV_PKT_FLAG_KEY;
    switch (phase_) {
    case Phase::Head:
        if (key && at >= head_end_us_) {
            ResultCode rc = endCoder(write);
            if (rc != ResultCode::Ok) return rc;
            phase_ = Phase::Copy;
            return copy(packet, true, write);
        }
        if (!coder_) {
            ResultCode rc = startCoder(cut_start_us_, head_end_us_);
            if (rc != ResultCode::Ok) return rc;
        }
        return decode(packet, write);
    case Phase::Copy:
        if (key && at >= tail_start_us_) {
            phase_ = Phase::Tail;
            ResultCode rc = startCoder(tail_start_us_, cut_end_us_);
            if (rc != ResultCode::Ok) return rc;
            return decode(packet, write);
        }
        if (cut_end_us_ > 0 && decoded_at >= cut_end_us_) {
            done_ = true;
            return ResultCode::Ok;
        }
        if (at < cut_start_us_ - 1000 || (cut_end_us_ > 0 && at >= cut_end_us_)) return ResultCode::Ok;
        return copy(packet, false, write);
    case Phase::Tail:
        if (decoded_at >= cut_end_us_) {
            done_ = true;
            return endCoder(write);
        }
        return decode(packet, write);
    }
    return ResultCode::Ok;
}

ResultCode SmartCutVideo::decode(const AVPacket* packet, const Writer& write) {
    int rc = coder_->decoder->send(packet);
    if (rc < 0 && rc != AVERROR(EAGAIN) && rc != AVERROR_EOF && packet) return ResultCode::Ok;  // damaged packet: skipped
    FramePtr frame = makeFrame();
    for (;;) {
        rc = coder_->decoder->receive(frame.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) break;
        if (rc < 0) continue;
        const int64_t at = input_->toFileTimeUs(stream_index_, frame->pts);
        // Half a millisecond either way: a frame on the cut start belongs to the range, one on its end does not.
        const bool inside = at != AV_NOPTS_VALUE && at >= coder_->from_us - 500 &&
                            (coder_->to_us <= 0 || at < coder_->to_us - 500);
        if (inside) {
            frame->pts -= offset_;
            ResultCode encoded = encode(frame.get(), write);
            if (encoded != ResultCode::Ok) return encoded;
        }
        av_frame_unref(frame.get());
    }
    return ResultCode::Ok;
}

ResultCode SmartCutVideo::encode(AVFrame* frame, const Writer& write) {
    if (!coder_->encoder && frame) {
        const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
        if (!codec) codec = avcodec_find_encoder(AV_CODEC_ID_H264);
        if (!codec) return ResultCode::EncoderMissing;
        quietFfmpegLog();
        coder_->encoder.reset(avcodec_alloc_context3(codec));
        AVCodecContext* ctx = coder_->encoder.get();
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
        ctx->profile = stream_->codecpar->profile;
        // No reordering: the stretch's time stamps then fit before the copied packets.
        ctx->max_b_frames = 0;
        ctx->gop_size = 1 << 20;
        av_opt_set(ctx->priv_data, "crf", "16", 0);
        av_opt_set(ctx->priv_data, "preset", "fast", 0);
        if (avcodec_open2(ctx, codec, nullptr) < 0) return ResultCode::EncoderMissing;
    }
    if (!coder_->encoder) return ResultCode::Ok;
    AVCodecContext* ctx = coder_->encoder.get();
    if (frame) frame->pict_type = AV_PICTURE_TYPE_NONE;
    int rc = avcodec_send_frame(ctx, frame);
    if (rc < 0 && rc != AVERROR_EOF) return ResultCode::EncodeFailed;
    PacketPtr encoded = makePacket();
    for (;;) {
        rc = avcodec_receive_packet(ctx, encoded.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) break;
        if (rc < 0) return ResultCode::EncodeFailed;
        const std::vector<uint8_t> data = lengthPrefixed(encoded->data, encoded->size, nal_length_size_);
        PacketPtr out = makePacket();
        if (av_new_packet(out.get(), int(data.size())) < 0) return ResultCode::EncodeFailed;
        std::memcpy(out->data, data.data(), data.size());
        av_packet_copy_props(out.get(), encoded.get());
        out->pts = encoded->pts;
        // The head comes before copied packets decoded ahead of their showing: its decoding
        // times move back by the same delay.
        out->dts = phase_ == Phase::Head ? encoded->dts - dts_delay_ : encoded->dts;
        reached_us_ = std::max(reached_us_, av_rescale_q(out->pts, ctx->time_base, AV_TIME_BASE_Q));
        av_packet_unref(encoded.get());
        if (write(out.get(), ctx->time_base) < 0) return ResultCode::WriteFailed;
        wrote_ = true;
    }
    return ResultCode::Ok;
}

ResultCode SmartCutVideo::endCoder(const Writer& write) {
    if (!coder_) return ResultCode::Ok;
    ResultCode rc = decode(nullptr, write);
    if (rc == ResultCode::Ok) rc = encode(nullptr, write);
    coder_.reset();
    return rc;
}

ResultCode SmartCutVideo::copy(AVPacket* packet, bool withParameterSets, const Writer& write) {
    PacketPtr out = makePacket();
    if (withParameterSets) {
        // The stretch before carried its own parameter sets: the source's come back here.
        if (av_new_packet(out.get(), int(parameter_sets_.size()) + packet->size) < 0) return ResultCode::WriteFailed;
        std::memcpy(out->data, parameter_sets_.data(), parameter_sets_.size());
        std::memcpy(out->data + parameter_sets_.size(), packet->data, packet->size);
        av_packet_copy_props(out.get(), packet);
    } else if (av_packet_ref(out.get(), packet) < 0) {
        return ResultCode::WriteFailed;
    }
    if (out->pts != AV_NOPTS_VALUE) out->pts -= offset_;
    if (out->dts != AV_NOPTS_VALUE) out->dts -= offset_;
    if (out->pts != AV_NOPTS_VALUE)
        reached_us_ = std::max(reached_us_, av_rescale_q(out->pts, stream_->time_base, AV_TIME_BASE_Q));
    if (write(out.get(), stream_->time_base) < 0) return ResultCode::WriteFailed;
    wrote_ = true;
    return ResultCode::Ok;
}

ResultCode SmartCutVideo::finish(const Writer& write) {
    done_ = true;
    return endCoder(write);
}

}  // namespace kestrel::mediacore

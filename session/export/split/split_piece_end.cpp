#include "session/export/split/split_piece_end.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <memory>

namespace kestrel::session {
namespace {

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

}  // namespace

int64_t mediaEndUs(const QString& path) {
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.toUtf8().constData(), nullptr, nullptr) < 0) return -1;
    std::unique_ptr<AVFormatContext, InputCloser> input(raw);
    if (avformat_find_stream_info(input.get(), nullptr) < 0) return -1;
    int stream = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0) stream = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream < 0) return -1;
    const AVStream* st = input->streams[stream];
    const AVRational timeBase = st->time_base;
    // Writers that leave packet durations out: one frame (or one sound frame) per packet.
    int64_t usualDuration = 0;
    if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
        const AVRational rate = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
        if (rate.num > 0 && rate.den > 0) usualDuration = av_rescale_q(1, av_inv_q(rate), timeBase);
    } else if (st->codecpar->sample_rate > 0 && st->codecpar->frame_size > 0) {
        usualDuration = av_rescale_q(st->codecpar->frame_size, AVRational{1, st->codecpar->sample_rate}, timeBase);
    }

    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    int64_t first = AV_NOPTS_VALUE, last = AV_NOPTS_VALUE;
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == stream) {
            const int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (pts != AV_NOPTS_VALUE) {
                first = first == AV_NOPTS_VALUE ? pts : std::min(first, pts);
                const int64_t end = pts + (packet->duration > 0 ? packet->duration : usualDuration);
                last = last == AV_NOPTS_VALUE ? end : std::max(last, end);
            }
        }
        av_packet_unref(packet.get());
    }
    if (first == AV_NOPTS_VALUE) return -1;
    return av_rescale_q(last - first, timeBase, AV_TIME_BASE_Q);
}

}  // namespace kestrel::session

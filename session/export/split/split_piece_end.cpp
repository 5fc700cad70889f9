#include "session/export/split/split_piece_end.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <functional>
#include <memory>

namespace kestrel::session {
namespace {

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;

Input openInput(const QString& path) {
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.toUtf8().constData(), nullptr, nullptr) < 0) return nullptr;
    Input input(raw);
    if (avformat_find_stream_info(input.get(), nullptr) < 0) return nullptr;
    return input;
}

// The stream a file's length is measured on: its video, else its sound; -1 when none.
int mainStream(AVFormatContext* input, bool video_only) {
    const int video = av_find_best_stream(input, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video >= 0 || video_only) return video;
    return av_find_best_stream(input, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
}

// The file's time line starts at its container start time (the first packet of any stream).
int64_t fileStart(const AVFormatContext* input, const AVStream* st) {
    if (input->start_time != AV_NOPTS_VALUE) return av_rescale_q(input->start_time, AV_TIME_BASE_Q, st->time_base);
    return st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
}

// Calls `look` with every packet of the stream from where the input stands; stops when it
// returns false.
void readPackets(AVFormatContext* input, int stream, const std::function<bool(const AVPacket&)>& look) {
    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    while (av_read_frame(input, packet.get()) >= 0) {
        const bool go_on = packet->stream_index != stream || look(*packet);
        av_packet_unref(packet.get());
        if (!go_on) return;
    }
}

}  // namespace

int64_t mediaEndUs(const QString& path) {
    Input input = openInput(path);
    if (!input) return -1;
    const int stream = mainStream(input.get(), false);
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
    int64_t last = AV_NOPTS_VALUE;
    readPackets(input.get(), stream, [&](const AVPacket& packet) {
        const int64_t pts = packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
        if (pts != AV_NOPTS_VALUE) {
            const int64_t end = pts + (packet.duration > 0 ? packet.duration : usualDuration);
            last = last == AV_NOPTS_VALUE ? end : std::max(last, end);
        }
        return true;
    });
    if (last == AV_NOPTS_VALUE) return -1;
    return av_rescale_q(last - fileStart(input.get(), st), timeBase, AV_TIME_BASE_Q);
}

int64_t lastPictureShownUs(const QString& path) {
    Input input = openInput(path);
    if (!input) return -1;
    const int stream = mainStream(input.get(), true);
    if (stream < 0) return -1;
    int64_t last = AV_NOPTS_VALUE;
    readPackets(input.get(), stream, [&](const AVPacket& packet) {
        if (packet.pts != AV_NOPTS_VALUE) last = last == AV_NOPTS_VALUE ? packet.pts : std::max(last, packet.pts);
        return true;
    });
    if (last == AV_NOPTS_VALUE) return -1;
    const AVStream* st = input->streams[stream];
    return av_rescale_q(last - fileStart(input.get(), st), st->time_base, AV_TIME_BASE_Q);
}

int64_t firstPictureAfterUs(const QString& path, int64_t time_us) {
    Input input = openInput(path);
    if (!input) return -1;
    const int stream = mainStream(input.get(), true);
    if (stream < 0) return -1;
    const AVStream* st = input->streams[stream];
    const int64_t start = fileStart(input.get(), st);
    const int64_t after = av_rescale_q(time_us, AV_TIME_BASE_Q, st->time_base) + start;
    // From well before the time: a picture shown just after it may be decoded a few pictures
    // earlier, and some demuxers seek by decoding time.
    const int64_t from = av_rescale_q(std::max<int64_t>(0, time_us - 2000000), AV_TIME_BASE_Q, st->time_base) + start;
    if (av_seek_frame(input.get(), stream, from, AVSEEK_FLAG_BACKWARD) < 0) av_seek_frame(input.get(), stream, start, AVSEEK_FLAG_BACKWARD);
    // A millisecond of slack for time stamps the container rounded.
    const int64_t slack = std::max<int64_t>(1, av_rescale_q(1000, AV_TIME_BASE_Q, st->time_base));
    int64_t first = AV_NOPTS_VALUE;
    readPackets(input.get(), stream, [&](const AVPacket& packet) {
        if (packet.pts != AV_NOPTS_VALUE && packet.pts > after + slack / 2 && (first == AV_NOPTS_VALUE || packet.pts < first))
            first = packet.pts;
        // Nothing decoded after the earliest picture found can be shown before it.
        const int64_t decoded = packet.dts != AV_NOPTS_VALUE ? packet.dts : packet.pts;
        return first == AV_NOPTS_VALUE || decoded == AV_NOPTS_VALUE || decoded < first;
    });
    if (first == AV_NOPTS_VALUE) return -1;
    return av_rescale_q(first - start, st->time_base, AV_TIME_BASE_Q);
}

}  // namespace kestrel::session

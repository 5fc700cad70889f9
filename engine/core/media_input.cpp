#include "engine/core/media_input.h"

#include "engine/core/ff_log.h"

extern "C" {
#include <libavutil/display.h>
}
#include <algorithm>
#include <cmath>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace kestrel::engine {

namespace {

bool isCoverPicture(const AVStream* st) { return (st->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0; }

bool isImageFormat(const AVFormatContext* fmt) {
    const char* name = fmt->iformat ? fmt->iformat->name : "";
    return std::strstr(name, "image2") != nullptr || std::strstr(name, "_pipe") != nullptr;
}

// How long one picture of the stream lasts (µs), from its frame rate; 0 when it has none.
int64_t oneFrameUs(const AVStream* st) {
    AVRational rate = st->avg_frame_rate.num > 0 && st->avg_frame_rate.den > 0 ? st->avg_frame_rate : st->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) return 0;
    return av_rescale_q(1, av_inv_q(rate), AV_TIME_BASE_Q);
}

}  // namespace

int normalizedAngle(int degrees) {
    int angle = degrees % 360;
    return angle < 0 ? angle + 360 : angle;
}

std::unique_ptr<MediaInput> MediaInput::open(const std::string& path, std::string* error) {
    auto fail = [&](const std::string& message) -> std::unique_ptr<MediaInput> {
        if (error) *error = message;
        return nullptr;
    };
    quietFfmpegLog();
    if (path.empty()) return fail("empty path");
    // A FIFO or a device would block the open or never end; a folder holds no media.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return fail("cannot open " + path + ": " + std::strerror(errno));
    if (!S_ISREG(info.st_mode)) return fail(path + " is not a regular file");
    AVFormatContext* raw = nullptr;
    int rc = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
    if (rc < 0) return fail("cannot open " + path + ": " + ffErrorText(rc));
    std::unique_ptr<MediaInput> input(new MediaInput());
    input->format_.reset(raw);
    input->path_ = path;
    rc = avformat_find_stream_info(raw, nullptr);
    if (rc < 0) return fail("cannot read stream info of " + path + ": " + ffErrorText(rc));

    std::vector<int> videos = input->streamsOfType(AVMEDIA_TYPE_VIDEO);
    if (!videos.empty()) {
        int best = av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        bool usable = best >= 0 && std::find(videos.begin(), videos.end(), best) != videos.end();
        input->best_video_ = usable ? best : videos.front();
    }
    int audio = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    input->best_audio_ = audio >= 0 ? audio : -1;
    if (input->best_video_ < 0 && input->best_audio_ < 0) return fail("no audio or video stream in " + path);
    if (input->best_video_ >= 0) {
        const AVCodecParameters* par = raw->streams[input->best_video_]->codecpar;
        if (par->width <= 0 || par->height <= 0) return fail("video stream without a size in " + path);
    }

    // A raw elementary stream: no start time, and no length but a guess from its bit rate.
    const bool length_untold = raw->start_time == AV_NOPTS_VALUE &&
                               (raw->duration == AV_NOPTS_VALUE || raw->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE);
    input->start_time_us_ = raw->start_time != AV_NOPTS_VALUE ? raw->start_time : 0;
    int64_t duration = raw->duration != AV_NOPTS_VALUE ? raw->duration : 0;
    if (duration <= 0) {
        for (unsigned i = 0; i < raw->nb_streams; ++i) {
            const AVStream* st = raw->streams[i];
            if (st->duration != AV_NOPTS_VALUE)
                duration = std::max(duration, av_rescale_q(st->duration, st->time_base, AV_TIME_BASE_Q));
        }
    }
    // A picture file is still; a video file that holds one frame is a video one frame long.
    input->still_picture_ = input->best_audio_ < 0 && input->best_video_ >= 0 && isImageFormat(raw);
    if (!input->still_picture_ && input->best_video_ >= 0 && input->best_audio_ < 0 && length_untold) {
        input->measureUntimedLength();
        duration = input->duration_us_;
    }
    if (!input->still_picture_ && input->best_audio_ < 0 && input->best_video_ >= 0 && duration <= 0)
        duration = oneFrameUs(raw->streams[input->best_video_]);
    input->duration_us_ = input->still_picture_ ? 0 : std::max<int64_t>(duration, 0);
    return input;
}

AVStream* MediaInput::stream(int index) const {
    if (index < 0 || index >= streamCount()) return nullptr;
    return format_->streams[index];
}

int MediaInput::streamCount() const { return static_cast<int>(format_->nb_streams); }

std::vector<int> MediaInput::streamsOfType(AVMediaType type) const {
    std::vector<int> result;
    for (int i = 0; i < streamCount(); ++i) {
        const AVStream* st = format_->streams[i];
        if (st->codecpar->codec_type != type) continue;
        if (type == AVMEDIA_TYPE_VIDEO && isCoverPicture(st)) continue;
        result.push_back(i);
    }
    return result;
}

int MediaInput::audioStreamOrDefault(int index) const {
    const AVStream* st = stream(index);
    if (st && st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) return index;
    return best_audio_;
}

int MediaInput::displayRotationDeg(int stream_index) const {
    const AVStream* st = stream(stream_index);
    if (!st) return 0;
    double counter_clockwise = 0;
    const uint8_t* matrix = av_stream_get_side_data(st, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
    if (matrix) {
        counter_clockwise = av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
        if (std::isnan(counter_clockwise)) counter_clockwise = 0;
    } else if (const AVDictionaryEntry* tag = av_dict_get(st->metadata, "rotate", nullptr, 0)) {
        // The legacy tag already names the clockwise turn.
        counter_clockwise = -std::atof(tag->value);
    }
    int clockwise = static_cast<int>(std::lround(-counter_clockwise));
    // Snap to quarter turns: players only honour those.
    return normalizedAngle(static_cast<int>(std::lround(normalizedAngle(clockwise) / 90.0)) * 90);
}

void MediaInput::measureUntimedLength() {
    AVStream* st = format_->streams[best_video_];
    const AVRational rate = av_guess_frame_rate(format_.get(), st, nullptr);
    if (rate.num <= 0 || rate.den <= 0) return;
    PacketPtr packet = makePacket();
    int64_t pictures = 0;
    while (av_read_frame(format_.get(), packet.get()) >= 0) {
        if (packet->stream_index == best_video_) ++pictures;
        av_packet_unref(packet.get());
    }
    read_since_seek_ = true;
    // Times the demuxer made up for such a stream would follow its packets' decoding order.
    counted_stream_ = best_video_;
    counted_step_ = std::max<int64_t>(av_rescale_q(1, av_inv_q(rate), st->time_base), 1);
    duration_us_ = av_rescale_q(pictures * counted_step_, st->time_base, AV_TIME_BASE_Q);
    rewind();
}

bool MediaInput::seekUs(int64_t time_us) {
    if (counted_step_ > 0) return rewind();  // no times to seek by: counting starts at the first picture
    if (time_us <= 0) return rewind();
    if (best_video_ < 0) return seekOnceUs(time_us);
    // Streams without an index may land on any frame, and demuxers that seek by decoding time
    // (MP4) land on a key frame shown after the time when pictures are reordered: step back
    // until the first video packet read is a key frame shown at or before the time. Landing is
    // deterministic, so the final seek lands there again.
    int64_t target = time_us;
    int64_t step_us = 250000;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (!seekOnceUs(target)) return attempt > 0 ? rewind() : false;
        if (landsOnKeyFrameBefore(time_us)) return seekOnceUs(target);
        target -= step_us;
        step_us *= 2;
        if (target <= 0) break;
    }
    return rewind();
}

bool MediaInput::seekOnceUs(int64_t time_us) {
    int64_t target = time_us + start_time_us_;
    int rc = avformat_seek_file(format_.get(), -1, INT64_MIN, target, target, 0);
    if (rc < 0) rc = av_seek_frame(format_.get(), -1, target, AVSEEK_FLAG_BACKWARD);
    read_since_seek_ = false;
    return rc >= 0;
}

bool MediaInput::rewind() {
    if (!read_since_seek_) return true;
    const AVInputFormat* iformat = format_->iformat;
    // Demuxers without an index (pictures, streams whose time stamps may jump) are read from
    // their first byte again; the others seek to their first key frame by time.
    const bool by_bytes = still_picture_ || counted_step_ > 0 || (iformat->flags & AVFMT_TS_DISCONT);
    if (by_bytes && !(iformat->flags & AVFMT_NO_BYTE_SEEK) &&
        av_seek_frame(format_.get(), -1, 0, AVSEEK_FLAG_BYTE) >= 0) {
        read_since_seek_ = false;
        return true;
    }
    return seekOnceUs(0);
}

bool MediaInput::landsOnKeyFrameBefore(int64_t time_us) {
    PacketPtr packet = makePacket();
    // A few hundred packets of other streams at most before the video's first.
    for (int read = 0; read < 512; ++read) {
        if (readPacket(packet.get()) < 0) return false;
        const bool video = packet->stream_index == best_video_;
        const bool key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
        // A millisecond of slack for time stamps the container rounded.
        const bool before = packet->pts == AV_NOPTS_VALUE || toFileTimeUs(best_video_, packet->pts) <= time_us + 1000;
        av_packet_unref(packet.get());
        if (video) return key && before;
    }
    return false;
}

int MediaInput::readPacket(AVPacket* packet) {
    read_since_seek_ = true;
    const int rc = av_read_frame(format_.get(), packet);
    // Decode times a demuxer guessed for a stream timed by count are dropped: the count is the
    // one time line.
    if (rc >= 0 && packet->stream_index == counted_stream_) packet->pts = packet->dts = AV_NOPTS_VALUE;
    return rc;
}

int64_t MediaInput::toFileTimeUs(int stream_index, int64_t pts) const {
    const AVStream* st = stream(stream_index);
    if (!st || pts == AV_NOPTS_VALUE) return AV_NOPTS_VALUE;
    return av_rescale_q(pts, st->time_base, AV_TIME_BASE_Q) - start_time_us_;
}

int64_t MediaInput::fromFileTimeUs(int stream_index, int64_t time_us) const {
    const AVStream* st = stream(stream_index);
    if (!st) return AV_NOPTS_VALUE;
    return av_rescale_q(time_us + start_time_us_, AV_TIME_BASE_Q, st->time_base);
}

}  // namespace kestrel::engine

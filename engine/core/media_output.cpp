#include "engine/core/media_output.h"

#include "engine/core/container_codecs.h"
#include "engine/core/ff_log.h"

#include <cstring>

namespace kestrel::engine {

std::unique_ptr<MediaOutput> MediaOutput::open(const std::string& write_path, const std::string& name_for_format,
                                               std::string* error) {
    auto fail = [&](const std::string& message) -> std::unique_ptr<MediaOutput> {
        if (error) *error = message;
        return nullptr;
    };
    quietFfmpegLog();
    const AVOutputFormat* oformat = av_guess_format(nullptr, muxerNameFor(name_for_format).c_str(), nullptr);
    if (!oformat) return fail("no container for the extension of " + name_for_format);
    AVFormatContext* raw = nullptr;
    int rc = avformat_alloc_output_context2(&raw, oformat, nullptr, write_path.c_str());
    if (rc < 0 || !raw) return fail("cannot make the output: " + ffErrorText(rc));
    std::unique_ptr<MediaOutput> output(new MediaOutput());
    output->format_.reset(raw);
    output->name_ = name_for_format;
    output->audio_only_ = isAudioOnlyName(name_for_format);
    if (!(oformat->flags & AVFMT_NOFILE)) {
        rc = avio_open(&raw->pb, write_path.c_str(), AVIO_FLAG_WRITE);
        if (rc < 0) return fail("cannot write " + write_path + ": " + ffErrorText(rc));
    }
    return output;
}

std::unique_ptr<MediaOutput> MediaOutput::describe(const std::string& name_for_format) {
    quietFfmpegLog();
    const AVOutputFormat* oformat = av_guess_format(nullptr, muxerNameFor(name_for_format).c_str(), nullptr);
    if (!oformat) return nullptr;
    AVFormatContext* raw = nullptr;
    if (avformat_alloc_output_context2(&raw, oformat, nullptr, nullptr) < 0 || !raw) return nullptr;
    std::unique_ptr<MediaOutput> output(new MediaOutput());
    output->format_.reset(raw);
    output->name_ = name_for_format;
    output->audio_only_ = isAudioOnlyName(name_for_format);
    return output;
}

MediaOutput::~MediaOutput() {
    if (format_ && !(format_->oformat->flags & AVFMT_NOFILE)) avio_closep(&format_->pb);
}

bool MediaOutput::accepts(AVCodecID codec) const {
    if (codec == AV_CODEC_ID_NONE || !suitsSoundType(name_, codec) || refusesOnSetUp(format_->oformat, codec)) return false;
    int answer = avformat_query_codec(format_->oformat, codec, FF_COMPLIANCE_NORMAL);
    if (answer >= 0) return answer == 1;
    // Containers that cannot tell hold at least their own default codecs.
    const AVOutputFormat* f = format_->oformat;
    return codec == f->video_codec || codec == f->audio_codec || codec == f->subtitle_codec || mapsKnownCodec(f, codec);
}

int MediaOutput::addStream(const AVCodecContext* encoder) {
    AVStream* st = avformat_new_stream(format_.get(), nullptr);
    if (!st) return AVERROR(ENOMEM);
    int rc = avcodec_parameters_from_context(st->codecpar, encoder);
    if (rc < 0) return rc;
    st->time_base = encoder->time_base;
    if (encoder->codec_type == AVMEDIA_TYPE_VIDEO) {
        st->avg_frame_rate = encoder->framerate;
        st->sample_aspect_ratio = encoder->sample_aspect_ratio;
    }
    return st->index;
}

int MediaOutput::addCopyStream(const AVStream* source) {
    AVStream* st = avformat_new_stream(format_.get(), nullptr);
    if (!st) return AVERROR(ENOMEM);
    int rc = avcodec_parameters_copy(st->codecpar, source->codecpar);
    if (rc < 0) return rc;
    // A tag valid in the source container may be wrong in this one; let the muxer choose.
    st->codecpar->codec_tag = 0;
    st->time_base = source->time_base;
    st->avg_frame_rate = source->avg_frame_rate;
    st->r_frame_rate = source->r_frame_rate;
    st->sample_aspect_ratio = source->sample_aspect_ratio;
    // Copied pictures are not turned, so the display rotation (and the rest of the stream's side
    // data) must travel with them or the video plays sideways.
    for (int i = 0; i < source->nb_side_data; ++i) {
        const AVPacketSideData& data = source->side_data[i];
        uint8_t* copy = av_stream_new_side_data(st, data.type, data.size);
        if (!copy) return AVERROR(ENOMEM);
        std::memcpy(copy, data.data, data.size);
    }
    return st->index;
}

int MediaOutput::writeHeader() {
    int rc = avformat_write_header(format_.get(), nullptr);
    if (rc >= 0) header_written_ = true;
    return rc;
}

int MediaOutput::write(AVPacket* packet, int stream_index, AVRational from) {
    AVStream* st = format_->streams[stream_index];
    packet->stream_index = stream_index;
    av_packet_rescale_ts(packet, from, st->time_base);
    packet->pos = -1;
    // Sources with repeated or falling time stamps (damaged or badly muxed files) are mended as
    // players would read them: each packet one tick after the one before.
    if (last_dts_.size() < format_->nb_streams) last_dts_.resize(format_->nb_streams, AV_NOPTS_VALUE);
    int64_t& last = last_dts_[stream_index];
    if (packet->dts != AV_NOPTS_VALUE) {
        if (last != AV_NOPTS_VALUE && packet->dts <= last) {
            const int64_t shift = last + 1 - packet->dts;
            packet->dts += shift;
            if (packet->pts != AV_NOPTS_VALUE && packet->pts < packet->dts) packet->pts = packet->dts;
        }
        last = packet->dts;
    }
    return av_interleaved_write_frame(format_.get(), packet);
}

int MediaOutput::finish() {
    if (!header_written_ || finished_) return AVERROR(EINVAL);
    finished_ = true;
    int rc = av_write_trailer(format_.get());
    if (!(format_->oformat->flags & AVFMT_NOFILE)) {
        // The trailer's last bytes may still sit in the buffer: closing writes them but does not
        // report a failed write, so flush first and read the error while it can be seen.
        if (format_->pb) avio_flush(format_->pb);
        if (format_->pb && format_->pb->error < 0 && rc >= 0) rc = format_->pb->error;
        int close_rc = avio_closep(&format_->pb);
        if (rc >= 0 && close_rc < 0) rc = close_rc;
    }
    return rc;
}

int64_t MediaOutput::bytesWritten() const {
    return format_->pb ? avio_tell(format_->pb) : 0;
}

}  // namespace kestrel::engine

// Joining by re-encoding: every clip's decoded picture and sound enter one filter graph (see
// join_graph.h) that normalises, cuts and joins them; its two outputs are encoded and muxed.
// Clips are fed on demand: the graph input that has asked most often gets the next frame, so
// a transition can draw from two clips at once and the others wait unopened.
#include "engine/core/ff_handles.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
}
#include <memory>
#include <vector>

#include "engine/core/join_clip_feeder.h"
#include "engine/core/join_graph.h"
#include "engine/core/join_job.h"
#include "engine/core/join_pipelines.h"
#include "engine/core/stream_encoder.h"

namespace kestrel::engine {
namespace {

struct GraphInput {
    AVFilterContext* source = nullptr;
    size_t clip = 0;
    JoinClipFeeder::Kind kind = JoinClipFeeder::Kind::Video;
    bool ended = false;
};

struct GraphOutput {
    AVFilterContext* sink = nullptr;
    std::unique_ptr<StreamEncoder> encoder;
    int stream = -1;
    bool ended = false;
};

std::string sourceArgs(const AVStream* stream) {
    const AVCodecParameters* par = stream->codecpar;
    char args[512];
    if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
        const AVRational sar = par->sample_aspect_ratio.num > 0 ? par->sample_aspect_ratio : AVRational{1, 1};
        std::snprintf(args, sizeof args, "video_size=%dx%d:pix_fmt=%d:time_base=1/1000000:pixel_aspect=%d/%d", par->width,
                      par->height, par->format, sar.num, sar.den);
    } else {
        char layout[128] = {};
        AVChannelLayout channels;
        if (par->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) av_channel_layout_default(&channels, par->ch_layout.nb_channels);
        else av_channel_layout_copy(&channels, &par->ch_layout);
        av_channel_layout_describe(&channels, layout, sizeof layout);
        av_channel_layout_uninit(&channels);
        std::snprintf(args, sizeof args, "sample_rate=%d:sample_fmt=%s:channel_layout=%s:time_base=1/1000000", par->sample_rate,
                      av_get_sample_fmt_name(static_cast<AVSampleFormat>(par->format)), layout);
    }
    return args;
}

// A picture of another format or size would be read as garbage by the encoder.
bool fitsEncoder(const AVFrame* frame, const AVCodecContext* encoder) {
    return frame->format == encoder->pix_fmt && frame->width == encoder->width && frame->height == encoder->height;
}

class EncodeJoin {
public:
    EncodeJoin(JoinPlan& plan, MediaOutput& output, JoinJob& job) : plan_(plan), output_(output), job_(job) {}

    ResultCode run(std::string* error) {
        if (const ResultCode rc = openEncoders(error); rc != ResultCode::Ok) return rc;
        if (const ResultCode rc = buildGraph(error); rc != ResultCode::Ok) return rc;
        if (output_.writeHeader() < 0) {
            *error = "cannot start the joined file";
            return ResultCode::WriteFailed;
        }
        for (size_t i = 0; i < plan_.clips.size(); ++i) feeders_.push_back(std::make_unique<JoinClipFeeder>(plan_.clips[i]));
        return pump(error);
    }

private:
    ResultCode openEncoders(std::string* error) {
        if (plan_.has_video) {
            VideoEncodeParams params;
            params.codec = plan_.video_encoder;
            params.width = plan_.width;
            params.height = plan_.height;
            params.pixel_format = choosePixelFormat(params.codec, AV_PIX_FMT_YUV420P);
            params.frame_rate = plan_.frame_rate;
            params.time_base = av_inv_q(plan_.frame_rate);
            params.sample_aspect = AVRational{1, 1};
            params.bit_rate = static_cast<int64_t>(plan_.video_kbps) * 1000;
            params.global_header = output_.wantsGlobalHeader();
            formats_.pixel_format = av_get_pix_fmt_name(static_cast<AVPixelFormat>(params.pixel_format));
            video_.encoder = StreamEncoder::openVideo(params, error);
            if (!video_.encoder) return ResultCode::EncoderMissing;
            video_.stream = output_.addStream(video_.encoder->context());
        }
        if (plan_.has_audio) {
            AudioEncodeParams params;
            params.codec = plan_.audio_encoder;
            params.sample_rate = chooseSampleRate(params.codec, plan_.sample_rate);
            params.sample_format = chooseSampleFormat(params.codec, AV_SAMPLE_FMT_FLTP);
            params.channels = plan_.channels;
            params.bit_rate = static_cast<int64_t>(plan_.audio_kbps) * 1000;
            params.global_header = output_.wantsGlobalHeader();
            plan_.sample_rate = params.sample_rate;
            formats_.sample_format = av_get_sample_fmt_name(static_cast<AVSampleFormat>(params.sample_format));
            audio_.encoder = StreamEncoder::openAudio(params, error);
            if (!audio_.encoder) return ResultCode::EncoderMissing;
            audio_.stream = output_.addStream(audio_.encoder->context());
        }
        if (video_.stream < 0 && audio_.stream < 0) return ResultCode::NoStream;
        if ((plan_.has_video && video_.stream < 0) || (plan_.has_audio && audio_.stream < 0)) {
            *error = "the container does not take the encoded streams";
            return ResultCode::EncoderMissing;
        }
        return ResultCode::Ok;
    }

    ResultCode buildGraph(std::string* error) {
        graph_.reset(avfilter_graph_alloc());
        if (!graph_) return ResultCode::FilterFailed;
        AVFilterInOut* open_outputs = nullptr;  // the sources' free outputs, named "v<i>" / "a<i>"
        AVFilterInOut* open_inputs = nullptr;   // the sinks' free inputs, "vout" / "aout"
        auto add_end = [](AVFilterInOut** list, const std::string& name, AVFilterContext* filter) {
            AVFilterInOut* io = avfilter_inout_alloc();
            if (!io) return false;
            io->name = av_strdup(name.c_str());
            io->filter_ctx = filter;
            io->pad_idx = 0;
            io->next = *list;
            *list = io;
            return true;
        };
        bool ok = true;
        for (size_t i = 0; i < plan_.clips.size() && ok; ++i) {
            const JoinClipSource& clip = plan_.clips[i];
            const int streams[2] = {plan_.has_video ? clip.video_stream : -1, plan_.has_audio ? clip.audio_stream : -1};
            for (int k = 0; k < 2 && ok; ++k) {
                if (streams[k] < 0) continue;
                const char* filter = k == 0 ? "buffer" : "abuffer";
                const std::string name = (k == 0 ? "v" : "a") + std::to_string(i);
                AVFilterContext* source = nullptr;
                ok = avfilter_graph_create_filter(&source, avfilter_get_by_name(filter), name.c_str(),
                                                  sourceArgs(clip.input->stream(streams[k])).c_str(), nullptr, graph_.get()) >= 0 &&
                     add_end(&open_outputs, name, source);
                inputs_.push_back({source, i, k == 0 ? JoinClipFeeder::Kind::Video : JoinClipFeeder::Kind::Audio, false});
            }
        }
        GraphOutput* outputs[2] = {plan_.has_video ? &video_ : nullptr, plan_.has_audio ? &audio_ : nullptr};
        for (int k = 0; k < 2 && ok; ++k) {
            if (!outputs[k]) continue;
            const char* name = k == 0 ? "vout" : "aout";
            ok = avfilter_graph_create_filter(&outputs[k]->sink, avfilter_get_by_name(k == 0 ? "buffersink" : "abuffersink"),
                                              name, nullptr, nullptr, graph_.get()) >= 0 &&
                 add_end(&open_inputs, name, outputs[k]->sink);
        }
        const std::string text = joinFilterGraph(plan_, formats_);
        int rc = ok ? avfilter_graph_parse_ptr(graph_.get(), text.c_str(), &open_inputs, &open_outputs, nullptr) : AVERROR(ENOMEM);
        avfilter_inout_free(&open_inputs);
        avfilter_inout_free(&open_outputs);
        if (rc >= 0 && audio_.sink && audio_.encoder->requiredFrameSize() > 0)
            av_buffersink_set_frame_size(audio_.sink, audio_.encoder->requiredFrameSize());
        if (rc >= 0) rc = avfilter_graph_config(graph_.get(), nullptr);
        if (rc < 0) {
            *error = "cannot build the join graph: " + ffErrorText(rc);
            return ResultCode::FilterFailed;
        }
        return ResultCode::Ok;
    }

    // The input the graph is waiting for: the one with the most unanswered requests, else the
    // first that has not ended.
    GraphInput* neediest() {
        GraphInput* best = nullptr;
        unsigned most = 0;
        for (GraphInput& in : inputs_) {
            if (in.ended) continue;
            const unsigned failed = av_buffersrc_get_nb_failed_requests(in.source);
            if (!best || failed > most) {
                best = &in;
                most = failed;
            }
        }
        return best;
    }

    ResultCode feed(GraphInput& in, std::string* error) {
        FramePtr frame = makeFrame();
        const int got = feeders_[in.clip]->next(in.kind, frame.get(), error);
        if (got < 0) return ResultCode::DecodeFailed;
        int rc = 0;
        if (got == 0) {
            // The input ends where the range ends, not at its last frame's start: the frame
            // rate filter would otherwise drop that last frame.
            in.ended = true;
            rc = av_buffersrc_close(in.source, plan_.clips[in.clip].lengthUs(), AV_BUFFERSRC_FLAG_PUSH);
        } else {
            rc = av_buffersrc_add_frame_flags(in.source, frame.get(), AV_BUFFERSRC_FLAG_PUSH);
        }
        if (rc < 0 && rc != AVERROR_EOF) {
            *error = "cannot filter " + plan_.clips[in.clip].clip.path + ": " + ffErrorText(rc);
            return ResultCode::FilterFailed;
        }
        return ResultCode::Ok;
    }

    ResultCode encode(GraphOutput& out, const AVFrame* frame, std::string* error) {
        int rc = out.encoder->send(frame);
        PacketPtr packet = makePacket();
        while (rc >= 0) {
            rc = out.encoder->receive(packet.get());
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return ResultCode::Ok;
            if (rc < 0) break;
            rc = output_.write(packet.get(), out.stream, out.encoder->context()->time_base);
            av_packet_unref(packet.get());
            if (rc < 0) {
                *error = "cannot write the joined file: " + ffErrorText(rc);
                return ResultCode::WriteFailed;
            }
        }
        *error = "cannot encode the joined file: " + ffErrorText(rc);
        return ResultCode::EncodeFailed;
    }

    // Encodes whatever the sinks hold without asking the graph for more.
    ResultCode drain(std::string* error) {
        FramePtr frame = makeFrame();
        for (GraphOutput* out : {&video_, &audio_}) {
            if (!out->sink || out->ended) continue;
            while (true) {
                const int rc = av_buffersink_get_frame_flags(out->sink, frame.get(), AV_BUFFERSINK_FLAG_NO_REQUEST);
                if (rc == AVERROR(EAGAIN)) break;
                if (rc == AVERROR_EOF) {
                    out->ended = true;
                    if (const ResultCode flushed = encode(*out, nullptr, error); flushed != ResultCode::Ok) return flushed;
                    break;
                }
                if (rc < 0) {
                    *error = "cannot filter: " + ffErrorText(rc);
                    return ResultCode::FilterFailed;
                }
                if (out == &video_ && !fitsEncoder(frame.get(), out->encoder->context())) {
                    *error = "the join graph gave pictures the encoder does not take";
                    return ResultCode::FilterFailed;
                }
                const AVRational tb = av_buffersink_get_time_base(out->sink);
                frame->pts = av_rescale_q(frame->pts, tb, out->encoder->context()->time_base);
                frame->pict_type = AV_PICTURE_TYPE_NONE;
                job_.reportWritten(av_rescale_q(frame->pts, out->encoder->context()->time_base, AV_TIME_BASE_Q),
                                   plan_.totalUs());
                const ResultCode encoded = encode(*out, frame.get(), error);
                av_frame_unref(frame.get());
                if (encoded != ResultCode::Ok) return encoded;
            }
        }
        return ResultCode::Ok;
    }

    bool allEnded() const { return (!video_.sink || video_.ended) && (!audio_.sink || audio_.ended); }

    ResultCode pump(std::string* error) {
        while (!allEnded()) {
            if (job_.stopRequested()) return ResultCode::Stopped;
            const int rc = avfilter_graph_request_oldest(graph_.get());
            if (rc == AVERROR(EAGAIN)) {
                GraphInput* in = neediest();
                if (!in) {
                    *error = "the join graph stalled";
                    return ResultCode::FilterFailed;
                }
                if (const ResultCode fed = feed(*in, error); fed != ResultCode::Ok) return fed;
            } else if (rc < 0 && rc != AVERROR_EOF) {
                *error = "cannot filter: " + ffErrorText(rc);
                return ResultCode::FilterFailed;
            }
            if (const ResultCode drained = drain(error); drained != ResultCode::Ok) return drained;
            if (rc == AVERROR_EOF && !allEnded()) {
                // Everything is through the graph: close what is left.
                for (GraphOutput* out : {&video_, &audio_}) {
                    if (!out->sink || out->ended) continue;
                    out->ended = true;
                    if (const ResultCode flushed = encode(*out, nullptr, error); flushed != ResultCode::Ok) return flushed;
                }
            }
        }
        return ResultCode::Ok;
    }

    JoinPlan& plan_;
    MediaOutput& output_;
    JoinJob& job_;
    JoinGraphFormats formats_;
    FilterGraphPtr graph_;
    std::vector<GraphInput> inputs_;
    GraphOutput video_, audio_;
    std::vector<std::unique_ptr<JoinClipFeeder>> feeders_;
};

}  // namespace

ResultCode encodeJoin(JoinPlan& plan, MediaOutput& output, JoinJob& job, std::string* error) {
    return EncodeJoin(plan, output, job).run(error);
}

}  // namespace kestrel::engine

#include "engine/core/join_plan.h"

extern "C" {
#include <libavformat/avformat.h>
}
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/core/codec_choice.h"
#include "engine/core/ff_handles.h"
#include "engine/core/media_input.h"
#include "engine/core/range_edges.h"

namespace kestrel::engine {
namespace {

std::vector<uint8_t> extradataOf(const AVCodecParameters* par) {
    if (!par->extradata || par->extradata_size <= 0) return {};
    return std::vector<uint8_t>(par->extradata, par->extradata + par->extradata_size);
}

// Finds the key frame at or before the start, and whether it is shown at the start (within half
// a frame).
void findStartKeyFrame(MediaInput& input, JoinClipSource& source) {
    source.key_frame_us = source.start_us;
    source.starts_on_key_frame = true;
    if (source.start_us == 0 || source.video_stream < 0) return;
    source.starts_on_key_frame = false;
    if (!input.seekUs(source.start_us)) return;
    PacketPtr packet = makePacket();
    const double frame_s = source.video.frame_rate.num > 0 ? av_q2d(av_inv_q(source.video.frame_rate)) : 0.04;
    const int64_t half_frame_us = static_cast<int64_t>(frame_s * 500000);
    while (input.readPacket(packet.get()) >= 0) {
        const bool ours = packet->stream_index == source.video_stream;
        if (ours) {
            const int64_t time_us = input.toFileTimeUs(source.video_stream, packet->pts);
            if (time_us != AV_NOPTS_VALUE && time_us <= source.start_us) source.key_frame_us = time_us;
            source.starts_on_key_frame = (packet->flags & AV_PKT_FLAG_KEY) && time_us != AV_NOPTS_VALUE &&
                                         std::llabs(time_us - source.start_us) <= half_frame_us;
        }
        av_packet_unref(packet.get());
        if (ours) break;
    }
    input.seekUs(0);
}

ResultCode probeClip(const JoinClip& clip, JoinClipSource* source, std::string* error) {
    source->clip = clip;
    source->input = MediaInput::open(clip.path, error);
    if (!source->input) return ResultCode::OpenFailed;
    MediaInput& input = *source->input;
    if (input.isStillPicture() || input.durationUs() <= 0) {
        *error = clip.path + " has no duration";
        return ResultCode::OpenFailed;
    }
    if (const int video = input.bestVideoStream(); video >= 0) {
        const AVStream* stream = input.stream(video);
        const AVCodecParameters* par = stream->codecpar;
        source->video_stream = video;
        source->video.codec = par->codec_id;
        source->video.width = par->width;
        source->video.height = par->height;
        source->video.pixel_format = par->format;
        source->video.sample_aspect = par->sample_aspect_ratio;
        source->video.frame_rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
        source->video.rotation_deg = input.displayRotationDeg(video);
        source->video.extradata = extradataOf(par);
    }
    if (const int audio = input.bestAudioStream(); audio >= 0 && input.stream(audio)->codecpar->sample_rate > 0) {
        const AVCodecParameters* par = input.stream(audio)->codecpar;
        source->audio_stream = audio;
        source->audio.codec = par->codec_id;
        source->audio.sample_rate = par->sample_rate;
        source->audio.channels = par->ch_layout.nb_channels;
        source->audio.extradata = extradataOf(par);
    }
    if (source->video_stream < 0 && source->audio_stream < 0) {
        *error = clip.path + " holds no picture or sound";
        return ResultCode::NoStream;
    }
    // (0, 0) is the whole file; an end of 0 runs to the end of the file.
    if (clip.start_us == clip.end_us && clip.start_us != 0) {
        *error = "empty range in " + clip.path;
        return ResultCode::EmptyRange;
    }
    if (clip.start_us < 0 || (clip.end_us != 0 && clip.end_us < clip.start_us)) {
        *error = "bad range in " + clip.path;
        return ResultCode::BadArgument;
    }
    // The same pictures at the edges as a cut of the range takes.
    const RangeEdges edges = pictureEdges(input, clip.start_us, clip.end_us);
    source->start_us = edges.start_us;
    source->end_us = clip.end_us == 0 ? input.durationUs() : std::min(edges.end_us, input.durationUs());
    if (source->end_us <= source->start_us) {
        *error = "the range lies past the end of " + clip.path;
        return ResultCode::EmptyRange;
    }
    findStartKeyFrame(input, *source);
    return ResultCode::Ok;
}

bool sameVideo(const JoinVideoParams& a, const JoinVideoParams& b) {
    return a.codec == b.codec && a.width == b.width && a.height == b.height && a.pixel_format == b.pixel_format &&
           av_cmp_q(a.frame_rate, b.frame_rate) == 0 && a.rotation_deg == b.rotation_deg && a.extradata == b.extradata;
}

bool sameAudio(const JoinAudioParams& a, const JoinAudioParams& b) {
    return a.codec == b.codec && a.sample_rate == b.sample_rate && a.channels == b.channels &&
           a.extradata == b.extradata;
}

bool containerTakes(const AVOutputFormat* container, AVCodecID codec) {
    return container && avformat_query_codec(container, codec, FF_COMPLIANCE_NORMAL) == 1;
}

// Packets can be copied when every clip carries the same streams with the same parameters and
// nothing asks for decoded pictures or sound. Without an explicit "copy", a range must also
// start on a key frame so the output starts where it was asked (unless starts do not matter).
bool canCopy(const JoinSettings& settings, const JoinPlan& plan, const AVOutputFormat* container, bool starts_matter) {
    if (settings.force_encode) return false;
    const bool video_copy = settings.video_codec == "copy";
    const bool audio_copy = settings.audio_codec == "copy";
    const bool keep_video = settings.video_codec.empty() && settings.fps <= 0 && settings.width <= 0 && settings.video_kbps <= 0;
    const bool keep_audio = settings.audio_codec.empty() && settings.sample_rate <= 0 && settings.channels <= 0;
    if (plan.has_video && !video_copy && !keep_video) return false;
    if (plan.has_audio && !audio_copy && !keep_audio) return false;
    const JoinClipSource& first = plan.clips.front();
    for (size_t i = 0; i < plan.clips.size(); ++i) {
        const JoinClipSource& c = plan.clips[i];
        if ((c.video_stream >= 0) != (first.video_stream >= 0) || (c.audio_stream >= 0) != (first.audio_stream >= 0))
            return false;
        if (c.video_stream >= 0 && !sameVideo(c.video, first.video)) return false;
        // Copied packets would lose the turn; re-encoding shows the clip upright.
        if (c.video_stream >= 0 && c.video.rotation_deg != 0) return false;
        if (c.audio_stream >= 0 && !sameAudio(c.audio, first.audio)) return false;
        if (c.audio_stream >= 0 && c.clip.volume != 1.0) return false;
        if (plan.transition_us[i] > 0) return false;
        if (starts_matter && !video_copy && !c.starts_on_key_frame) return false;
    }
    if (first.video_stream >= 0 && !containerTakes(container, first.video.codec)) return false;
    if (first.audio_stream >= 0 && !containerTakes(container, first.audio.codec)) return false;
    return true;
}

// The encoder for a stream: the one asked for, else the clips' own codec where the container
// takes it, else the container's default.
const AVCodec* chooseEncoder(const std::string& asked, AVMediaType type, AVCodecID source_codec,
                             AVCodecID container_default, const AVOutputFormat* container) {
    if (!asked.empty() && asked != "copy") return findEncoderByName(asked, type);
    if (source_codec != AV_CODEC_ID_NONE && containerTakes(container, source_codec)) {
        if (const AVCodec* codec = findEncoder(source_codec)) return codec;
    }
    return findEncoder(container_default);
}

int makeEven(int value) { return std::max(2, value - value % 2); }

// Transitions are clamped to half of the shorter neighbour so that every clip keeps a part
// of its own; the last clip has no next one.
std::vector<int64_t> transitionsOf(const std::vector<JoinClipSource>& clips) {
    std::vector<int64_t> result(clips.size(), 0);
    for (size_t i = 0; i + 1 < clips.size(); ++i) {
        const JoinClip& clip = clips[i].clip;
        if (clip.transition == JoinTransitionKind::None || clip.transition_us <= 0) continue;
        const int64_t limit = std::min(clips[i].lengthUs(), clips[i + 1].lengthUs()) / 2;
        result[i] = std::min(clip.transition_us, limit);
    }
    return result;
}

}  // namespace

int64_t JoinPlan::totalUs() const {
    int64_t total = 0;
    for (size_t i = 0; i < clips.size(); ++i) {
        const JoinClipSource& clip = clips[i];
        total += copy_packets ? clip.end_us - clip.key_frame_us : clip.lengthUs() - transition_us[i];
    }
    return total;
}

ResultCode makeJoinPlan(const JoinSettings& settings, JoinPlan* plan, std::string* error) {
    *plan = JoinPlan{};
    if (settings.clips.empty()) {
        *error = "no clip to join";
        return ResultCode::BadArgument;
    }
    if (settings.output_path.empty()) {
        *error = "no output path";
        return ResultCode::BadArgument;
    }
    const AVOutputFormat* container = av_guess_format(nullptr, settings.output_path.c_str(), nullptr);
    if (!container) {
        *error = "no container for " + settings.output_path;
        return ResultCode::BadArgument;
    }
    for (const JoinClip& clip : settings.clips) {
        JoinClipSource source;
        const ResultCode probed = probeClip(clip, &source, error);
        if (probed != ResultCode::Ok) return probed;
        plan->has_video = plan->has_video || source.video_stream >= 0;
        plan->has_audio = plan->has_audio || source.audio_stream >= 0;
        plan->clips.push_back(std::move(source));
    }
    if (container->video_codec == AV_CODEC_ID_NONE) plan->has_video = false;
    if (container->audio_codec == AV_CODEC_ID_NONE) plan->has_audio = false;
    if (!plan->has_video && !plan->has_audio) {
        *error = "the container of " + settings.output_path + " takes none of the clips' streams";
        return ResultCode::NoStream;
    }
    plan->transition_us = transitionsOf(plan->clips);
    plan->copy_packets = canCopy(settings, *plan, container, true);
    if (plan->copy_packets) return ResultCode::Ok;
    plan->copy_but_for_starts = canCopy(settings, *plan, container, false);
    plan->video_kbps = settings.video_kbps;
    plan->audio_kbps = settings.audio_kbps;

    const auto first_video = std::find_if(plan->clips.begin(), plan->clips.end(), [](auto& c) { return c.video_stream >= 0; });
    const auto first_audio = std::find_if(plan->clips.begin(), plan->clips.end(), [](auto& c) { return c.audio_stream >= 0; });
    if (plan->has_video) {
        const JoinVideoParams& v = first_video->video;
        const bool turned = v.rotation_deg == 90 || v.rotation_deg == 270;
        plan->width = makeEven(settings.width > 0 ? settings.width : (turned ? v.height : v.width));
        plan->height = makeEven(settings.height > 0 ? settings.height : (turned ? v.width : v.height));
        if (settings.fps > 0) plan->frame_rate = av_d2q(settings.fps, 1001000);
        else if (v.frame_rate.num > 0 && v.frame_rate.den > 0) plan->frame_rate = v.frame_rate;
        plan->video_encoder = chooseEncoder(settings.video_codec, AVMEDIA_TYPE_VIDEO, v.codec, container->video_codec, container);
        if (!plan->video_encoder) {
            *error = "no video encoder for " + settings.video_codec;
            return ResultCode::EncoderMissing;
        }
    }
    if (plan->has_audio) {
        const AVCodecID source_codec = first_audio != plan->clips.end() ? first_audio->audio.codec : AV_CODEC_ID_NONE;
        if (first_audio != plan->clips.end()) {
            plan->sample_rate = first_audio->audio.sample_rate;
            plan->channels = std::max(1, first_audio->audio.channels);
        }
        if (settings.sample_rate > 0) plan->sample_rate = settings.sample_rate;
        if (settings.channels > 0) plan->channels = settings.channels;
        plan->audio_encoder = chooseEncoder(settings.audio_codec, AVMEDIA_TYPE_AUDIO, source_codec, container->audio_codec, container);
        if (!plan->audio_encoder) {
            *error = "no audio encoder for " + settings.audio_codec;
            return ResultCode::EncoderMissing;
        }
    }
    return ResultCode::Ok;
}

}  // namespace kestrel::engine

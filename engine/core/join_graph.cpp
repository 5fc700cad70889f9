#include "engine/core/join_graph.h"

extern "C" {
#include <libavutil/channel_layout.h>
}
#include <cstdio>
#include <string>

namespace kestrel::engine {
namespace {

std::string seconds(int64_t us) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(us) / 1e6);
    return text;
}

std::string layoutName(int channels) {
    AVChannelLayout layout;
    av_channel_layout_default(&layout, channels);
    char text[64] = {};
    av_channel_layout_describe(&layout, text, sizeof text);
    av_channel_layout_uninit(&layout);
    return text;
}

std::string rotationChain(int degrees) {
    switch (degrees) {
    case 90: return "transpose=clock,";
    case 180: return "hflip,vflip,";
    case 270: return "transpose=cclock,";
    default: return "";
    }
}

std::string clipVideo(const JoinPlan& plan, size_t i, const std::string& rate, const std::string& pix) {
    const JoinClipSource& clip = plan.clips[i];
    const std::string size = std::to_string(plan.width) + "x" + std::to_string(plan.height);
    const std::string length = seconds(clip.lengthUs());
    // One time base for every part, as the joining filters require.
    const std::string out = ",settb=AVTB[cv" + std::to_string(i) + "];";
    if (clip.video_stream < 0) return "color=c=black:s=" + size + ":r=" + rate + ",format=" + pix + ",trim=end=" + length + out;
    const bool turned = clip.video.rotation_deg == 90 || clip.video.rotation_deg == 270;
    const int width = turned ? clip.video.height : clip.video.width;
    const int height = turned ? clip.video.width : clip.video.height;
    const AVRational sar = clip.video.sample_aspect;
    const bool square = sar.num <= 0 || sar.num == sar.den;
    std::string chain = "[v" + std::to_string(i) + "]" + rotationChain(clip.video.rotation_deg);
    if (width != plan.width || height != plan.height || !square) {
        const std::string w = std::to_string(plan.width), h = std::to_string(plan.height);
        if (!square) chain += "scale=iw*sar:ih,";
        chain += "scale=" + w + ":" + h + ":force_original_aspect_ratio=decrease,";
        chain += "pad=" + w + ":" + h + ":(ow-iw)/2:(oh-ih)/2:black,";
    }
    // fps from 0 so a first frame a little after the range start still covers it; the clone pad
    // and the trim then make the picture exactly as long as the range.
    chain += "setsar=1,fps=" + rate + ":start_time=0,format=" + pix;
    chain += ",tpad=stop_mode=clone:stop_duration=" + length + ",trim=end=" + length + out;
    return chain;
}

std::string clipAudio(const JoinPlan& plan, size_t i, const std::string& layout, const std::string& sample_format) {
    const JoinClipSource& clip = plan.clips[i];
    const std::string length = seconds(clip.lengthUs());
    const std::string rate = std::to_string(plan.sample_rate);
    const std::string out = ",asettb=AVTB[ca" + std::to_string(i) + "];";
    const std::string format = "aformat=sample_fmts=" + sample_format + ":sample_rates=" + rate + ":channel_layouts=" + layout;
    if (clip.audio_stream < 0) return "anullsrc=r=" + rate + ":cl=" + layout + "," + format + ",atrim=end=" + length + out;
    char volume[32];
    std::snprintf(volume, sizeof volume, "%.6f", clip.clip.volume);
    return "[a" + std::to_string(i) + "]atrim=start=0:end=" + length + ",aresample=" + rate +
           ":async=1:first_pts=0," + format + ",volume=" + volume + ":precision=float,apad,atrim=end=" + length + out;
}

}  // namespace

const char* joinTransitionName(JoinTransitionKind kind) {
    switch (kind) {
    case JoinTransitionKind::Left: return "slideleft";
    case JoinTransitionKind::Top: return "slideup";
    case JoinTransitionKind::FadeOut: return "fadeblack";
    case JoinTransitionKind::None: break;
    }
    return "fade";
}

std::string joinFilterGraph(const JoinPlan& plan, const JoinGraphFormats& formats) {
    const std::string rate = std::to_string(plan.frame_rate.num) + "/" + std::to_string(plan.frame_rate.den);
    const std::string layout = layoutName(plan.channels);
    std::string graph;
    for (size_t i = 0; i < plan.clips.size(); ++i) {
        if (plan.has_video) graph += clipVideo(plan, i, rate, formats.pixel_format);
        if (plan.has_audio) graph += clipAudio(plan, i, layout, formats.sample_format);
    }
    // Join left to right: a transition overlaps the tail of what is joined so far with the head
    // of the next clip; otherwise the next clip is appended.
    std::string video = "cv0", audio = "ca0";
    int64_t joined_us = plan.clips[0].lengthUs();
    for (size_t i = 1; i < plan.clips.size(); ++i) {
        const std::string n = std::to_string(i);
        const int64_t overlap_us = plan.transition_us[i - 1];
        if (overlap_us > 0) {
            if (plan.has_video) {
                // xfade hands on the pictures after its transition a frame late; they are counted
                // again from the first, so the next offset and the output's end stay true.
                graph += "[" + video + "][cv" + n + "]xfade=transition=" + joinTransitionName(plan.clips[i - 1].clip.transition) +
                         ":duration=" + seconds(overlap_us) + ":offset=" + seconds(joined_us - overlap_us) + ",setpts=round(N*" +
                         std::to_string(plan.frame_rate.den) + "/" + std::to_string(plan.frame_rate.num) + "/TB)[jv" + n + "];";
            }
            if (plan.has_audio) graph += "[" + audio + "][ca" + n + "]acrossfade=d=" + seconds(overlap_us) + "[ja" + n + "];";
        } else {
            std::string inputs, outputs;
            if (plan.has_video) inputs += "[" + video + "]", outputs += "[jv" + n + "]";
            if (plan.has_audio) inputs += "[" + audio + "]", outputs += "[ja" + n + "]";
            if (plan.has_video) inputs += "[cv" + n + "]";
            if (plan.has_audio) inputs += "[ca" + n + "]";
            graph += inputs + "concat=n=2:v=" + (plan.has_video ? "1" : "0") + ":a=" + (plan.has_audio ? "1" : "0") + outputs + ";";
        }
        video = "jv" + n;
        audio = "ja" + n;
        joined_us += plan.clips[i].lengthUs() - overlap_us;
    }
    // Constant frame rate out, in the rate's own time base, and exactly the joined length (the
    // joining filters may round their end up by a frame). The encoders' formats close each
    // chain: xfade works on unsubsampled pictures and would otherwise hand them on as they are.
    const std::string total = seconds(joined_us);
    if (plan.has_video) graph += "[" + video + "]fps=" + rate + ",trim=end=" + total + ",format=" + formats.pixel_format + "[vout];";
    if (plan.has_audio)
        graph += "[" + audio + "]atrim=end=" + total + ",aformat=sample_fmts=" + formats.sample_format + ":sample_rates=" +
                 std::to_string(plan.sample_rate) + ":channel_layouts=" + layout + "[aout];";
    graph.pop_back();
    return graph;
}

}  // namespace kestrel::engine

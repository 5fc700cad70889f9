#include "engine/core/filter_graph.h"
#include "engine/core/graph_assembler.h"
#include "engine/core/media_input.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavutil/samplefmt.h>
}
#include <algorithm>
#include <vector>

namespace kestrel::engine {

namespace {

std::string layoutText(const AVChannelLayout& layout) {
    char text[128] = {};
    if (av_channel_layout_describe(&layout, text, sizeof text) < 0) return "stereo";
    return text;
}

// atempo takes 0.5..2 per stage; a chain of stages reaches 0.1..4 and more.
std::vector<double> tempoStages(double speed) {
    std::vector<double> stages;
    while (speed > 2.0) { stages.push_back(2.0); speed /= 2.0; }
    while (speed < 0.5) { stages.push_back(0.5); speed /= 0.5; }
    if (std::abs(speed - 1.0) > 1e-9) stages.push_back(speed);
    return stages;
}

}  // namespace

class AudioGraphBuilder {
public:
    AudioGraphBuilder(FilterGraph& graph, const AudioSourceParams* main, const AudioSettings& settings, const AudioSinkFormat& sink)
        : graph_(graph), asm_(graph.graph_.get()), main_(main), settings_(settings), sink_(sink) {}

    void build() {
        std::vector<AVFilterContext*> inputs;
        inputs.push_back(main_ ? addMain() : addSilence());
        for (const MusicTrack& track : settings_.music)
            if (AVFilterContext* music = addMusic(track)) inputs.push_back(music);
        AVFilterContext* cur = inputs.front();
        if (inputs.size() > 1) {
            AVFilterContext* mix = asm_.add("amix", {{"inputs", std::to_string(inputs.size())},
                                                    {"duration", "first"},
                                                    {"normalize", "0"}});
            for (size_t i = 0; i < inputs.size(); ++i) asm_.link(inputs[i], 0, mix, static_cast<unsigned>(i));
            cur = mix;
        }
        FilterOptions format;
        if (sink_.sample_format >= 0)
            format.push_back({"sample_fmts", av_get_sample_fmt_name(static_cast<AVSampleFormat>(sink_.sample_format))});
        if (sink_.sample_rate > 0) format.push_back({"sample_rates", std::to_string(sink_.sample_rate)});
        if (sink_.channels > 0) {
            AVChannelLayout layout{};
            av_channel_layout_default(&layout, sink_.channels);
            format.push_back({"channel_layouts", layoutText(layout)});
            av_channel_layout_uninit(&layout);
        }
        if (!format.empty()) cur = asm_.chain(cur, "aformat", format);
        graph_.sink_ = asm_.chain(cur, "abuffersink");
        asm_.configure();
        if (sink_.frame_size > 0) av_buffersink_set_frame_size(graph_.sink_, static_cast<unsigned>(sink_.frame_size));
    }

private:
    AVFilterContext* addMain() {
        const char* format = av_get_sample_fmt_name(static_cast<AVSampleFormat>(main_->sample_format));
        if (!format || main_->sample_rate <= 0) throw GraphError("bad audio source parameters");
        graph_.source_ = asm_.add("abuffer", {{"time_base", std::to_string(main_->time_base.num) + "/" + std::to_string(main_->time_base.den)},
                                              {"sample_rate", std::to_string(main_->sample_rate)},
                                              {"sample_fmt", format},
                                              {"channel_layout", layoutText(main_->layout)}});
        AVFilterContext* cur = graph_.source_;
        if (settings_.cut_start_us > 0 || settings_.cut_end_us > 0) {
            FilterOptions trim;
            if (settings_.cut_start_us > 0) trim.push_back({"start", number(settings_.cut_start_us / 1e6)});
            if (settings_.cut_end_us > 0) trim.push_back({"end", number(settings_.cut_end_us / 1e6)});
            cur = asm_.chain(cur, "atrim", trim);
        }
        if (settings_.main_volume != 1.0)
            cur = asm_.chain(cur, "volume", {{"volume", number(std::max(0.0, settings_.main_volume))}, {"precision", "float"}});
        if (settings_.cut_start_us != 0)
            cur = asm_.chain(cur, "asetpts", {{"expr", "PTS-" + number(settings_.cut_start_us / 1e6) + "/TB"}});
        for (double stage : tempoStages(settings_.speed > 0 ? settings_.speed : 1.0))
            cur = asm_.chain(cur, "atempo", {{"tempo", number(stage)}});
        return cur;
    }

    // Silence as long as the output, so music has a time line to be mixed into.
    AVFilterContext* addSilence() {
        if (settings_.output_duration_us <= 0) throw GraphError("no length for a sound made of music alone");
        int rate = sink_.sample_rate > 0 ? sink_.sample_rate : 44100;
        AVFilterContext* cur = asm_.add("anullsrc", {{"sample_rate", std::to_string(rate)}, {"channel_layout", "stereo"}});
        return asm_.chain(cur, "atrim", {{"duration", number(settings_.output_duration_us / 1e6)}});
    }

    AVFilterContext* addMusic(const MusicTrack& track) {
        int64_t span_us = track.timeline_end_us - track.timeline_start_us;
        if (span_us <= 0 || track.path.empty()) return nullptr;
        std::string error;
        std::unique_ptr<MediaInput> probe = MediaInput::open(track.path, &error);
        if (!probe || probe->bestAudioStream() < 0) throw GraphError("music cannot be read: " + track.path);
        int64_t file_us = probe->durationUs();
        int64_t src_start = std::max<int64_t>(0, track.source_start_us);
        int64_t src_end = track.source_end_us > src_start ? track.source_end_us : file_us;
        if (file_us > 0) src_end = std::min(src_end, file_us);
        int64_t used_us = src_end - src_start;
        if (used_us <= 0) return nullptr;
        int rate = probe->stream(probe->bestAudioStream())->codecpar->sample_rate;

        AVFilterContext* cur = asm_.add("amovie", {{"filename", track.path}});
        cur = asm_.chain(cur, "atrim", {{"start", number(src_start / 1e6)}, {"end", number(src_end / 1e6)}});
        cur = asm_.chain(cur, "asetpts", {{"expr", "PTS-STARTPTS"}});
        if (span_us > used_us && rate > 0) {
            int64_t loop_samples = av_rescale(used_us, rate, 1000000);
            cur = asm_.chain(cur, "aloop", {{"loop", "-1"}, {"size", std::to_string(std::min<int64_t>(loop_samples, INT32_MAX))}});
        }
        cur = asm_.chain(cur, "atrim", {{"duration", number(span_us / 1e6)}});
        if (track.fade_in_us > 0)
            cur = asm_.chain(cur, "afade", {{"type", "in"}, {"start_time", "0"}, {"duration", number(std::min(track.fade_in_us, span_us) / 1e6)}});
        if (track.fade_out_us > 0) {
            int64_t fade = std::min(track.fade_out_us, span_us);
            cur = asm_.chain(cur, "afade", {{"type", "out"}, {"start_time", number((span_us - fade) / 1e6)}, {"duration", number(fade / 1e6)}});
        }
        if (track.volume != 1.0)
            cur = asm_.chain(cur, "volume", {{"volume", number(std::max(0.0, track.volume))}, {"precision", "float"}});
        if (track.timeline_start_us > 0)
            cur = asm_.chain(cur, "adelay", {{"delays", std::to_string(track.timeline_start_us / 1000)}, {"all", "1"}});
        return cur;
    }

    FilterGraph& graph_;
    GraphAssembler asm_;
    const AudioSourceParams* main_;
    const AudioSettings& settings_;
    const AudioSinkFormat& sink_;
};

std::unique_ptr<FilterGraph> FilterGraph::buildAudio(const AudioSourceParams* main, const AudioSettings& settings,
                                                     const AudioSinkFormat& sink_format, std::string* error) {
    std::unique_ptr<FilterGraph> graph(new FilterGraph());
    graph->graph_.reset(avfilter_graph_alloc());
    if (!graph->graph_) return nullptr;
    try {
        AudioGraphBuilder(*graph, main, settings, sink_format).build();
        if (main) graph->setInputClock(main->time_base, AVRational{0, 1}, settings.cut_end_us);
    } catch (const GraphError& e) {
        if (error) *error = e.what();
        return nullptr;
    }
    return graph;
}

}  // namespace kestrel::engine

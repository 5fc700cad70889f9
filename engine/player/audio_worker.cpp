#include "engine/player/audio_worker.h"

#include <algorithm>

#include "engine/core/filter_graph.h"
#include "engine/core/frame_reader.h"
#include "engine/core/media_input.h"

namespace kestrel::player {

engine::AudioSettings mixFrom(const engine::AudioSettings& mix, int64_t at_us, int64_t file_duration_us) {
    engine::AudioSettings out = mix;
    const double speed = mix.speed > 0 ? mix.speed : 1.0;
    out.cut_start_us = at_us;
    out.cut_end_us = 0;
    out.output_duration_us = static_cast<int64_t>(double(std::max<int64_t>(0, file_duration_us - at_us)) / speed);
    // Music sits on the output time line, which now starts at at_us.
    const int64_t shift_us = static_cast<int64_t>(double(at_us) / speed);
    out.music.clear();
    for (engine::MusicTrack track : mix.music) {
        track.timeline_start_us -= shift_us;
        track.timeline_end_us -= shift_us;
        if (track.timeline_end_us <= 0) continue;
        if (track.timeline_start_us < 0) {
            // Already playing: start inside the used part of the music.
            const int64_t used_us = track.source_end_us - track.source_start_us;
            int64_t skipped_us = -track.timeline_start_us;
            if (used_us > 0) skipped_us %= used_us;
            track.source_start_us += skipped_us;
            track.timeline_start_us = 0;
        }
        out.music.push_back(std::move(track));
    }
    return out;
}

std::unique_ptr<AudioWorker> AudioWorker::create(const std::string& path, std::shared_ptr<AudioRing> ring) {
    std::unique_ptr<engine::MediaInput> input = engine::MediaInput::open(path);
    if (!input || input->bestAudioStream() < 0) return nullptr;
    return std::unique_ptr<AudioWorker>(new AudioWorker(path, std::move(ring)));
}

bool AudioWorker::decodes(const std::string& path) {
    std::unique_ptr<engine::MediaInput> input = engine::MediaInput::open(path);
    if (!input || input->bestAudioStream() < 0) return false;
    std::unique_ptr<engine::FrameReader> reader = engine::FrameReader::open(*input, input->bestAudioStream());
    engine::FramePtr frame = engine::makeFrame();
    return reader && reader->next(frame.get()) == 1;
}

AudioWorker::AudioWorker(std::string path, std::shared_ptr<AudioRing> ring)
    : path_(std::move(path)), ring_(std::move(ring)) {
    thread_ = std::thread([this] { run(); });
}

AudioWorker::~AudioWorker() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    ring_->close();
    wake_.notify_all();
    thread_.join();
}

void AudioWorker::restart(int64_t at_us, const engine::AudioSettings& mix, int stream_index) {
    const uint64_t generation = ring_->flush();
    std::lock_guard lock(mutex_);
    pending_ = true;
    ended_ = false;
    at_us_ = at_us;
    mix_ = mix;
    stream_index_ = stream_index;
    generation_ = generation;
    wake_.notify_all();
}

bool AudioWorker::reachedEnd() const {
    std::lock_guard lock(mutex_);
    return ended_;
}

void AudioWorker::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return quit_ || pending_; });
        if (quit_) return;
        pending_ = false;
        const int64_t at_us = at_us_;
        const engine::AudioSettings mix = mix_;
        const int stream_index = stream_index_;
        const uint64_t generation = generation_;
        lock.unlock();
        const bool reached_end = playFrom(at_us, mix, stream_index, generation);
        lock.lock();
        if (reached_end && generation == generation_ && !pending_) ended_ = true;
    }
}

bool AudioWorker::playFrom(int64_t at_us, const engine::AudioSettings& mix, int stream_index, uint64_t generation) {
    std::unique_ptr<engine::MediaInput> input = engine::MediaInput::open(path_);
    if (!input) return true;
    const int stream = input->audioStreamOrDefault(stream_index);
    std::unique_ptr<engine::FrameReader> reader;
    if (stream >= 0 && mix.main_enabled) reader = engine::FrameReader::open(*input, stream);
    if (reader && !reader->seekUs(at_us)) reader->seekUs(0);

    const engine::AudioSettings settings = mixFrom(mix, at_us, input->durationUs());
    const engine::AudioSinkFormat sink{AudioRing::kSampleRate, AV_SAMPLE_FMT_FLT, AudioRing::kChannels, 0};
    std::unique_ptr<engine::FilterGraph> graph;
    if (reader) {
        const engine::AudioSourceParams params =
            engine::AudioSourceParams::fromDecoder(reader->decoder().context(), AVRational{1, 1000000});
        graph = engine::FilterGraph::buildAudio(&params, settings, sink);
    } else if (!settings.music.empty()) {
        graph = engine::FilterGraph::buildAudio(nullptr, settings, sink);
    }
    if (!graph) return true;

    const double speed = mix.speed > 0 ? mix.speed : 1.0;
    const AVRational out_tb = graph->outputTimeBase();
    engine::FramePtr in = engine::makeFrame();
    engine::FramePtr out = engine::makeFrame();
    bool input_done = !graph->hasSource();
    for (;;) {
        int rc = graph->pull(out.get());
        if (rc == 0) {
            std::vector<float> samples(size_t(out->nb_samples) * AudioRing::kChannels);
            std::copy_n(reinterpret_cast<const float*>(out->data[0]), samples.size(), samples.data());
            const int64_t out_us = out->pts == AV_NOPTS_VALUE ? 0 : av_rescale_q(out->pts, out_tb, AVRational{1, 1000000});
            av_frame_unref(out.get());
            if (!ring_->push(std::move(samples), at_us + static_cast<int64_t>(double(out_us) * speed), speed, generation))
                return false;  // restarted or closed
            continue;
        }
        if (rc == AVERROR_EOF) return true;
        if (rc != AVERROR(EAGAIN) || input_done) return true;
        rc = reader->next(in.get());
        if (rc != 1) {
            graph->push(nullptr);
            input_done = true;
            continue;
        }
        in->pts = reader->frameTimeUs(in.get());
        if (graph->push(in.get()) < 0) return true;
        av_frame_unref(in.get());
    }
}

}  // namespace kestrel::player

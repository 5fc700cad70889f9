#include "engine/editing/sound_mixer.h"

#include <algorithm>

namespace kestrel::editing {

SoundMixer::SoundMixer(const std::vector<SoundPlan>& sounds, int sample_rate, int channels, double volume)
    : rate_(sample_rate), channels_(channels), volume_(volume) {
    for (const SoundPlan& plan : sounds) {
        auto reader = SoundReader::open(plan.path, sample_rate, channels);
        if (!reader) continue;
        Source source;
        source.plan = plan;
        int64_t source_end = plan.source_end_us > 0 ? plan.source_end_us : reader->durationUs();
        int64_t length = std::max<int64_t>(0, source_end - plan.source_start_us);
        int64_t end_us = std::min(plan.timeline_end_us, plan.timeline_start_us + length);
        source.first_sample = av_rescale(plan.timeline_start_us, rate_, 1000000);
        source.end_sample = av_rescale(end_us, rate_, 1000000);
        if (source.end_sample <= source.first_sample) continue;
        source.reader = std::move(reader);
        sources_.push_back(std::move(source));
    }
}

void SoundMixer::mix(int64_t first_sample, int count, float* out) {
    size_t values = static_cast<size_t>(count) * channels_;
    std::fill(out, out + values, 0.0f);
    for (Source& source : sources_) {
        int64_t from = std::max(first_sample, source.first_sample);
        int64_t to = std::min(first_sample + count, source.end_sample);
        if (to <= from) continue;
        int n = static_cast<int>(to - from);
        scratch_.resize(static_cast<size_t>(n) * channels_);
        int64_t source_us = source.plan.source_start_us + av_rescale(from - source.first_sample, 1000000, rate_);
        source.reader->read(source_us, n, scratch_.data());
        float gain = static_cast<float>(source.plan.gain * volume_);
        float* dst = out + static_cast<size_t>(from - first_sample) * channels_;
        for (size_t i = 0; i < scratch_.size(); ++i) dst[i] += scratch_[i] * gain;
    }
    for (size_t i = 0; i < values; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

}  // namespace kestrel::editing

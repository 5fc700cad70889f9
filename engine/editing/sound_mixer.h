#pragma once
// The sound of a composition: every media's own sound and every audio track, each over its
// span of the output time line and with its gain, summed into interleaved float samples.
#include "engine/editing/composition_plan.h"
#include "engine/editing/sound_reader.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kestrel::editing {

class SoundMixer {
public:
    SoundMixer(const std::vector<SoundPlan>& sounds, int sample_rate, int channels, double volume);

    // True when at least one source has sound.
    bool hasSound() const { return !sources_.empty(); }
    // count samples starting at output sample index first_sample.
    void mix(int64_t first_sample, int count, float* out);

private:
    struct Source {
        SoundPlan plan;
        int64_t first_sample = 0, end_sample = 0;   // span on the output time line
        std::unique_ptr<SoundReader> reader;
    };
    std::vector<Source> sources_;
    std::vector<float> scratch_;
    int rate_, channels_;
    double volume_;
};

}  // namespace kestrel::editing

#pragma once
// A copy of a virtual video's composition at one moment: what the preview and the export
// render, free of the handles so it can be used without holding the composition lock.
#include "engine/editing/composition.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::editing {

struct LayerPlan {
    uint64_t media_id = 0;
    std::string path;
    int64_t show_start_us = 0, show_end_us = 0;   // on the virtual video's time line
    int64_t cut_start_us = 0, cut_end_us = 0;     // source range; cut_end 0: to the file's end
    SLIDE_RECT clip{0, 0, 0, 0};
    SLIDE_RECT show{0, 0, 0, 0};
    int display_mode = 0;
    int flip = 0;
    int rotate_deg = 0;
    float factor = 1.0f;
    std::string lookup_path;                      // colour table; empty: none
    BeautySettings beauty;
    // The source time shown at t; past the cut end the last frame is held.
    int64_t sourceTimeUs(int64_t t_us) const;
    bool visibleAt(int64_t t_us) const { return t_us >= show_start_us && t_us < show_end_us; }
};

// One sound on the output time line: a source range played from timeline_start_us on.
struct SoundPlan {
    uint64_t id = 0;
    std::string path;
    int64_t source_start_us = 0, source_end_us = 0;   // end 0: to the file's end
    int64_t timeline_start_us = 0, timeline_end_us = 0;
    double gain = 1.0;
};

// A filter stage over the composed picture during [start_us, end_us).
struct FilterPlan {
    std::shared_ptr<const StereoConfig> stereo;
    int64_t start_us = 0, end_us = 0;
};

struct CompositionPlan {
    int width = 0, height = 0;
    double fps = 30.0;
    double volume = 1.0;
    int64_t total_us = 0;
    std::vector<LayerPlan> layers;                // bottom first
    std::vector<SoundPlan> sounds;
    std::vector<FilterPlan> filters;              // adding order
};

// Copies the composition; the caller holds compositionMutex().
CompositionPlan makePlan(const VirtualVideo& video, int canvas_width, int canvas_height);

}  // namespace kestrel::editing

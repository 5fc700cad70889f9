#pragma once
// The filter stage after composition, one piece of code for the preview and the export: the
// last filter added to a virtual video packs every composed picture (inside its time range
// with the views apart, outside with both views the same, so the output keeps one shape).
#include "engine/editing/composition_plan.h"
#include "engine/editing/compositor.h"

namespace kestrel::editing {

// Picture size after the stage for composed pictures of width x height.
void filteredSize(const CompositionPlan& plan, int width, int height, int* out_width, int* out_height);
// Output pictures per composed picture (2 for alternating views).
int filteredPicturesPerFrame(const CompositionPlan& plan);
// Applies the stage to the composed picture at t_us in place; `view` picks which of the
// alternating views this output picture shows. Nothing when the plan has no filter.
void applyFilterStage(const CompositionPlan& plan, int64_t t_us, int view, Canvas* canvas);

}  // namespace kestrel::editing

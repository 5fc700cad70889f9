#include "engine/editing/filter_stage.h"

#include "engine/editing/stereo_filter.h"

namespace kestrel::editing {

namespace {
const FilterPlan* activeFilter(const CompositionPlan& plan) {
    for (auto it = plan.filters.rbegin(); it != plan.filters.rend(); ++it)
        if (it->stereo) return &*it;
    return nullptr;
}
}  // namespace

void filteredSize(const CompositionPlan& plan, int width, int height, int* out_width, int* out_height) {
    const FilterPlan* filter = activeFilter(plan);
    if (!filter) {
        *out_width = width, *out_height = height;
        return;
    }
    stereoOutputSize(*filter->stereo, width, height, out_width, out_height);
}

int filteredPicturesPerFrame(const CompositionPlan& plan) {
    const FilterPlan* filter = activeFilter(plan);
    return filter ? stereoFramesPerPicture(*filter->stereo) : 1;
}

void applyFilterStage(const CompositionPlan& plan, int64_t t_us, int view, Canvas* canvas) {
    const FilterPlan* filter = activeFilter(plan);
    if (!filter) return;
    bool inside = t_us >= filter->start_us && t_us < filter->end_us;
    Canvas packed;
    packStereo(*filter->stereo, *canvas, view, inside, &packed);
    *canvas = std::move(packed);
}

}  // namespace kestrel::editing

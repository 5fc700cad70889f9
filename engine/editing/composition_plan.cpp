#include "engine/editing/composition_plan.h"

#include <algorithm>

namespace kestrel::editing {

int64_t LayerPlan::sourceTimeUs(int64_t t_us) const {
    int64_t source = cut_start_us + std::max<int64_t>(0, t_us - show_start_us);
    if (cut_end_us > cut_start_us) source = std::min(source, cut_end_us - 1);
    return source;
}

CompositionPlan makePlan(const VirtualVideo& video, int canvas_width, int canvas_height) {
    CompositionPlan plan;
    plan.width = canvas_width;
    plan.height = canvas_height;
    plan.fps = video.fps > 0 ? video.fps : 30.0;
    plan.volume = std::max(0.0f, video.volume);
    for (const auto& scene : video.scenes) {
        if (scene->filter) {
            plan.filters.push_back(FilterPlan{scene->filter, scene->start_us, scene->end_us});
            continue;
        }
        plan.total_us = std::max(plan.total_us, scene->end_us);
        for (const auto& media : scene->media) {
            LayerPlan layer;
            layer.media_id = media->id;
            layer.path = media->path;
            if (media->timeline_set) {
                layer.show_start_us = std::max(media->timeline_start_us, scene->start_us);
                layer.show_end_us = std::min(media->timeline_end_us, scene->end_us);
            } else {
                layer.show_start_us = scene->start_us;
                layer.show_end_us = scene->end_us;
            }
            if (layer.show_end_us <= layer.show_start_us) continue;
            layer.cut_start_us = media->cut_start_us;
            layer.cut_end_us = media->cut_end_us;
            layer.clip = media->clip;
            layer.show = media->show;
            layer.display_mode = media->display_mode;
            layer.flip = media->flip;
            layer.rotate_deg = media->rotate_deg;
            layer.factor = media->factor;
            layer.lookup_path = media->lookup_path;
            layer.beauty = media->beauty;
            if (layer.factor > 0) {
                SoundPlan sound;
                sound.id = media->id;
                sound.path = media->path;
                sound.source_start_us = layer.cut_start_us;
                sound.source_end_us = layer.cut_end_us > layer.cut_start_us ? layer.cut_end_us : 0;
                sound.timeline_start_us = layer.show_start_us;
                sound.timeline_end_us = layer.show_end_us;
                sound.gain = layer.factor;
                plan.sounds.push_back(sound);
            }
            plan.layers.push_back(std::move(layer));
        }
    }
    for (const auto& track : video.audio) {
        if (track->timeline_end_us <= track->timeline_start_us) continue;
        SoundPlan sound;
        sound.id = track->id;
        sound.path = track->path;
        sound.source_start_us = track->source_start_us;
        sound.source_end_us = track->source_end_us > track->source_start_us ? track->source_end_us : 0;
        sound.timeline_start_us = track->timeline_start_us;
        sound.timeline_end_us = track->timeline_end_us;
        sound.gain = track->factor;
        plan.sounds.push_back(sound);
        plan.total_us = std::max(plan.total_us, track->timeline_end_us);
    }
    return plan;
}

}  // namespace kestrel::editing

#pragma once
// Turns decoded pictures by their file's display rotation, so what is written stands as the
// preview shows it (no rotation tag is written). A zero rotation passes pictures through.
#include "engine/core/filter_graph.h"

#include <functional>
#include <memory>

namespace kestrel::editing {

class UprightPictures {
public:
    explicit UprightPictures(int rotation_deg) : rotation_deg_(rotation_deg) {}

    // Size of the written picture for a decoded size.
    void turnedSize(int width, int height, int* out_width, int* out_height) const;
    // Pixel shape of the written picture: a quarter turn turns a wide pixel into a tall one.
    AVRational turnedAspect(AVRational sample_aspect) const;
    // Hands every upright picture made from frame (whose time is time_us) to take; false when
    // the picture cannot be turned or take refuses it.
    bool put(const AVFrame* frame, int64_t time_us, const std::function<bool(const AVFrame*)>& take);

private:
    bool rebuild(const AVFrame* frame);

    int rotation_deg_;
    std::unique_ptr<engine::FilterGraph> graph_;
    int graph_w_ = 0, graph_h_ = 0, graph_format_ = -1;
    engine::FramePtr input_ = engine::makeFrame();
    engine::FramePtr turned_ = engine::makeFrame();
};

}  // namespace kestrel::editing

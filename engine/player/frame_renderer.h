#pragma once
// Turns decoded frames into preview pictures through the engine's filter-graph builder, with
// the settings the window gave. The graph is rebuilt only when the settings change.
#include <memory>
#include <optional>
#include <string>

#include "engine/core/ff_handles.h"
#include "engine/core/filter_graph.h"
#include "engine/core/render_settings.h"
#include "engine/player/picture.h"
#include "engine/player/preview_settings.h"

namespace kestrel::player {

// The engine settings that show what the preview settings ask, for a source whose own display
// rotation is source_rotation_deg. Text watermarks are drawn here through the draw-text callback.
engine::VideoSettings toVideoSettings(const PreviewSettings& preview, int source_rotation_deg, int source_width,
                                      int source_height);

class FrameRenderer {
public:
    FrameRenderer(const engine::VideoSourceParams& source, int source_rotation_deg)
        : source_(source), source_rotation_deg_(source_rotation_deg) {}

    // The frame (time on the file time line, in the source time base) with the settings applied.
    std::optional<Picture> render(const AVFrame* frame, const PreviewSettings& settings, uint64_t version);

private:
    std::optional<Picture> pullPicture();

    engine::VideoSourceParams source_;
    int source_rotation_deg_ = 0;
    std::unique_ptr<engine::FilterGraph> graph_;
    uint64_t graph_version_ = ~uint64_t(0);
    engine::FramePtr in_ = engine::makeFrame();
    engine::FramePtr out_ = engine::makeFrame();
};

}  // namespace kestrel::player

#pragma once
// Pictures of one media file for the compositor: decodes forward while time advances, seeks
// when it jumps, and turns, mirrors, clips and scales each picture through the core's
// filter-graph builder into BGRA (or the YUV an export composes in).
#include "engine/core/filter_graph.h"
#include "engine/core/frame_reader.h"
#include "engine/core/media_input.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kestrel::editing {

// How one picture is to be drawn; equal values reuse the built graph.
struct LayerShape {
    int rotation_deg = 0;     // clockwise, already including the file's own rotation
    bool hflip = false, vflip = false;
    engine::CropMargins crop;
    int out_width = 0, out_height = 0;
    std::string lookup_chain;  // colour look-up filter text; empty: none
    int pixel_format = AV_PIX_FMT_BGRA;  // of the picture made
    bool operator==(const LayerShape& o) const {
        return pixel_format == o.pixel_format && lookup_chain == o.lookup_chain && rotation_deg == o.rotation_deg && hflip == o.hflip && vflip == o.vflip && crop.left == o.crop.left &&
               crop.top == o.crop.top && crop.right == o.crop.right && crop.bottom == o.crop.bottom &&
               out_width == o.out_width && out_height == o.out_height;
    }
};

class LayerRenderer {
public:
    // Null when the file holds no picture.
    static std::unique_ptr<LayerRenderer> open(const std::string& path, std::string* error = nullptr);

    // Picture size as decoded and the file's own display rotation.
    int width() const { return width_; }
    int height() const { return height_; }
    int fileRotationDeg() const { return file_rotation_deg_; }
    // The file's pictures cover everything they are drawn over (no alpha channel).
    bool opaque() const { return opaque_; }
    int64_t durationUs() const { return input_->durationUs(); }

    // The BGRA picture shown at source_us in that shape; null when none can be made.
    const AVFrame* pictureAt(int64_t source_us, const LayerShape& shape);
    // False until a picture of the file has been decoded: a file whose every picture is damaged
    // never gets there.
    bool decodedAny() const { return decoded_any_; }

private:
    LayerRenderer() = default;
    bool decodedAt(int64_t source_us);
    bool convert(const LayerShape& shape);

    std::unique_ptr<engine::MediaInput> input_;
    std::unique_ptr<engine::FrameReader> reader_;
    int width_ = 0, height_ = 0;
    int file_rotation_deg_ = 0;
    bool still_ = false;
    bool opaque_ = false;

    engine::FramePtr current_ = engine::makeFrame();    // decoded picture now shown
    int64_t current_us_ = INT64_MIN;
    engine::FramePtr pending_ = engine::makeFrame();    // decoded, not yet due
    int64_t pending_us_ = INT64_MIN;
    bool ended_ = false;
    bool decoded_any_ = false;

    std::unique_ptr<engine::FilterGraph> graph_;
    LayerShape graph_shape_;
    int graph_w_ = 0, graph_h_ = 0, graph_format_ = -1;
    engine::FramePtr converted_ = engine::makeFrame();
    int64_t converted_us_ = INT64_MIN;
    LayerShape converted_shape_;
};

}  // namespace kestrel::editing

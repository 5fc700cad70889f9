#pragma once
// Draws a composition plan at one time into a BGRA canvas: every visible media, bottom first,
// into its show rectangle. Keeps one renderer per media so that playing forward decodes forward.
#include "engine/editing/composition_plan.h"
#include "engine/editing/face_tracker.h"
#include "engine/editing/layer_renderer.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace kestrel::editing {

struct Canvas {
    int width = 0, height = 0;
    std::vector<uint8_t> bgra;   // width * 4 bytes a row, opaque
    // Set when the picture was composed in YUV 4:2:0 instead: the Y plane (width bytes a row),
    // then U and V (width / 2 bytes a row, height / 2 rows) in `yuv`; bgra is then unused.
    bool is_yuv = false;
    std::vector<uint8_t> yuv;
    // The three planes of `yuv` for an AVFrame.
    void yuvPlanes(uint8_t* data[3], int linesize[3]);
};

// Where a layer lands in the canvas and what shape its picture must take.
struct LayerPlacement {
    int x = 0, y = 0;
    LayerShape shape;
};
// False when the layer covers nothing.
bool placeLayer(const LayerPlan& layer, int source_width, int source_height, int file_rotation_deg, int canvas_width,
                int canvas_height, LayerPlacement* out);

class Compositor {
public:
    // A live preview finds faces in the background; an export on the pictures it draws.
    explicit Compositor(FaceDetection face_detection = FaceDetection::InStep) : face_detection_(face_detection) {}

    // Renders time t_us of the plan; layers whose file cannot be read are left out. With
    // allow_yuv, a moment whose layers are all opaque pictures on even positions is composed in
    // YUV 4:2:0 (canvas->is_yuv), so an encoder of that format gets it without a round trip
    // through RGB; the canvas must then have an even size.
    void render(const CompositionPlan& plan, int64_t t_us, Canvas* canvas, bool allow_yuv = false);
    // True once a layer was due whose file holds pictures but gave none: no picture of it could
    // be decoded (a damaged file), so what is drawn is not what was asked.
    bool showedUnreadableMedia() const { return showed_unreadable_; }
    // Forgets renderers of media no longer in the plan.
    void prune(const CompositionPlan& plan);

private:
    LayerRenderer* rendererFor(const LayerPlan& layer);
    // The media's picture with its faces retouched.
    std::vector<uint8_t>& retouched(uint64_t media_id, const AVFrame* picture, int64_t source_us,
                                    const BeautySettings& beauty);

    struct Entry {
        std::string path;
        std::unique_ptr<LayerRenderer> renderer;  // null: the file could not be opened
    };
    std::map<uint64_t, Entry> renderers_;
    // Face beauty per media: its tracker and the retouched copy of its picture.
    struct Retouch {
        explicit Retouch(FaceDetection detection) : tracker(detection) {}
        FaceTracker tracker;
        std::vector<uint8_t> bgra;
    };
    std::map<uint64_t, std::unique_ptr<Retouch>> retouch_;
    FaceDetection face_detection_;
    bool showed_unreadable_ = false;
};

}  // namespace kestrel::editing

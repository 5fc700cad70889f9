#pragma once
// How one watermark is drawn. The preview and the export both ask here, so a watermark the
// preview plays as a video is exported as a video, and one it shows as a picture as a picture.
#include "model/water_param.h"

namespace kestrel::session {

enum class WatermarkDrawing {
    Nothing,  // unchecked, or nothing to draw (no file, no text)
    Video,    // a video file, played during the watermark's time
    Picture,  // a still picture file
    Text,     // the text, drawn by the text callback
};

WatermarkDrawing watermarkDrawingOf(const kestrel::model::WaterParam& mark);

}  // namespace kestrel::session

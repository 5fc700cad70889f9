#include "session/edit/watermark_drawing.h"

namespace kestrel::session {

WatermarkDrawing watermarkDrawingOf(const kestrel::model::WaterParam& mark) {
    if (!mark.isCheck) return WatermarkDrawing::Nothing;
    if (mark.waterType == 2 && !mark.waterImagePath.isEmpty())
        // The panel marks a file that holds video when it is added; its measured length may be
        // missing, which must not turn it into a picture on the way out.
        return mark.isVideo ? WatermarkDrawing::Video : WatermarkDrawing::Picture;
    if (mark.waterType == 4 && !mark.waterText.isEmpty()) return WatermarkDrawing::Text;
    return WatermarkDrawing::Nothing;
}

}  // namespace kestrel::session

#include "session/export/editor/watermark_export.h"

#include <QDebug>
#include <QSize>

#include "engine/mediacore/media_core.h"
#include "session/edit/text_watermark_layout.h"
#include "session/edit/watermark_drawing.h"
#include "session/edit/watermark_records.h"
#include "session/preview/draw_text_callback.h"

namespace kestrel::session {

QSize watermarkFrameSize(int sourceWidth, int sourceHeight, int userAngle) {
    const int quarter = ((userAngle % 360) + 360) % 360;
    return (quarter == 90 || quarter == 270) ? QSize(sourceHeight, sourceWidth) : QSize(sourceWidth, sourceHeight);
}

int addConvertWaterMark(void* job, const QList<kestrel::model::WaterParam>& list, int frameWidth, int frameHeight) {
    int added = 0;
    for (int i = 0; i < list.size(); ++i) {
        const kestrel::model::WaterParam& mark = list[i];
        int32_t result = 0;
        switch (watermarkDrawingOf(mark)) {
        case WatermarkDrawing::Video:
            if (auto record = makeVideoWatermarkRecord(mark, frameWidth, frameHeight))
                result = apiMediaConvertAddVideoWatermark(job, *record);
            break;
        case WatermarkDrawing::Picture:
            if (auto record = makeImageWatermarkRecord(mark.waterImagePath, mark, frameWidth, frameHeight))
                result = apiMediaConvertAddImageWatermask(job, *record);
            break;
        case WatermarkDrawing::Text:
            apiMediaConvertSetDrawTextCallback(&DrawTextCallback);
            result = apiMediaConvertAddTextWatermask(
                job, makeTextWatermarkRecord(mark, frameWidth, frameHeight, textBaselineRaisePixels(mark, frameWidth, frameHeight)));
            break;
        case WatermarkDrawing::Nothing: continue;
        }
        if (result >= 1) ++added;
        else qWarning() << "watermark" << i << "not taken by the job:" << result;
    }
    return added;
}

}  // namespace kestrel::session

#include "session/preview/watermark_preview.h"

#include <QDebug>

#include "engine/player/DIVuverIzizud.h"
#include "session/edit/text_watermark_layout.h"
#include "session/edit/watermark_drawing.h"
#include "session/edit/watermark_records.h"

namespace kestrel::session {

int refreshPlayerWaterMark(kestrel::player::DIVuverIzizud* player, const QList<kestrel::model::WaterParam>& list,
                           int skipIndex, const QSizeF& videoSize) {
    if (!player) return 0;
    player->ClearWatermask();
    const double W = videoSize.width(), H = videoSize.height();
    int added = 0;
    for (int i = 0; i < list.size(); ++i) {
        const kestrel::model::WaterParam& mark = list[i];
        if (i == skipIndex) continue;
        int32_t result = 0;
        switch (watermarkDrawingOf(mark)) {
        case WatermarkDrawing::Video:
            if (auto record = makeVideoWatermarkRecord(mark, W, H)) result = player->AddVideoWatermask(*record);
            break;
        case WatermarkDrawing::Picture:
            if (auto record = makeImageWatermarkRecord(mark.waterImagePath, mark, W, H))
                result = player->AddImageWatermask(*record);
            break;
        case WatermarkDrawing::Text:
            result = player->AddTextWatermask(makeTextWatermarkRecord(mark, W, H, textBaselineRaisePixels(mark, W, H)));
            break;
        case WatermarkDrawing::Nothing: continue;
        }
        qDebug() << "suc:" << result;
        if (result >= 1) ++added;
    }
    if (player->playerStatus() != 1) player->Refresh();
    return added;
}

}  // namespace kestrel::session

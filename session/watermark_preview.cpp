#include "session/watermark_preview.h"

#include <QDebug>

#include "session/text_watermark_layout.h"
#include "session/watermark_records.h"
#include "engine/player/DIVuverIzizud.h"

namespace kestrel::session {

int refreshPlayerWaterMark(kestrel::player::DIVuverIzizud* player, const QList<kestrel::model::WaterParam>& list,
                           int skipIndex, const QSizeF& videoSize) {
    if (!player) return 0;
    player->ClearWatermask();
    const double W = videoSize.width(), H = videoSize.height();
    int added = 0;
    for (int i = 0; i < list.size(); ++i) {
        const kestrel::model::WaterParam& mark = list[i];
        if (!mark.isCheck || i == skipIndex) continue;
        int32_t result = 0;
        if (mark.waterType == 2 && !mark.waterImagePath.isEmpty()) {
            if (mark.isVideo) {
                if (auto record = makeVideoWatermarkRecord(mark, W, H)) result = player->AddVideoWatermask(*record);
            } else if (auto record = makeImageWatermarkRecord(mark.waterImagePath, mark, W, H)) {
                result = player->AddImageWatermask(*record);
            }
        } else if (mark.waterType == 4 && !mark.waterText.isEmpty()) {
            result = player->AddTextWatermask(makeTextWatermarkRecord(mark, W, H, textBaselineRaisePixels(mark, W, H)));
        } else {
            continue;
        }
        qDebug() << "suc:" << result;
        if (result >= 1) ++added;
    }
    if (player->playerStatus() != 1) player->Refresh();
    return added;
}

}  // namespace kestrel::session

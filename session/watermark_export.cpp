#include "session/watermark_export.h"

#include <QDebug>
#include <QSize>

#include "session/draw_text_callback.h"
#include "session/text_watermark_layout.h"
#include "session/watermark_records.h"
#include "engine/mediacore/media_core.h"
#include "services/output_name.h"

namespace kestrel::session {

namespace {

bool isExportedAsVideo(const kestrel::model::WaterParam& mark) { return mark.fileDuration > 0; }

// Writes a rendered text under a name nothing else uses; empty on failure.
QString saveRenderedText(const QImage& picture, const QString& folder, int index) {
    if (folder.isEmpty()) return {};
    const QString path = services::uniqueOutputPath(folder, QStringLiteral("waterImage_%1").arg(index), "png");
    return picture.save(path, "PNG") ? path : QString();
}

}  // namespace

QSize watermarkFrameSize(int sourceWidth, int sourceHeight, int userAngle) {
    const int quarter = ((userAngle % 360) + 360) % 360;
    return (quarter == 90 || quarter == 270) ? QSize(sourceHeight, sourceWidth) : QSize(sourceWidth, sourceHeight);
}

int addConvertWaterMark(void* job, QList<kestrel::model::WaterParam>& list, int frameWidth, int frameHeight,
                        const QString& pictureFolder, QStringList* writtenFiles) {
    int added = 0;
    for (int i = 0; i < list.size(); ++i) {
        kestrel::model::WaterParam& mark = list[i];
        if (!mark.isCheck) continue;
        int32_t result = 0;
        if (mark.waterType == 2 && !mark.waterImagePath.isEmpty()) {
            if (isExportedAsVideo(mark)) {
                if (auto record = makeVideoWatermarkRecord(mark, frameWidth, frameHeight))
                    result = apiMediaConvertAddVideoWatermark(job, *record);
            } else if (auto record = makeImageWatermarkRecord(mark.waterImagePath, mark, frameWidth, frameHeight)) {
                result = apiMediaConvertAddImageWatermask(job, *record);
            }
        } else if (mark.waterType == 4 && !mark.waterImage.isNull()) {
            const QString path = saveRenderedText(mark.waterImage, pictureFolder, i);
            if (path.isEmpty()) {
                qWarning() << "watermark picture not written for" << i;
                continue;
            }
            if (writtenFiles) writtenFiles->append(path);
            mark.waterImagePath = path;
            if (auto record = makeImageWatermarkRecord(path, mark, frameWidth, frameHeight))
                result = apiMediaConvertAddImageWatermask(job, *record);
        } else if (mark.waterType == 4 && !mark.waterText.isEmpty()) {
            apiMediaConvertSetDrawTextCallback(&DrawTextCallback);
            result = apiMediaConvertAddTextWatermask(job, makeTextWatermarkRecord(mark, frameWidth, frameHeight,
                                                                            textBaselineRaisePixels(mark, frameWidth, frameHeight)));
        }
        if (result >= 1) ++added;
        else qWarning() << "watermark" << i << "not taken by the job:" << result;
    }
    return added;
}

}  // namespace kestrel::session

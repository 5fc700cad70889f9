#pragma once
// The export's watermark step: adds every checked watermark of the editor's list to a
// transcoding job, each shown during its own start and duration, as in the preview.
#include <QList>
#include <QString>
#include <QStringList>

#include "model/water_param.h"

namespace kestrel::session {

// frameWidth x frameHeight: the turned, uncropped frame the overlay was placed on (the source's
// width and height, exchanged for a user turn of 90 or 270 degrees). A text already rendered by
// the overlay (waterImage) goes in as a picture written into pictureFolder under a new name; its
// path is stored in the watermark and appended to writtenFiles, which the caller removes once the
// job has ended. Returns how many watermarks the job accepted.
int addConvertWaterMark(void* job, QList<kestrel::model::WaterParam>& waterMarkList, int frameWidth, int frameHeight,
                        const QString& pictureFolder, QStringList* writtenFiles);

// The frame size addConvertWaterMark wants for a source of that size and a user turn.
QSize watermarkFrameSize(int sourceWidth, int sourceHeight, int userAngle);

}  // namespace kestrel::session

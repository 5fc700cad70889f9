#pragma once
// The export's watermark step: adds every checked watermark of the editor's list to a
// transcoding job, each shown during its own start and duration, as in the preview.
#include <QList>
#include <QString>

#include "model/water_param.h"

namespace kestrel::session {

// frameWidth x frameHeight: the turned, uncropped frame the overlay was placed on (the source's
// width and height, exchanged for a user turn of 90 or 270 degrees). Each watermark is drawn as
// the preview draws it (watermark_drawing.h). Returns how many watermarks the job accepted.
int addConvertWaterMark(void* job, const QList<kestrel::model::WaterParam>& waterMarkList, int frameWidth,
                        int frameHeight);

// The frame size addConvertWaterMark wants for a source of that size and a user turn.
QSize watermarkFrameSize(int sourceWidth, int sourceHeight, int userAngle);

}  // namespace kestrel::session

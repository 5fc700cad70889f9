#pragma once
// Turns the editor's watermarks into the fixed records the preview player and the transcoding
// job take: rectangles in pixels of the watermark frame, times in microseconds of the source.
#include <QRectF>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/core/media_records.h"
#include "model/water_param.h"

namespace kestrel::session {

struct PixelEdges {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Fractions of the frame (bottom-left origin, y upward) to edges of a width x height frame with a
// top-left origin, each truncated toward zero and not clamped.
PixelEdges pixelEdgesFromFractions(const QRectF& fractions, double frameWidth, double frameHeight);

int64_t microsecondsFromSeconds(double seconds);

// Copies text as NUL-terminated UTF-8 into a fixed field. Text that does not fit is cut at a
// character boundary; false tells the caller it was cut.
bool copyUtf8Field(char* field, size_t fieldSize, const QString& text);

// When a watermark shows, on the source time line: from its own start for its own duration.
struct WatermarkWindow {
    int64_t start_us = 0;
    int64_t end_us = 0;
};
WatermarkWindow watermarkWindow(const kestrel::model::WaterParam& mark);

// Video pixels per overlay point: text sizes are kept in points of the overlay the watermark was
// placed on (its width is the record's waterViewFrameWidth).
double fontScaleForFrame(const kestrel::model::WaterParam& mark, double frameWidth);

// Empty when the path does not fit its field: a shortened path would name another file.
std::optional<ImageWatermarkRecord> makeImageWatermarkRecord(const QString& picturePath, const kestrel::model::WaterParam& mark,
                                                             double frameWidth, double frameHeight);
std::optional<VideoWatermarkRecord> makeVideoWatermarkRecord(const kestrel::model::WaterParam& mark, double frameWidth,
                                                             double frameHeight);
// The text origin is the rectangle's bottom-left corner in pixels counted from the frame's bottom,
// raised by yOffsetPixels. A missing colour is drawn white.
TextWatermarkRecord makeTextWatermarkRecord(const kestrel::model::WaterParam& mark, double frameWidth, double frameHeight,
                                            double yOffsetPixels);

}  // namespace kestrel::session

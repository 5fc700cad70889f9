#include "session/edit/watermark_records.h"

#include <QByteArray>
#include <cmath>
#include <cstring>

#include "services/help_class.h"

namespace kestrel::session {

namespace {

int32_t truncated(double value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<int32_t>(std::trunc(value));
}

int32_t transparencyOf(const kestrel::model::WaterParam& mark) { return truncated(mark.waterAlph); }

}  // namespace

PixelEdges pixelEdgesFromFractions(const QRectF& f, double frameWidth, double frameHeight) {
    PixelEdges edges;
    edges.left = truncated(f.x() * frameWidth);
    edges.right = truncated((f.x() + f.width()) * frameWidth);
    edges.top = truncated((1.0 - (f.y() + f.height())) * frameHeight);
    edges.bottom = truncated((1.0 - f.y()) * frameHeight);
    return edges;
}

int64_t microsecondsFromSeconds(double seconds) {
    if (!std::isfinite(seconds)) return 0;
    return static_cast<int64_t>(std::trunc(seconds * 1000000.0));
}

bool copyUtf8Field(char* field, size_t fieldSize, const QString& text) {
    std::memset(field, 0, fieldSize);
    if (fieldSize == 0) return text.isEmpty();
    const QByteArray bytes = text.toUtf8();
    size_t length = static_cast<size_t>(bytes.size());
    const bool fits = length < fieldSize;
    if (!fits) {
        length = fieldSize - 1;
        // Step back over continuation bytes so no character is left half written.
        while (length > 0 && (static_cast<unsigned char>(bytes[static_cast<qsizetype>(length)]) & 0xC0) == 0x80) --length;
    }
    std::memcpy(field, bytes.constData(), length);
    return fits;
}

WatermarkWindow watermarkWindow(const kestrel::model::WaterParam& mark) {
    WatermarkWindow window;
    window.start_us = microsecondsFromSeconds(mark.startTime);
    window.end_us = window.start_us + microsecondsFromSeconds(mark.duration);
    return window;
}

double fontScaleForFrame(const kestrel::model::WaterParam& mark, double frameWidth) {
    return mark.waterViewFrameWidth > 0 ? frameWidth / mark.waterViewFrameWidth : 1.0;
}

std::optional<ImageWatermarkRecord> makeImageWatermarkRecord(const QString& picturePath, const kestrel::model::WaterParam& mark,
                                                             double frameWidth, double frameHeight) {
    ImageWatermarkRecord record;
    std::memset(&record, 0, sizeof record);
    if (!copyUtf8Field(record.path, sizeof record.path, picturePath)) return std::nullopt;
    const PixelEdges edges = pixelEdgesFromFractions(mark.waterPercentClipRect, frameWidth, frameHeight);
    record.left = edges.left;
    record.top = edges.top;
    record.right = edges.right;
    record.bottom = edges.bottom;
    record.transparency = transparencyOf(mark);
    const WatermarkWindow window = watermarkWindow(mark);
    record.start_us = window.start_us;
    record.end_us = window.end_us;
    return record;
}

std::optional<VideoWatermarkRecord> makeVideoWatermarkRecord(const kestrel::model::WaterParam& mark, double frameWidth,
                                                             double frameHeight) {
    VideoWatermarkRecord record;
    std::memset(&record, 0, sizeof record);
    if (!copyUtf8Field(record.path, sizeof record.path, mark.waterImagePath)) return std::nullopt;
    const PixelEdges edges = pixelEdgesFromFractions(mark.waterPercentClipRect, frameWidth, frameHeight);
    record.left = edges.left;
    record.top = edges.top;
    record.right = edges.right;
    record.bottom = edges.bottom;
    const WatermarkWindow window = watermarkWindow(mark);
    record.start_us = window.start_us;
    record.end_us = window.end_us;
    record.file_start_us = microsecondsFromSeconds(mark.fileStartTime);
    record.file_end_us = microsecondsFromSeconds(mark.fileEndTime);
    record.transparency = transparencyOf(mark);
    return record;
}

TextWatermarkRecord makeTextWatermarkRecord(const kestrel::model::WaterParam& mark, double frameWidth, double frameHeight,
                                            double yOffsetPixels) {
    TextWatermarkRecord record;
    std::memset(&record, 0, sizeof record);
    copyUtf8Field(record.text, sizeof record.text, mark.waterText);
    copyUtf8Field(record.font_name, sizeof record.font_name, mark.waterFontName);
    const QRectF& f = mark.waterPercentClipRect;
    record.x = truncated(f.x() * frameWidth);
    record.right = truncated((f.x() + f.width()) * frameWidth);
    record.y = truncated(f.y() * frameHeight + yOffsetPixels);
    record.fourth_edge = truncated(f.y() * frameHeight + yOffsetPixels + f.width() * frameHeight);
    record.font_size = truncated(mark.waterFontSize * fontScaleForFrame(mark, frameWidth));
    const QColor colour = mark.waterFontColor.isValid() ? mark.waterFontColor : QColor(Qt::white);
    record.colour = services::HelpClass::retDwordColorVolue(colour);
    record.transparency = transparencyOf(mark);
    const WatermarkWindow window = watermarkWindow(mark);
    record.start_us = window.start_us;
    record.end_us = window.end_us;
    return record;
}

}  // namespace kestrel::session

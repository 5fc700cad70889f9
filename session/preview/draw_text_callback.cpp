#include "session/preview/draw_text_callback.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace kestrel::session {

// QImage's 32-bit premultiplied format is B, G, R, A in memory on a little-endian machine,
// which is the byte order the engines hand us.
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the frame buffers are BGRA in memory");

namespace {

QString fieldText(const char* field, size_t size) {
    return QString::fromUtf8(field, static_cast<qsizetype>(strnlen(field, size)));
}

void drawText(int32_t width, int32_t height, uint8_t* buffer, const QString& text, const QString& fontName,
              int32_t fontSize, uint32_t colourWord, int32_t transparency, int32_t x, int32_t y) {
    if (!buffer || width <= 0 || height <= 0 || fontSize <= 0 || text.isEmpty()) return;
    const double opacity = 1.0 - std::clamp(transparency, 0, 100) / 100.0;
    if (opacity <= 0) return;
    QImage frame(buffer, width, height, width * 4, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(fontName);
    font.setPixelSize(fontSize);
    painter.setFont(font);
    QColor colour((colourWord >> 24) & 0xFF, (colourWord >> 16) & 0xFF, (colourWord >> 8) & 0xFF);
    colour.setAlphaF(static_cast<float>(opacity));
    painter.setPen(colour);
    // The record counts y from the bottom row upward; the painter counts rows from the top.
    painter.drawText(QPointF(x, height - y), text);
}

}  // namespace

void DrawTextCallback(int32_t width, int32_t height, uint8_t* buffer, TextWatermarkRecord record) {
    drawText(width, height, buffer, fieldText(record.text, sizeof record.text),
             fieldText(record.font_name, sizeof record.font_name), record.font_size, record.colour,
             record.transparency, record.x, record.y);
}

void PreviewDrawTextCallback(int32_t width, int32_t height, uint8_t* pixels, kestrel::player::DrawTextParam param) {
    drawText(width, height, pixels, fieldText(param.text, sizeof param.text),
             fieldText(param.font_name, sizeof param.font_name), param.font_size, param.colour, param.transparency,
             param.x, param.y);
}

}  // namespace kestrel::session

#include "editor/preview_callbacks.h"

#include <QFont>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstring>

namespace editor {

namespace {
QString fixedText(const char* field, size_t size) { return QString::fromUtf8(field, int(strnlen(field, size))); }
}  // namespace

void PreviewDrawTextCallback(int32_t width, int32_t height, uint8_t* pixels, kestrel::player::DrawTextParam param) {
    if (!pixels || width <= 0 || height <= 0) return;
    // Wraps the caller's buffer: drawing lands in it directly.
    QImage canvas(pixels, width, height, width * 4, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&canvas);
    QFont font(fixedText(param.font_name, sizeof param.font_name));
    font.setPixelSize(param.font_size > 0 ? param.font_size : 30);
    painter.setFont(font);
    const uint32_t c = param.colour;  // 0xRRGGBB00
    QColor colour((c >> 24) & 0xFF, (c >> 16) & 0xFF, (c >> 8) & 0xFF);
    colour.setAlphaF(std::clamp(1.0 - param.transparency / 100.0, 0.0, 1.0));
    painter.setPen(colour);
    // The origin is counted from the bottom of the buffer.
    painter.drawText(QPointF(param.x, height - param.y), fixedText(param.text, sizeof param.text));
}

int32_t PreviewLoadImageCallback(const char* path, int32_t* width, int32_t* height, int32_t bufferSize,
                                 uint8_t* pixels) {
    if (!path) return 0;
    const QString file = QString::fromUtf8(path);
    if (file.toUtf8() != QByteArray(path)) return 0;  // not valid UTF-8
    QImageReader reader(file);
    const QSize size = reader.size();
    if (!pixels) {
        if (!size.isValid() || size.isEmpty()) return 0;
        if (width) *width = size.width();
        if (height) *height = size.height();
        return 1;
    }
    QImage image = reader.read();
    if (image.isNull()) return 0;
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int64_t needed = int64_t(image.width()) * image.height() * 4;
    if (needed > bufferSize) return 0;
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(pixels + int64_t(y) * image.width() * 4, image.constScanLine(y), size_t(image.width()) * 4);
    return 1;
}

}  // namespace editor

#include "session/preview/preview_callbacks.h"

#include <QImage>
#include <QImageReader>
#include <QString>
#include <cstring>

namespace kestrel::session {

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

}  // namespace kestrel::session

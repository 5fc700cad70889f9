#include "platform/atomic_image_write.h"

#include "platform/atomic_write.h"

#include <QBuffer>

namespace platform {

bool saveImageAtomically(const QImage& image, const QString& path, const char* format, QString* error) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format)) {
        if (error) *error = QStringLiteral("cannot encode the picture for %1").arg(path);
        return false;
    }
    return writeFileAtomically(path, encoded, error);
}

}  // namespace platform

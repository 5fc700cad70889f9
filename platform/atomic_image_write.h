#pragma once
// A picture encoded in memory, then written whole or not at all (see atomic_write.h).
#include <QImage>
#include <QString>

namespace platform {

// `format` as QImageWriter names it ("PNG", "JPEG", "BMP"). False when it cannot be encoded or
// written; nothing is left behind then.
bool saveImageAtomically(const QImage& image, const QString& path, const char* format, QString* error = nullptr);

}  // namespace platform

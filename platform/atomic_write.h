#pragma once
// Writes a whole file under a temporary name beside it and renames it into place only when
// every byte reached the disk. QSaveFile alone is not enough: on a full disk a short write or a
// failed flush still lets commit() rename the cut-off file into place.
#include <QByteArray>
#include <QString>

namespace platform {

// False (with the reason in `error`) when the file could not be written whole; the target is
// then as it was and no temporary file is left.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

}  // namespace platform

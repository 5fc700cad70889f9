#include "platform/atomic_write.h"

#include <QSaveFile>

namespace platform {

bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    // Both checks are needed: large blocks bypass the buffer (short count), small ones fail at flush.
    if (file.write(data) != data.size() || !file.flush()) {
        if (error) *error = file.errorString().isEmpty() ? QStringLiteral("cannot write %1").arg(path) : file.errorString();
        file.cancelWriting();
        file.commit();  // after cancelWriting this only removes the temporary file
        return false;
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace platform

#include "tools/gif/gif_photo_list.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "widgets/dialogs/file_kinds.h"

namespace kestrel::tools::gif {

namespace {

// When the file was made; where the file system keeps no birth time, its last change.
QDateTime madeAt(const QFileInfo& info) {
    const QDateTime birth = info.birthTime();
    return birth.isValid() ? birth : info.lastModified();
}

}  // namespace

QStringList photoFileTypes() { return widgets::splitExtensionList(QStringLiteral(".jpg,.jpeg,.bmp,.png,.gif,.tiff")); }

QStringList acceptedPhotos(const QStringList& paths) {
    QStringList photos;
    const QStringList types = photoFileTypes();
    for (const QString& path : paths)
        if (widgets::hasAllowedExtension(path, types)) photos.append(path);
    return photos;
}

QStringList photosOfChoice(const QStringList& chosen) {
    QStringList candidates;
    for (const QString& path : chosen) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            candidates.append(path);
            continue;
        }
        const QDir folder(path);
        for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) candidates.append(folder.filePath(name));
    }
    QStringList photos = acceptedPhotos(candidates);
    std::stable_sort(photos.begin(), photos.end(),
                     [](const QString& a, const QString& b) { return madeAt(QFileInfo(a)) < madeAt(QFileInfo(b)); });
    return photos;
}

}  // namespace kestrel::tools::gif

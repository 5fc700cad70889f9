#include "editor/subtitle/subtitle_fonts.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace kestrel::editor {

QString subtitleFontFolder() { return QStringLiteral("/usr/share/fonts"); }

QStringList listSubtitleFontFiles(const QString& folder) {
    QStringList names;
    const QDir root(folder);
    if (folder.isEmpty() || !root.exists()) return names;
    QDirIterator it(folder, QDir::Files | QDir::Readable, QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString extension = QFileInfo(path).suffix().toLower();
        if (extension == "ttf" || extension == "ttc") names.append(root.relativeFilePath(path));
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

int defaultSubtitleFontIndex(const QStringList& names) {
    if (names.isEmpty()) return -1;
    for (int i = 0; i < names.size(); ++i)
        if (QFileInfo(names[i]).fileName().startsWith("Songti")) return i;
    for (int i = 0; i < names.size(); ++i)
        if (QFileInfo(names[i]).fileName().toLower() == "arial.ttf") return i;
    return 0;
}

}  // namespace kestrel::editor

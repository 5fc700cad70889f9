#include "services/output_name.h"

#include <QFileInfo>

namespace services {

bool outputPathTaken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

namespace {
QString joinName(const QString& folder, const QString& name, const QString& ext) {
    return ext.isEmpty() ? folder + "/" + name : folder + "/" + name + "." + ext;
}
}  // namespace

QString uniqueOutputPath(const QString& folder, const QString& base, const QString& ext) {
    QString dir = folder;
    while (dir.size() > 1 && dir.endsWith('/')) dir.chop(1);
    if (dir == "/") dir.clear();  // "/" + name, not "//" + name

    QString candidate = joinName(dir, base, ext);
    for (qint64 number = 2; outputPathTaken(candidate); ++number)
        candidate = joinName(dir, QStringLiteral("%1(%2)").arg(base).arg(number), ext);
    return candidate;
}

}  // namespace services

// Where the resources live and the picture lookup of the resource bundle.
#include "services/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace services {

namespace {

// Found from the executable's own place, so an installed copy runs from any prefix: "Resources"
// beside it in the build folder, "../share/kestrel/Resources" once installed. Programs that run
// from elsewhere in the build folder (tests, galleries) name the folder in $KESTREL_RESOURCES.
QString findResourcesFolder() {
    const QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    const QStringList candidates{exeDir + "/Resources", exeDir + "/../share/kestrel/Resources"};
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate + "/Settings.bundle").isDir() || QFileInfo(candidate + "/en.lproj").isDir())
            return QDir::cleanPath(candidate);
    return QDir::cleanPath(candidates.constLast());
}

// "btn@2x.png" is drawn at half its pixel size, "btn@3x.png" at a third.
qreal pixelRatioOfFile(const QString& path) {
    const QString base = QFileInfo(path).completeBaseName();
    if (base.endsWith(QLatin1String("@3x"))) return 3.0;
    if (base.endsWith(QLatin1String("@2x"))) return 2.0;
    return 1.0;
}

QImage readImage(const QString& path) {
    if (!QFileInfo(path).isFile()) return QImage();
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);  // ".bmp" names may hold PNG data
    QImage image = reader.read();
    if (!image.isNull()) image.setDevicePixelRatio(pixelRatioOfFile(path));
    return image;
}

}  // namespace

QString Language::resourcesPath() {
    const QByteArray overridden = qgetenv("KESTREL_RESOURCES");
    if (!overridden.isEmpty()) return QDir::cleanPath(QString::fromLocal8Bit(overridden));
    // The executable does not move during a run; look once the application object exists.
    if (!QCoreApplication::instance()) return findResourcesFolder();
    static const QString found = findResourcesFolder();
    return found;
}

QString Language::resourceBundlePath() {
    return resourcesPath() + QStringLiteral("/Settings.bundle");
}

QString Language::pathWithfileName(const QString& name) {
    const QString path = resourceBundlePath() + "/" + name;
    return QFileInfo::exists(path) ? path : QString();
}

QImage Language::bundleImageWithfileName(const QString& name) {
    return readImage(resourceBundlePath() + "/" + name);
}

QImage Language::imageWithfileName(const QString& name) {
    const QString base = resourceBundlePath() + "/" + name;
    for (const QString& path : {base, base + ".png", base + "@3x.png", base + "@2x.png"}) {
        QImage image = readImage(path);
        if (!image.isNull()) return image;
    }
    return QImage();
}

QPixmap Language::pixmapWithfileName(const QString& name) {
    const QImage image = imageWithfileName(name);
    if (image.isNull()) return QPixmap();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(image.devicePixelRatio());
    return pixmap;
}

}  // namespace services

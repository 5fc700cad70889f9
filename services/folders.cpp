#include "services/folders.h"

#include "platform/atomic_write.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QTextStream>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/bookmarks.h"
#include "services/output_name.h"

namespace services {

namespace {

constexpr int kThumbLimit = 900;
// A thumbnail's JPEG quality: small files that still show the picture without blocks.
constexpr int kThumbJpegQuality = 85;

bool writeFileAtomically(const QString& path, const QByteArray& data) {
    QString error;
    if (platform::writeFileAtomically(path, data, &error)) return true;
    qWarning() << "Cannot write" << path << ":" << error;
    return false;
}

// A line of user-dirs.dirs ("XDG_VIDEOS_DIR", "XDG_DESKTOP_DIR"), "$HOME/..." expanded; empty
// when absent.
QString dirFromUserDirs(const QString& key) {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty()) config = QDir::homePath() + "/.config";
    QFile file(config + "/user-dirs.dirs");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.startsWith(key + "=")) continue;
        QString value = line.mid(int(key.size()) + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) value = value.mid(1, value.size() - 2);
        if (value.startsWith("$HOME")) value = QDir::homePath() + value.mid(5);
        else if (!value.startsWith('/')) value = QDir::homePath() + "/" + value;
        return value;
    }
    return {};
}

}  // namespace

FileManager& FileManager::sharedManager() {
    static FileManager manager;  // thread-safe one-time construction
    return manager;
}

FileManager::FileManager() { audioBGImagePath_ = customAudioBGImagePath(); }

void FileManager::setVideoFrameGrabber(PictureGrabber grabber) { videoFrameGrabber_ = std::move(grabber); }
void FileManager::setAudioArtworkGrabber(PictureGrabber grabber) { audioArtworkGrabber_ = std::move(grabber); }

QString FileManager::getCurrentBundleName() const {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Kestrel") : name;
}

bool FileManager::createDirectoryAtPath(const QString& path) {
    if (path.isEmpty()) {
        qWarning() << "Create Audio Directory Failed. (empty path)";
        return false;
    }
    // Finding the folder is a look-up: it leaves the settings as they are (every cache folder is
    // asked for again and again, and none of them is a place the user chose).
    if (QFileInfo(path).isDir()) return true;
    // Made one level at a time so the log names the part that stood in the way.
    const QStringList parts = QDir::cleanPath(QDir(path).absolutePath()).split('/', Qt::SkipEmptyParts);
    QString current;
    for (const QString& part : parts) {
        current += "/" + part;
        const QFileInfo step(current);
        if (step.isDir()) continue;
        if (step.exists()) {
            qWarning().noquote() << "Create Audio Directory Failed." << current << "is not a folder";
            return false;
        }
        if (::mkdir(QFile::encodeName(current).constData(), 0777) != 0 && errno != EEXIST) {
            qWarning().noquote() << "Create Audio Directory Failed." << current << ":" << strerror(errno);
            return false;
        }
    }
    return QFileInfo(path).isDir();
}

QString FileManager::moviesFolderPath() {
    QString videos = qEnvironmentVariable("XDG_VIDEOS_DIR");
    if (videos.isEmpty()) videos = dirFromUserDirs("XDG_VIDEOS_DIR");
    if (videos.isEmpty()) videos = QDir::homePath();
    return QDir::cleanPath(videos);
}

QString FileManager::desktopFolderPath() {
    QString desktop = qEnvironmentVariable("XDG_DESKTOP_DIR");
    if (desktop.isEmpty()) desktop = dirFromUserDirs("XDG_DESKTOP_DIR");
    if (desktop.isEmpty()) desktop = QDir::homePath() + "/Desktop";
    return QDir::cleanPath(desktop);
}

QString FileManager::rootDirPath() {
    const QString path = moviesFolderPath() + "/" + getCurrentBundleName();
    return createDirectoryAtPath(path) ? path : QString();
}

QString FileManager::customCachesMainPath() const {
    QString caches = qEnvironmentVariable("XDG_CACHE_HOME");
    if (caches.isEmpty()) caches = QDir::homePath() + "/.cache";
    return QDir::cleanPath(caches) + "/" + getCurrentBundleName();
}

QString FileManager::cacheFolder(const QString& name) {
    const QString path = customCachesMainPath() + "/" + name;
    return createDirectoryAtPath(path) ? path : QString();
}

QString FileManager::waterDirPath() { return cacheFolder("Waters"); }
QString FileManager::rootScreensDirPath() { return cacheFolder("Screens"); }
QString FileManager::rootSnapshotDirPath() { return cacheFolder("Snapshots"); }
QString FileManager::rootFiltersDirPath() { return cacheFolder("Filters"); }
QString FileManager::rootExportVideosDirPath() { return cacheFolder("ExportVideos"); }
QString FileManager::customMaterialPath() { return cacheFolder("NetMaterial"); }

QString FileManager::privateFolder(const QString& name) {
    const QString main = customCachesMainPath();
    const QString path = main + "/" + name;
    for (const QString& folder : {main, path}) {
        const QByteArray native = QFile::encodeName(folder);
        // Made private from the start: no moment in which another user could step in.
        if (!QFileInfo(folder).exists() && createDirectoryAtPath(QFileInfo(folder).path()) &&
            ::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
            qWarning().noquote() << "Cannot make" << folder << ":" << strerror(errno);
            return {};
        }
        // lstat: a link someone placed there is not followed.
        struct stat info {};
        if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != ::getuid()) {
            qWarning().noquote() << "Not a private folder of this user:" << folder;
            return {};
        }
        if ((info.st_mode & 0777) != 0700 && ::chmod(native.constData(), 0700) != 0) {
            qWarning().noquote() << "Cannot make" << folder << "private:" << strerror(errno);
            return {};
        }
    }
    return path;
}

QString FileManager::customAudioBGImagePath() {
    // In a folder of this user's own: in the shared temporary folder another user could place a
    // cover of their own under this name first.
    const QString folder = privateFolder("localMusics");
    return folder.isEmpty() ? QString() : folder + "/audioBackground.jpg";
}

QByteArray FileManager::imageToJpegData(const QImage& image) {
    if (image.isNull()) return {};
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(kThumbJpegQuality);
    if (!writer.write(image)) return {};
    return data;
}

QImage FileManager::compressOriginalImage(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    if (image.isNull() || (w < kThumbLimit && h < kThumbLimit)) return image;
    const QSize size = h >= w ? QSize(qMax(1, qRound(double(kThumbLimit) * w / h)), kThumbLimit)
                              : QSize(kThumbLimit, qMax(1, qRound(double(kThumbLimit) * h / w)));
    QImage shrunk(size, QImage::Format_ARGB32_Premultiplied);
    shrunk.fill(Qt::transparent);
    QPainter painter(&shrunk);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), image);
    return shrunk;
}

namespace {
// The part of a thumbnail folder's name that names the file, whatever its version.
QString thumbPathKey(const QString& filePath) {
    return QString::number(static_cast<qulonglong>(platform::pathHash(filePath))) + "_";
}
}  // namespace

QString FileManager::thumbFolderForFile(const QString& filePath) {
    const QString material = customMaterialPath();
    if (material.isEmpty()) return {};
    const QFileInfo file(filePath);
    const qint64 size = file.exists() ? file.size() : -1;
    const qint64 modified_ms = file.exists() ? file.lastModified().toMSecsSinceEpoch() : 0;
    return material + "/local/" + thumbPathKey(filePath) + QString::number(size) + "_" + QString::number(modified_ms);
}

void FileManager::removeStaleThumbFolders(const QString& currentFolder) {
    const QFileInfo current(currentFolder);
    const QString key = current.fileName().section('_', 0, 0) + "_";
    const QDir local(current.path());
    for (const QString& name : local.entryList({key + "*"}, QDir::Dirs | QDir::NoDotAndDotDot))
        if (name != current.fileName()) QDir(local.filePath(name)).removeRecursively();
}

QString FileManager::readThumbFromLocal(const QString& filePath) {
    const QString folder = thumbFolderForFile(filePath);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return {};
    QDirIterator entries(folder, QDir::Files, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString relative = QDir(folder).relativeFilePath(entries.next());
        const QString name = QFileInfo(relative).fileName();
        if (name.section('.', 0, 0) == "thumb" && name.contains('.')) return folder + "/" + relative;
    }
    return {};
}

QString FileManager::readThumbFromLocal(const QString& filePath, qint64 type) {
    const QString cached = readThumbFromLocal(filePath);
    if (!cached.isEmpty()) return cached;
    switch (type) {
        case 0: return saveThumbForLocalImage(filePath);
        case 1: return saveThumbForLocalAudio(filePath);
        case 2: return saveThumbForLocalVideo(filePath);
        default: return {};
    }
}

QString FileManager::storeThumb(const QImage& picture, const QString& filePath) {
    if (picture.isNull()) return {};
    return saveThumbImageDataToLocal(imageToJpegData(compressOriginalImage(picture)), filePath, "jpg");
}

QString FileManager::saveThumbForLocalImage(const QString& picturePath) {
    const QString stored = storeThumb(QImage(picturePath), picturePath);
    return stored.isEmpty() ? picturePath : stored;
}

QString FileManager::saveThumbForLocalAudio(const QString& audioPath) {
    return audioArtworkGrabber_ ? storeThumb(audioArtworkGrabber_(audioPath), audioPath) : QString();
}

QString FileManager::saveThumbForLocalVideo(const QString& videoPath) {
    return videoFrameGrabber_ ? storeThumb(videoFrameGrabber_(videoPath), videoPath) : QString();
}

QString FileManager::saveThumbImageToLocal(const QImage& image, const QString& filePath) {
    return saveThumbImageDataToLocal(imageToJpegData(image), filePath, "jpg");
}

QString FileManager::saveThumbImageDataToLocal(const QByteArray& data, const QString& filePath,
                                               const QString& imageType) {
    if (data.isEmpty()) return {};
    const QString folder = thumbFolderForFile(filePath);
    if (folder.isEmpty() || !createDirectoryAtPath(folder)) return {};
    removeStaleThumbFolders(folder);
    const QString path = folder + "/thumb." + imageType;
    return writeFileAtomically(path, data) ? path : QString();
}

QString FileManager::saveThumbImage(const QImage& image, const QString& folder, const QString& fileName) {
    const QByteArray data = imageToJpegData(image);
    if (data.isEmpty() || !createDirectoryAtPath(folder)) return {};
    const QString path = folder + "/" + fileName + ".jpg";
    return writeFileAtomically(path, data) ? path : QString();
}

bool FileManager::isExistAudioBGImage() const { return QFileInfo::exists(audioBGImagePath_); }

void FileManager::saveAudioBGImage(const QImage& image) {
    // The cache folder may have been cleaned since start-up.
    audioBGImagePath_ = customAudioBGImagePath();
    if (audioBGImagePath_.isEmpty() || isExistAudioBGImage()) return;
    const QByteArray data = imageToJpegData(image);
    if (!data.isEmpty()) writeFileAtomically(audioBGImagePath_, data);
}

bool FileManager::isExistRunBackwardVideo(const QString& path) { return outputPathTaken(path); }

}  // namespace services

#include "services/folders.h"

#include "platform/atomic_write.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QTextStream>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

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

// The XDG_VIDEOS_DIR line of user-dirs.dirs, "$HOME/..." expanded; empty when absent.
QString videosDirFromUserDirs() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty()) config = QDir::homePath() + "/.config";
    QFile file(config + "/user-dirs.dirs");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.startsWith("XDG_VIDEOS_DIR=")) continue;
        QString value = line.mid(int(strlen("XDG_VIDEOS_DIR="))).trimmed();
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
    if (videos.isEmpty()) videos = videosDirFromUserDirs();
    if (videos.isEmpty()) videos = QDir::homePath();
    return QDir::cleanPath(videos);
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

QString FileManager::customAudioBGImagePath() {
    const QString folder = QDir::tempPath() + "/localMusics";
    createDirectoryAtPath(folder);  // a failure is logged; writing the cover then fails too
    return folder + "/audioBackground.jpg";
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

QString FileManager::thumbFolderForFile(const QString& filePath) {
    const QString material = customMaterialPath();
    if (material.isEmpty()) return {};
    return material + "/local/" + QString::number(static_cast<qulonglong>(platform::pathHash(filePath)));
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
    if (isExistAudioBGImage()) return;
    const QByteArray data = imageToJpegData(image);
    // The temporary folder may have been cleaned since start-up.
    if (!data.isEmpty() && createDirectoryAtPath(QFileInfo(audioBGImagePath_).path()))
        writeFileAtomically(audioBGImagePath_, data);
}

bool FileManager::isExistRunBackwardVideo(const QString& path) { return outputPathTaken(path); }

}  // namespace services

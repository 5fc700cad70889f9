#pragma once
// The working folders: the default output folder in the user's videos folder, the cache
// folders of the tools, the thumbnail cache and the audio cover picture. Every folder
// operation makes its folder when missing; when it cannot, the reason is logged and the
// operation answers an empty string, so a caller never writes into a folder that is not there.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>

namespace services {

class FileManager {
public:
    static FileManager& sharedManager();

    // Decodes the first video frame (upright) or an audio file's embedded artwork; a null image
    // when there is none. The media layer installs them; without one, those thumbnails are
    // simply not made.
    using PictureGrabber = std::function<QImage(const QString& mediaPath)>;
    void setVideoFrameGrabber(PictureGrabber grabber);
    void setAudioArtworkGrabber(PictureGrabber grabber);

    // The application's name as folders are named after it (never empty).
    QString getCurrentBundleName() const;

    // True when a folder stands at the path (nothing is written then) or was made with its
    // missing parents. False, with the reason logged, otherwise (e.g. a file in the way).
    bool createDirectoryAtPath(const QString& path);

    // The user's videos folder: $XDG_VIDEOS_DIR, else the XDG user-dirs entry, else home.
    static QString moviesFolderPath();
    // The user's desktop folder: $XDG_DESKTOP_DIR, else the XDG user-dirs entry, else ~/Desktop.
    static QString desktopFolderPath();

    QString rootDirPath();                 // <videos>/<application name>: default output folder
    QString customCachesMainPath() const;  // the application's XDG cache folder (not made)
    QString waterDirPath();                // watermark pictures
    QString rootScreensDirPath();          // collage cell pictures
    QString rootSnapshotDirPath();
    QString rootFiltersDirPath();          // downloaded filter catalogue and pictures
    QString rootExportVideosDirPath();
    QString customMaterialPath();          // thumbnail cache root ("NetMaterial")
    QString customAudioBGImagePath();      // <private localMusics folder>/audioBackground.jpg
    // A folder under the application's cache folder that only this user may enter (mode 0700),
    // for files another user must neither place nor swap (the audio cover, downloads); made
    // when missing. Empty, with the reason logged, when something else stands there: a folder
    // of another owner, a link, or a file.
    QString privateFolder(const QString& name);
    const QString& audioBGImagePath() const { return audioBGImagePath_; }

    // JPEG at the quality thumbnails are stored with.
    static QByteArray imageToJpegData(const QImage& image);
    // Pictures of 900 or more on a side are shrunk, aspect kept, to 900 on the longer side.
    static QImage compressOriginalImage(const QImage& image);

    // The thumbnail folder of a file as it is now: <NetMaterial>/local/<path hash>_<size>_<time>
    // with the file's size in bytes and its modification time in milliseconds (not made). A file
    // replaced under the same name gets another folder, so its old picture is never shown.
    QString thumbFolderForFile(const QString& filePath);
    // The cached thumbnail of a file, or an empty string.
    QString readThumbFromLocal(const QString& filePath);
    // The cached thumbnail, made when missing: type 0 picture, 1 audio, 2 video; other types
    // give an empty string.
    QString readThumbFromLocal(const QString& filePath, qint64 type);
    // The stored thumbnail; the picture's own path when it could not be stored.
    QString saveThumbForLocalImage(const QString& picturePath);
    QString saveThumbForLocalAudio(const QString& audioPath);  // empty when no artwork
    QString saveThumbForLocalVideo(const QString& videoPath);  // empty when no frame
    QString saveThumbImageToLocal(const QImage& image, const QString& filePath);
    // Writes <thumb folder>/thumb.<type> atomically; its path, or empty on failure.
    QString saveThumbImageDataToLocal(const QByteArray& data, const QString& filePath, const QString& imageType);
    // Writes <folder>/<name>.jpg atomically; its path, or empty on failure.
    QString saveThumbImage(const QImage& image, const QString& folder, const QString& fileName);

    bool isExistAudioBGImage() const;
    // Writes the cover once; an existing cover is kept.
    void saveAudioBGImage(const QImage& image);
    static bool isExistRunBackwardVideo(const QString& path);

private:
    FileManager();
    FileManager(const FileManager&) = delete;
    FileManager& operator=(const FileManager&) = delete;

    QString cacheFolder(const QString& name);
    // Removes the thumbnails of earlier versions of the file the folder is named after.
    void removeStaleThumbFolders(const QString& currentFolder);
    QString storeThumb(const QImage& picture, const QString& filePath);

    QString audioBGImagePath_;
    PictureGrabber videoFrameGrabber_;
    PictureGrabber audioArtworkGrabber_;
};

}  // namespace services

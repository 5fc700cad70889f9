#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <cstdlib>

#include "platform/bookmarks.h"
#include "platform/user_defaults.h"
#include "services/download_manager.h"
#include "services/folders.h"
#include "services/output_name.h"
#include "tests/support/temp_dir.h"

using services::FileManager;
using services::uniqueOutputPath;

namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value) : name_(name), had_(qEnvironmentVariableIsSet(name)),
                                                        old_(qgetenv(name)) {
        if (value.isNull()) qunsetenv(name);
        else qputenv(name, value.toUtf8());
    }
    ~ScopedEnv() {
        if (had_) qputenv(name_, old_);
        else qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TEST(Folders, EveryFolderIsMadeUnderThePrivateXdgFolders) {
    FileManager& files = FileManager::sharedManager();
    const QString app = files.getCurrentBundleName();
    const QString caches = qEnvironmentVariable("XDG_CACHE_HOME") + "/" + app;
    EXPECT_EQ(files.customCachesMainPath(), caches);

    const QString videos = qEnvironmentVariable("XDG_VIDEOS_DIR");
    EXPECT_EQ(files.rootDirPath(), videos + "/" + app);
    EXPECT_TRUE(QFileInfo(videos + "/" + app).isDir());

    const struct { QString (FileManager::*op)(); const char* name; } folders[] = {
        {&FileManager::waterDirPath, "Waters"},           {&FileManager::rootScreensDirPath, "Screens"},
        {&FileManager::rootSnapshotDirPath, "Snapshots"}, {&FileManager::rootFiltersDirPath, "Filters"},
        {&FileManager::rootExportVideosDirPath, "ExportVideos"}, {&FileManager::customMaterialPath, "NetMaterial"},
    };
    for (const auto& folder : folders) {
        const QString expected = caches + "/" + folder.name;
        QDir(expected).removeRecursively();
        EXPECT_EQ((files.*folder.op)(), expected);
        EXPECT_TRUE(QFileInfo(expected).isDir()) << folder.name;
        // A second call only finds the folder: the settings stay as they were.
        const QStringList settingsBefore = platform::UserDefaults::standard().allKeys();
        EXPECT_EQ((files.*folder.op)(), expected);
        EXPECT_EQ(platform::UserDefaults::standard().allKeys(), settingsBefore) << folder.name;
        EXPECT_FALSE(platform::UserDefaults::standard().hasKey(platform::EMBookmark::bookmarkKeyForPath(expected)));
    }
}

// The audio cover and the downloads live in folders of this user's own, never under a fixed
// name in the shared temporary folder where another user could make them first.
TEST(Folders, CoverAndDownloadsLiveInPrivateFolders) {
    FileManager& files = FileManager::sharedManager();
    const QString caches = files.customCachesMainPath();
    const QString temp = QDir::tempPath();
    EXPECT_EQ(files.audioBGImagePath(), caches + "/localMusics/audioBackground.jpg");
    const services::DownloadManager download;
    const QString downloads = QFileInfo(download.partialFilePath()).absolutePath();
    EXPECT_EQ(downloads, caches + "/Downloads");
    for (const QString& folder : {QFileInfo(files.audioBGImagePath()).absolutePath(), downloads}) {
        EXPECT_FALSE(folder.startsWith(temp + "/")) << folder.toStdString();
        const QFileInfo info(folder);
        ASSERT_TRUE(info.isDir()) << folder.toStdString();
        EXPECT_EQ(info.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                        QFile::WriteOther | QFile::ExeOther),
                  QFile::Permissions()) << folder.toStdString() << " is open to other users";
    }
    // A folder someone loosened is closed again; a link standing in its place is refused.
    QFile::setPermissions(downloads, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                         QFile::WriteOther | QFile::ExeOther);
    EXPECT_EQ(files.privateFolder("Downloads"), downloads);
    EXPECT_FALSE(QFileInfo(downloads).permissions() & QFile::WriteOther);
    kestrel::test::TempDir elsewhere;
    const QString linked = caches + "/Linked";
    QFile::remove(linked);
    ASSERT_TRUE(QFile::link(QString::fromStdString(elsewhere.path()), linked));
    EXPECT_EQ(files.privateFolder("Linked"), QString());
    QFile::remove(linked);
}

TEST(Folders, AFileInTheWayFailsAndTheFolderOperationAnswersEmpty) {
    kestrel::test::TempDir dir;
    FileManager& files = FileManager::sharedManager();
    const QString blocker = qs(dir.file("blocker"));
    touch(blocker);
    EXPECT_FALSE(files.createDirectoryAtPath(blocker));
    EXPECT_FALSE(files.createDirectoryAtPath(blocker + "/deeper/still"));
    EXPECT_FALSE(QFileInfo(blocker + "/deeper").exists());
    EXPECT_FALSE(files.createDirectoryAtPath(""));
    EXPECT_TRUE(files.createDirectoryAtPath(qs(dir.file("a/b/c"))));
    EXPECT_TRUE(QFileInfo(qs(dir.file("a/b/c"))).isDir());

    // The application's cache folder is a file: no cache folder can be made.
    const QString cacheHome = qs(dir.file("cache"));
    ASSERT_TRUE(QDir().mkpath(cacheHome));
    touch(cacheHome + "/" + files.getCurrentBundleName());
    ScopedEnv cache("XDG_CACHE_HOME", cacheHome);
    EXPECT_EQ(files.waterDirPath(), QString());
    EXPECT_EQ(files.customMaterialPath(), QString());
    EXPECT_EQ(files.readThumbFromLocal("/any/file.png", 0), "/any/file.png");  // the picture's own path
    EXPECT_EQ(files.saveThumbImageDataToLocal("data", "/any/file.png", "jpg"), QString());

    touch(qs(dir.file("videos")));
    ScopedEnv videos("XDG_VIDEOS_DIR", qs(dir.file("videos")));
    EXPECT_EQ(files.rootDirPath(), QString());
}

TEST(Folders, MoviesFolderComesFromXdgThenUserDirsThenHome) {
    kestrel::test::TempDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", qs(dir.path()));
    {
        ScopedEnv videos("XDG_VIDEOS_DIR", QString());
        EXPECT_EQ(FileManager::moviesFolderPath(), QDir::cleanPath(QDir::homePath()));
        QFile dirs(qs(dir.file("user-dirs.dirs")));
        ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
        dirs.write("# written by xdg-user-dirs-update\r\nXDG_MUSIC_DIR=\"$HOME/Music\"\r\nXDG_VIDEOS_DIR=\"$HOME/My Films\"\r\n");
        dirs.close();
        EXPECT_EQ(FileManager::moviesFolderPath(), QDir::cleanPath(QDir::homePath() + "/My Films"));
    }
    ScopedEnv videos("XDG_VIDEOS_DIR", qs(dir.file("chosen")));
    EXPECT_EQ(FileManager::moviesFolderPath(), qs(dir.file("chosen")));
}

TEST(Folders, PicturesShrinkOnlyFromNineHundred) {
    const struct { QSize in, out; } cases[] = {
        {{899, 899}, {899, 899}}, {{900, 500}, {900, 500}}, {{1800, 1000}, {900, 500}},
        {{1000, 2000}, {450, 900}}, {{1000, 1000}, {900, 900}}, {{3000, 1}, {900, 1}},
    };
    for (const auto& c : cases) {
        QImage in(c.in, QImage::Format_RGB32);
        in.fill(Qt::green);
        const QImage out = FileManager::compressOriginalImage(in);
        EXPECT_EQ(out.size(), c.out) << c.in.width() << "x" << c.in.height();
        EXPECT_EQ(QColor(out.pixel(out.width() / 2, out.height() / 2)), QColor(Qt::green));
    }
    const QImage small(899, 899, QImage::Format_RGB32);
    EXPECT_EQ(FileManager::compressOriginalImage(small).cacheKey(), small.cacheKey());  // the same picture
}

TEST(Folders, ThumbnailsAreMadeOnceAndFoundAgain) {
    kestrel::test::TempDir dir;
    FileManager& files = FileManager::sharedManager();
    const QString picture = qs(dir.file("Photo.png"));
    QImage source(1200, 600, QImage::Format_RGB32);
    source.fill(Qt::red);
    ASSERT_TRUE(source.save(picture));

    EXPECT_EQ(files.readThumbFromLocal(picture), QString());
    const QString thumb = files.readThumbFromLocal(picture, 0);
    EXPECT_EQ(thumb, files.thumbFolderForFile(picture) + "/thumb.jpg");
    const QImage stored(thumb);
    EXPECT_EQ(stored.size(), QSize(900, 450));
    EXPECT_EQ(files.readThumbFromLocal(picture), thumb);
    EXPECT_EQ(files.readThumbFromLocal(picture, 0), thumb);

    // A picture replaced under the same name shows its new content, not the old thumbnail.
    QImage replacement(600, 300, QImage::Format_RGB32);
    replacement.fill(Qt::green);
    ASSERT_TRUE(replacement.save(picture));
    QFile(picture).setFileTime(QFileInfo(picture).lastModified().addSecs(5), QFileDevice::FileModificationTime);
    const QString renewed = files.readThumbFromLocal(picture, 0);
    ASSERT_FALSE(renewed.isEmpty());
    const QImage renewedPicture(renewed);
    EXPECT_EQ(renewedPicture.size(), QSize(600, 300));
    EXPECT_GT(qGreen(renewedPicture.pixel(300, 150)), 200);
    EXPECT_LT(qRed(renewedPicture.pixel(300, 150)), 60);
    EXPECT_FALSE(QFileInfo::exists(thumb)) << "the old version's thumbnail is removed";

    // Paths differing only in letter case are different files.
    EXPECT_NE(files.thumbFolderForFile(picture), files.thumbFolderForFile(qs(dir.file("photo.png"))));

    // Unknown kinds make nothing; an unreadable picture answers its own path.
    const QString other = qs(dir.file("other.mp4"));
    EXPECT_EQ(files.readThumbFromLocal(other, 3), QString());
    EXPECT_FALSE(QFileInfo(files.thumbFolderForFile(other)).exists());
    EXPECT_EQ(files.readThumbFromLocal(other, 0), other);

    // Video thumbnails come from the installed frame grabber, shrunk like pictures.
    files.setVideoFrameGrabber(nullptr);
    EXPECT_EQ(files.readThumbFromLocal(other, 2), QString());
    files.setVideoFrameGrabber([&](const QString& path) {
        QImage frame(1920, 1080, QImage::Format_RGB32);
        frame.fill(path == other ? Qt::blue : Qt::black);
        return frame;
    });
    const QString videoThumb = files.readThumbFromLocal(other, 2);
    EXPECT_EQ(QImage(videoThumb).size(), QSize(900, 506));
    files.setVideoFrameGrabber([](const QString&) { return QImage(); });
    EXPECT_EQ(files.saveThumbForLocalVideo(qs(dir.file("black.mp4"))), QString());
    files.setVideoFrameGrabber(nullptr);
}

// A thumbnail keeps the picture recognisable: fine detail and colours survive its JPEG.
TEST(Folders, ThumbnailsKeepThePicture) {
    kestrel::test::TempDir dir;
    FileManager& files = FileManager::sharedManager();
    QImage source(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            // Colour ramps under a fine checker: what a photo's detail asks of the encoder.
            const int checker = ((x / 8 + y / 8) % 2) ? 40 : -40;
            source.setPixel(x, y, qRgb(qBound(0, (x * 200) / 399 + 28 + checker, 255),
                                       qBound(0, (y * 200) / 299 + 28 + checker, 255), qBound(0, 128 + checker, 255)));
        }
    const QString picture = qs(dir.file("detail.png"));
    ASSERT_TRUE(source.save(picture));
    const QImage stored(files.readThumbFromLocal(picture, 0));
    ASSERT_EQ(stored.size(), source.size());
    double difference = 0;
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            const QRgb a = source.pixel(x, y), b = stored.pixel(x, y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
    difference /= 3.0 * source.width() * source.height();
    EXPECT_LT(difference, 2.0) << "mean difference per colour value";
}

TEST(Folders, AudioCoverIsWrittenOnceAndKept) {
    FileManager& files = FileManager::sharedManager();
    QFile::remove(files.audioBGImagePath());
    QDir(QFileInfo(files.audioBGImagePath()).absolutePath()).removeRecursively();  // the cache was cleaned
    EXPECT_FALSE(files.isExistAudioBGImage());
    QImage first(64, 32, QImage::Format_RGB32);
    first.fill(Qt::white);
    files.saveAudioBGImage(first);
    ASSERT_TRUE(files.isExistAudioBGImage());
    QImage second(10, 10, QImage::Format_RGB32);
    second.fill(Qt::black);
    files.saveAudioBGImage(second);
    EXPECT_EQ(QImage(files.audioBGImagePath()).size(), QSize(64, 32));
}

TEST(OutputName, NumbersFromTwoWhileTheNameIsTaken) {
    kestrel::test::TempDir dir;
    const QString folder = qs(dir.path());
    const struct { QString base, ext; } names[] = {
        {"20240101120000", "mp4"}, {"my.clip.v2", "mov"}, {"with space", "mp3"},
        {QString::fromUtf8("视频 ÄÖ ✂"), "gif"}, {"noext", ""},
    };
    for (const auto& n : names) {
        const QString dot = n.ext.isEmpty() ? "" : "." + n.ext;
        const QString first = uniqueOutputPath(folder, n.base, n.ext);
        EXPECT_EQ(first, folder + "/" + n.base + dot);
        touch(first);
        const QString second = uniqueOutputPath(folder, n.base, n.ext);
        EXPECT_EQ(second, folder + "/" + n.base + "(2)" + dot);
        touch(second);
        EXPECT_EQ(uniqueOutputPath(folder, n.base, n.ext), folder + "/" + n.base + "(3)" + dot);
    }
    // A trailing separator changes nothing; a folder or a dangling link also takes the name.
    EXPECT_EQ(uniqueOutputPath(folder + "/", "20240101120000", "mp4"), folder + "/20240101120000(3).mp4");
    ASSERT_TRUE(QDir().mkpath(folder + "/taken.mp4"));
    EXPECT_EQ(uniqueOutputPath(folder, "taken", "mp4"), folder + "/taken(2).mp4");
    ASSERT_TRUE(QFile::link(folder + "/nowhere", folder + "/link.mp4"));
    EXPECT_EQ(uniqueOutputPath(folder, "link", "mp4"), folder + "/link(2).mp4");
    // Another extension is another name.
    EXPECT_EQ(uniqueOutputPath(folder, "20240101120000", "mkv"), folder + "/20240101120000.mkv");
}

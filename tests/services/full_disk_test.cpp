// The services' file writers on a full disk: each reports the failure and leaves neither a
// partial file nor a temporary one, and what was there before stays as it was.
#include "services/download_manager.h"
#include "services/folders.h"
#include "tests/services/test_http_server.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace kestrel::test {
namespace {

constexpr long kRoomBytes = 1024;

QString qs(const std::string& text) { return QString::fromStdString(text); }

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QImage noisyPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    uint32_t x = 88172645u;
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < width; ++i) {
            x ^= x << 13, x ^= x >> 17, x ^= x << 5;
            picture.setPixel(i, y, x | 0xff000000u);
        }
    return picture;  // compresses badly: far more than the room the tests leave
}

TEST(ServicesFullDisk, ThumbnailsFailAndLeaveNoFile) {
    TempDir dir;
    services::FileManager& files = services::FileManager::sharedManager();
    const QString picture = qs(dir.file("Photo.png"));
    ASSERT_TRUE(noisyPicture(600, 400).save(picture));
    const QString folder = qs(dir.file("thumbs"));
    {
        ScopedFileSizeLimit full(kRoomBytes);
        // A picture answers its own path when no thumbnail could be made.
        EXPECT_EQ(files.readThumbFromLocal(picture, 0), picture);
        EXPECT_EQ(files.saveThumbImage(noisyPicture(300, 200), folder, "cell"), QString());
    }
    EXPECT_EQ(entriesOf(files.thumbFolderForFile(picture)), QStringList());
    EXPECT_EQ(entriesOf(folder), QStringList());
    // With room again, the same calls work.
    EXPECT_EQ(files.readThumbFromLocal(picture, 0), files.thumbFolderForFile(picture) + "/thumb.jpg");
    EXPECT_EQ(files.saveThumbImage(noisyPicture(300, 200), folder, "cell"), folder + "/cell.jpg");
}

TEST(ServicesFullDisk, StringsMergeFailsAndKeepsTheOldTable) {
    TempDir dir;
    std::string area;
    for (int i = 0; i < 200; ++i) area += "\"Key" + std::to_string(i) + "\" = \"A value long enough to fill the table\";\n";
    writeBytes(dir.file("area.strings"), area);
    QDir().mkpath(qs(dir.file("out")));
    const std::string output = dir.file("out/Main.strings");
    writeBytes(output, "\"Old\" = \"table\";\n");
    std::string messages;
    int status = 0;
    {
        ScopedFileSizeLimit full(kRoomBytes);  // the merger inherits it
        status = runCommand(std::string("'") + KESTREL_STRINGS_MERGE + "' '" + output + "' '" + dir.file("area.strings") + "'",
                            &messages);
    }
    EXPECT_NE(status, 0);
    EXPECT_NE(messages.find("cannot write"), std::string::npos) << messages;
    EXPECT_EQ(contentOf(qs(output)), QByteArray("\"Old\" = \"table\";\n"));
    EXPECT_EQ(entriesOf(qs(dir.file("out"))), QStringList{"Main.strings"});
}

TEST(ServicesFullDisk, DownloadFailsAndLeavesNoFiles) {
    TestHttpServer server;
    server.bodies["/filter/big.bin"] = knownBody(400000, 9);
    services::DownloadManager manager;
    QString reason;
    bool finished = false;
    manager.setFailedBlock([&](const QString& why) { reason = why; });
    manager.setComplatedBlock([&](const QString&) { finished = true; });
    {
        ScopedFileSizeLimit full(64 * 1024);
        manager.start(server.url("/filter/big.bin"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished || !reason.isEmpty(); }, 20000));
    }
    EXPECT_FALSE(finished);
    EXPECT_TRUE(reason.startsWith("Cannot write")) << reason.toStdString();
    EXPECT_FALSE(manager.isDownloading());
    EXPECT_FALSE(QFileInfo::exists(manager.partialFilePath()));
    EXPECT_FALSE(QFileInfo::exists(manager.resumeFilePath()));
    EXPECT_EQ(entriesOf(QFileInfo(manager.partialFilePath()).absolutePath()), QStringList());
}

}  // namespace
}  // namespace kestrel::test

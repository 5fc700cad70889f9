// The profile writers on a full disk: a profile index and a custom profile (with its picture)
// are written whole or not at all, and an existing file keeps its content.
#include "export/profiles/custom_profile_store.h"
#include "export/profiles/ini_document.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace exportkit;
using kestrel::test::ScopedFileSizeLimit;
using kestrel::test::TempDir;

namespace {

constexpr long kRoomBytes = 1024;

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList manyLines(int count) {
    QStringList lines{"[Main]"};
    for (int i = 0; i < count; ++i) lines.append(QStringLiteral("Key%1=a value long enough to need room").arg(i));
    return lines;
}

TEST(ProfileFullDisk, IniDocumentIsWrittenWholeOrNotAtAll) {
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    const QString path = folder + "/index.ini";
    IniDocument old;
    old.setLines({"[Main]", "Old=kept"});
    ASSERT_TRUE(old.save(path, false));
    const QByteArray before = contentOf(path);
    // A small document fails at the flush, a large one at a short write.
    for (int lines : {40, 2000}) {
        IniDocument document;
        document.setLines(manyLines(lines));
        QString error;
        {
            ScopedFileSizeLimit full(kRoomBytes);
            EXPECT_FALSE(document.save(path, true, &error)) << lines;
            EXPECT_FALSE(document.save(folder + "/new.ini", false, &error)) << lines;
        }
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(contentOf(path), before);
        EXPECT_EQ(entriesOf(folder), QStringList{"index.ini"});
    }
}

TEST(ProfileFullDisk, CustomProfileIsSavedWholeOrNotAtAll) {
    TempDir dir;
    const QString base = QString::fromStdString(dir.file("base.pf"));
    IniDocument baseDocument;
    baseDocument.setLines(manyLines(5));
    ASSERT_TRUE(baseDocument.save(base, false));
    QImage picture(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) picture.setPixel(x, y, qRgb(x * 37 % 256, y * 91 % 256, (x * y) % 256));
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("base.png"))));
    const QString folder = QString::fromStdString(dir.file("Custom"));
    CustomProfileStore store(folder);
    ASSERT_TRUE(QDir().mkpath(folder));

    QString error;
    {
        ScopedFileSizeLimit full(kRoomBytes);
        EXPECT_FALSE(store.saveSettingForpf(manyLines(200), "Long", &error));
        // The profile itself fits; its picture does not, so neither stays.
        EXPECT_FALSE(store.saveCustomProfile(base, ProfileChoice{}, "Pictured", &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(entriesOf(folder), QStringList());
    // With room both work.
    EXPECT_TRUE(store.saveSettingForpf(manyLines(200), "Long", &error)) << error.toStdString();
    EXPECT_TRUE(store.saveCustomProfile(base, ProfileChoice{}, "Pictured", &error)) << error.toStdString();
    EXPECT_EQ(entriesOf(folder), (QStringList{"Long.pf", "Pictured.pf", "Pictured.png"}));
}

}  // namespace

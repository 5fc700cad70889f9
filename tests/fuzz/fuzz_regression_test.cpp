// Every input that ever crashed or hung a reader, replayed through the fuzzing entries: the
// files kept under fuzz/regressions/, and inputs made here that are too large to keep.
#include "fuzz/fuzz_entries.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <functional>
#include <string>

namespace {

using Entry = std::function<int(const uint8_t*, size_t)>;

int replay(const Entry& entry, const QByteArray& bytes) {
    return entry(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

QByteArray fileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray manyCues(int count) {
    QByteArray srt;
    for (int i = 0; i < count; ++i) srt += QByteArray::number(i + 1) + "\n00:00:00,000 --> 00:00:01,000\nx\n\n";
    return srt;
}

TEST(FuzzRegressions, KeptInputsReplayWithoutCrashOrHang) {
    const struct { const char* folder; Entry entry; } targets[] = {
        {"probe", kestrel::fuzz::probeAndDecode},
        {"subtitle", kestrel::fuzz::readSubtitle},
        {"ini", kestrel::fuzz::readProfile},
        {"strings", kestrel::fuzz::readStrings},
    };
    for (const auto& target : targets) {
        const QDir folder(QStringLiteral(KESTREL_SOURCE_DIR "/fuzz/regressions/") + target.folder);
        for (const QString& name : folder.entryList(QDir::Files | QDir::NoDotAndDotDot)) {
            if (name.startsWith('.')) continue;
            SCOPED_TRACE(folder.filePath(name).toStdString());
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(replay(target.entry, file.readAll()), 0);
        }
    }
}

TEST(FuzzRegressions, InputsThatOnceStalledTheReaders) {
    kestrel::test::TempDir dir;
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 0.5;
    kestrel::test::makeMedia(dir.file("clip.mp4"), spec);
    const QByteArray clip = fileBytes(dir.file("clip.mp4"));
    ASSERT_FALSE(clip.isEmpty());
    kestrel::test::makePicture(dir.file("photo.jpg"), 64, 48);

    const struct { const char* what; Entry entry; QByteArray bytes; } cases[] = {
        {"a subtitle line of 6 MB", kestrel::fuzz::readSubtitle,
         "1\n00:00:00,000 --> 00:00:01,000\n" + QByteArray(6 * 1024 * 1024, 'x') + "\n"},
        {"200,000 subtitle cues", kestrel::fuzz::readSubtitle, manyCues(200000)},
        {"a profile of two million lines", kestrel::fuzz::readProfile, QByteArray("[Main]\n") + QByteArray("k=v\n").repeated(2000000)},
        {"a one-packet photo", kestrel::fuzz::probeAndDecode, fileBytes(dir.file("photo.jpg"))},
        {"a media file cut after its header", kestrel::fuzz::probeAndDecode, clip.left(700)},
        {"a media file with its middle zeroed", kestrel::fuzz::probeAndDecode,
         clip.left(clip.size() / 3) + QByteArray(clip.size() / 3, '\0') + clip.mid(2 * clip.size() / 3)},
        {"an empty file", kestrel::fuzz::probeAndDecode, QByteArray()},
        {"strings without a closing quote", kestrel::fuzz::readStrings, QByteArray("\"key\" = \"value;\n\"k")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(replay(c.entry, c.bytes), 0);
    }
}

}  // namespace

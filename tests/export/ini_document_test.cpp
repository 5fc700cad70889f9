#include "export/profiles/ini_document.h"
#include "export/profiles/output_profile.h"

#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QFile>
#include "tests/export/qt_print.h"

#include <gtest/gtest.h>

using exportkit::IniDocument;
using exportkit::ReadProfileValue;
using kestrel::test::TempDir;
using kestrel::test::writeBytes;

namespace {

struct LineEndCase {
    const char* name;
    std::string bytes;
};

}  // namespace

TEST(IniDocument, ValuesComeOutWholeWhateverTheLineEnds) {
    const LineEndCase cases[] = {
        {"crlf", "[Main]\r\nExtName=mp4\r\n[Parameter]\r\nvcodec=h264,{h264,hevc}\r\nab=128\r\n"},
        {"lf", "[Main]\nExtName=mp4\n[Parameter]\nvcodec=h264,{h264,hevc}\nab=128\n"},
        {"no final line end", "[Main]\nExtName=mp4\n[Parameter]\nvcodec=h264,{h264,hevc}\nab=128"},
        {"mixed", "[Main]\r\nExtName=mp4\n[Parameter]\r\nvcodec=h264,{h264,hevc}\nab=128\r\n"},
        {"byte order mark", "\xEF\xBB\xBF[Main]\r\nExtName=mp4\r\n[Parameter]\r\nvcodec=h264,{h264,hevc}\r\nab=128"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("p.pf");
        writeBytes(path, c.bytes);
        const QString file = QString::fromStdString(path);
        EXPECT_EQ(ReadProfileValue("Main", "ExtName", file), "mp4");
        EXPECT_EQ(ReadProfileValue("Parameter", "vcodec", file), "h264,{h264,hevc}");
        EXPECT_EQ(ReadProfileValue("Parameter", "ab", file), "128");
    }
}

TEST(IniDocument, KeysMatchWithoutBlanksAndOnlyInTheirSection) {
    IniDocument doc;
    doc.parse("# b=1\r\n[Main]\r\n// b=2\r\nExtName = mkv \r\n[Parameter]\r\n v codec\t= x,y,{y,z}\r\nab=128\r\nb=900\r\n"
              "=lost\r\n[Other]\r\nkey=v=w\r\n");
    EXPECT_EQ(doc.value("Main", "ExtName"), " mkv ");  // value unchanged, consumers trim
    EXPECT_EQ(doc.value("Parameter", "vcodec"), " x,y,{y,z}");
    EXPECT_EQ(doc.value("Parameter", "b"), "900");  // "ab" is another key
    EXPECT_EQ(doc.value("Other", "key"), "v=w");   // split at the first "="
    // A key of a later section is not a key of "Main", and comments are no keys.
    EXPECT_FALSE(doc.value("Main", "ab").has_value());
    EXPECT_FALSE(doc.value("Main", "b").has_value());
    EXPECT_FALSE(doc.value("Parameter", "").has_value());
    EXPECT_FALSE(doc.value("Missing", "ExtName").has_value());
}

TEST(IniDocument, MissingFileReadsAsEmpty) {
    EXPECT_EQ(ReadProfileValue("Main", "ExtName", "/nonexistent/x.pf"), "");
}

TEST(IniDocument, RoundTripKeepsUnknownLinesAndLineEnds) {
    TempDir dir;
    const QString in = QString::fromStdString(dir.file("in.pf"));
    const std::string original = "; note\r\n[Main]\r\nExtName=mp4\r\nVendor=x\r\n\r\n[Parameter]\r\nb=1000,{1000}\r\n";
    writeBytes(in.toStdString(), original);
    IniDocument doc;
    ASSERT_TRUE(doc.load(in));
    doc.setValue("Parameter", "b", "2000,{1000,2000}");
    doc.setValue("Main", "Title", "Mine");
    doc.setValue("Extra", "k", "v");
    const QString out = QString::fromStdString(dir.file("out.pf"));
    QString error;
    ASSERT_TRUE(doc.save(out, false, &error)) << error.toStdString();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(),
              "; note\r\n[Main]\r\nExtName=mp4\r\nVendor=x\r\nTitle=Mine\r\n\r\n[Parameter]\r\nb=2000,{1000,2000}\r\n"
              "[Extra]\r\nk=v\r\n");
}

TEST(IniDocument, SaveNeverOverwritesUnlessAskedAndReportsFailure) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("a.pf"));
    writeBytes(path.toStdString(), "old");
    IniDocument doc;
    doc.setLines({"[Main]", "ExtName=mp4"});
    QString error;
    EXPECT_FALSE(doc.save(path, false, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(doc.save(path, true));
    EXPECT_EQ(ReadProfileValue("Main", "ExtName", path), "mp4");

    error.clear();
    EXPECT_FALSE(doc.save(QString::fromStdString(dir.file("missing/folder/b.pf")), false, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(IniDocument, ProfileValuesAreCheckedAndOversizedFilesRefused) {
    TempDir dir;
    struct Case { const char* extension; const char* expected; };
    for (const Case& c : {Case{"mp4", "mp4"}, Case{" mkv\t", "mkv"}, Case{"../../home/evil", ""},
                          Case{"mp4/x", ""}, Case{"a.b", ""}, Case{"averyverylongname", ""}}) {
        SCOPED_TRACE(c.extension);
        const std::string path = dir.file("p.pf");
        writeBytes(path, std::string("[Main]\nExtName=") + c.extension + "\n[Parameter]\nab=128\n");
        EXPECT_EQ(exportkit::OutputProfile::read(QString::fromStdString(path)).extName, c.expected);
    }
    // Two million lines are no profile: refused at once rather than searched line by line.
    std::string huge = "[Main]\n";
    huge.reserve(2000000 * 6);
    for (int i = 0; i < 2000000; ++i) huge += "k=v\n";
    huge += "ExtName=mp4\n";
    writeBytes(dir.file("huge.pf"), huge);
    IniDocument document;
    EXPECT_FALSE(document.load(QString::fromStdString(dir.file("huge.pf"))));
    EXPECT_FALSE(document.value("Main", "ExtName").has_value());
    EXPECT_TRUE(exportkit::OutputProfile::read(QString::fromStdString(dir.file("huge.pf"))).extName.isEmpty());
}

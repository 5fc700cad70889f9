// Subtitle files, fonts and positions, and the panel's loading rules.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstring>

#include "editor/subtitle/subtitle_file.h"
#include "editor/subtitle/subtitle_fonts.h"
#include "editor/subtitle/subtitle_panel.h"
#include "editor/subtitle/subtitle_position.h"
#include "session/edit/subtitle_record.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

using namespace kestrel::editor;
using namespace kestrel::session;
using kestrel::test::TempDir;
using kestrel::test::writeBytes;

namespace {

const std::string kSrt = "1\r\n00:00:00,000 --> 00:00:01,500\r\nCaf\xC3\xA9 au lait\r\n\r\n";
const std::string kAss =
    "[Script Info]\nScriptType: v4.00+\n\n[Events]\nFormat: Layer, Start, End, Style, Text\n"
    "Dialogue: 0,0:00:00.00,0:00:01.00,Default,Hello\n";

}  // namespace

TEST(SubtitleFile, GoodFilesPassAndBadOnesSayWhy) {
    TempDir dir;
    writeBytes(dir.file("a.srt"), kSrt);
    writeBytes(dir.file("B.SRT"), kSrt);
    writeBytes(dir.file("c.ass"), kAss);
    writeBytes(dir.file("d.srt"), "this is not a subtitle\n");
    writeBytes(dir.file("e.ass"), "[Events]\nnothing here\n");
    writeBytes(dir.file("f.txt"), kSrt);
    writeBytes(dir.file("g.srt"), "");
    struct Case {
        std::string name;
        bool ok;
        QString key;
    };
    const Case cases[] = {
        {"a.srt", true, ""},
        {"B.SRT", true, ""},
        {"c.ass", true, ""},
        {"d.srt", false, "subtitleMalformedMessage"},
        {"e.ass", false, "subtitleMalformedMessage"},
        {"f.txt", false, "subtitleWrongTypeMessage"},
        {"g.srt", false, "subtitleMalformedMessage"},
        {"missing.srt", false, "subtitleUnreadableMessage"},
    };
    for (const Case& c : cases) {
        const SubtitleCheck check = checkSubtitleFile(QString::fromStdString(dir.file(c.name)));
        EXPECT_EQ(check.ok, c.ok) << c.name;
        EXPECT_EQ(check.messageKey, c.key) << c.name;
    }
}

TEST(SubtitleFonts, FontFilesAreListedAndSongtiWinsOverArial) {
    TempDir dir;
    QDir(QString::fromStdString(dir.path())).mkpath("sub");
    for (const char* name : {"Arial.ttf", "sub/Songti.ttc", "other.TTF", "notes.txt", "x.otf"})
        writeBytes(dir.file(name), "font");
    const QStringList names = listSubtitleFontFiles(QString::fromStdString(dir.path()));
    EXPECT_EQ(names, (QStringList{"Arial.ttf", "other.TTF", "sub/Songti.ttc"}));
    EXPECT_EQ(names[defaultSubtitleFontIndex(names)], "sub/Songti.ttc");
    EXPECT_EQ(defaultSubtitleFontIndex({"b.ttf", "arial.ttf"}), 1);
    EXPECT_EQ(defaultSubtitleFontIndex({"b.ttf", "c.ttf"}), 0);
    EXPECT_EQ(defaultSubtitleFontIndex({}), -1);
    EXPECT_TRUE(listSubtitleFontFiles(QString::fromStdString(dir.file("nowhere"))).isEmpty());
}

TEST(SubtitlePosition, SliderAndPlaceButtonsStayInsideThePicture) {
    EXPECT_EQ(subtitlePositionFromProgress(1.0, 1080, 30), 1020);
    EXPECT_EQ(subtitlePositionForPlace(SubtitlePlace::Bottom, 1080, 30), 1020);
    EXPECT_EQ(subtitlePositionForPlace(SubtitlePlace::Center, 1080, 30), 540);
    EXPECT_EQ(subtitlePositionForPlace(SubtitlePlace::Top, 1080, 30), 0);
    EXPECT_EQ(subtitlePositionForPlace(SubtitlePlace::Center, 40, 30), 10);
    EXPECT_EQ(subtitlePositionForPlace(SubtitlePlace::Bottom, 40, 30), 0);
    EXPECT_EQ(clampedSubtitlePosition(5000, 1080, 30), 1020);
    EXPECT_EQ(clampedSubtitlePosition(-3, 1080, 30), 0);
}

TEST(SubtitleRecord, FilledFromTheSettingsAndEmptyForNoSubtitle) {
    kestrel::model::SubtitleParam param;
    param.subtitlePath = "/tmp/a.srt";
    param.fontPath = "/fonts/x.ttf";
    param.positon = 300;
    param.fontColor = QColor(255, 128, 0);
    const auto record = makeSubtitleRecord(param);
    ASSERT_TRUE(record);
    EXPECT_STREQ(record->path, "/tmp/a.srt");
    EXPECT_STREQ(record->font_path, "/fonts/x.ttf");
    EXPECT_EQ(record->position, 300);
    EXPECT_EQ(record->font_size, 30);
    EXPECT_EQ(record->shadow, 1);
    EXPECT_EQ(record->colour, 0xFF800000u);
    EXPECT_EQ(record->shadow_colour, record->colour);
    param.subtitlePath.clear();
    EXPECT_EQ(makeSubtitleRecord(param)->path[0], 0);
    param.subtitlePath = "/" + QString(300, 'a');
    EXPECT_FALSE(makeSubtitleRecord(param));
}

TEST(SubtitlePanel, LoadingEnablesColourForSrtOnlyAndARefusedFileChangesNothing) {
    TempDir dir;
    writeBytes(dir.file("one.SRT"), kSrt);
    writeBytes(dir.file("two.ass"), kAss);
    writeBytes(dir.file("bad.srt"), "garbage");
    SubtitlePanel panel;
    panel.setFontFolder(QString::fromStdString(dir.file("no-fonts")));  // an empty font list must not crash
    EXPECT_TRUE(panel.loadSubtitleFile(QString::fromStdString(dir.file("one.SRT"))).ok);
    EXPECT_TRUE(panel.colourEnabled());
    EXPECT_TRUE(panel.subtitleParam().fontPath.isEmpty());
    EXPECT_TRUE(panel.loadSubtitleFile(QString::fromStdString(dir.file("two.ass"))).ok);
    EXPECT_FALSE(panel.colourEnabled());
    EXPECT_EQ(panel.subtitleMenuTitles().mid(1, 2), (QStringList{"two.ass", "one.SRT"}));

    const kestrel::model::SubtitleParam before = panel.subtitleParam();
    const SubtitleCheck refused = panel.loadSubtitleFile(QString::fromStdString(dir.file("bad.srt")));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(panel.subtitleParam(), before);
    EXPECT_EQ(panel.subtitleMenuTitles().size(), 4);
}

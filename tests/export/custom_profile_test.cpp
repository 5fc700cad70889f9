#include "export/profiles/custom_profile_store.h"
#include "export/profiles/ini_document.h"
#include "export/profiles/output_profile.h"
#include "platform/user_defaults.h"

#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include "tests/export/qt_print.h"

#include <gtest/gtest.h>

using namespace exportkit;
using kestrel::test::TempDir;
using kestrel::test::writeBytes;

TEST(CustomProfileStore, RefusesUnusableNames) {
    TempDir dir;
    const QString folder = QString::fromStdString(dir.file("Custom"));
    CustomProfileStore store(folder);
    ASSERT_TRUE(store.saveSettingForpf({"[Main]", "ExtName=mp4"}, "Mine"));
    const struct {
        QString name;
        NameRefusal refusal;
    } cases[] = {
        {"", NameRefusal::Empty},       {"   ", NameRefusal::Empty},     {"a/b", NameRefusal::Separator},
        {"../up", NameRefusal::Separator}, {"Mine", NameRefusal::Exists}, {"Keep Original", NameRefusal::Exists},
        {"Mine 2", NameRefusal::None},  {"mine", NameRefusal::None},    {".mine", NameRefusal::Hidden},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(store.refusalForName(c.name), c.refusal);
        if (c.refusal != NameRefusal::None) {
            QString error;
            EXPECT_FALSE(store.saveSettingForpf({"x"}, c.name, &error));
            EXPECT_FALSE(error.isEmpty());
        }
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"Mine.pf"});
    EXPECT_EQ(ReadProfileValue("Main", "ExtName", folder + "/Mine.pf"), "mp4");
}

TEST(CustomProfileStore, UnwritableFolderFailsWithoutEndingTheProcess) {
    TempDir dir;
    writeBytes(dir.file("file"), "x");
    CustomProfileStore store(QString::fromStdString(dir.file("file/Custom")));
    QString error;
    EXPECT_FALSE(store.saveSettingForpf({"[Main]"}, "A", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(CustomProfileStore, CustomProfileCarriesChosenValuesAndKeepsTheRest) {
    TempDir dir;
    writeBytes(dir.file("base.pf"),
               "[Main]\r\nExtName=mp4\r\nNote=kept\r\n[Parameter]\r\nvcodec=h264,{h264}\r\ns=1280x720,{640x480,1280x720}\r\n"
               "r=25,{25,30}\r\nb=2000,{1000,2000}\r\nacodec=aac,{aac}\r\nac=2,{1,2}\r\nar=44100,{44100,48000}\r\n"
               "ab=128,{128,192}\r\n");
    writeBytes(dir.file("base.png"), "png");
    auto& defaults = platform::UserDefaults::standard();
    const ChoiceKeys& keys = ChoiceKeys::editor();
    defaults.setString(keys.resolution, "Custom");
    defaults.setInteger(kCustomWidthKey, 1000);
    defaults.setInteger(kCustomHeightKey, 500);
    defaults.setString(keys.framerate, "30");
    defaults.setString(keys.abitrate, "192");
    defaults.removeObjectForKey(keys.vcodec);
    const ProfileChoice choice = storedChoiceResolvingCustom(keys);
    EXPECT_EQ(choice.resolution, "1000x500");

    const QString folder = QString::fromStdString(dir.file("Custom"));
    CustomProfileStore store(folder);
    QString error;
    ASSERT_TRUE(store.saveCustomProfile(QString::fromStdString(dir.file("base.pf")), choice, "Wide", &error))
        << error.toStdString();
    const OutputProfile saved = OutputProfile::read(folder + "/Wide.pf");
    EXPECT_EQ(saved.extName, "mp4");
    EXPECT_EQ(saved.size.selected, "1000x500");
    EXPECT_EQ(saved.size.items, (QStringList{"640x480", "1280x720", "1000x500"}));
    EXPECT_EQ(saved.fps.selected, "30");
    EXPECT_EQ(saved.vcodec.selected, "h264");  // not chosen: the base's stays
    EXPECT_EQ(saved.audioBitrate.selected, "192");
    EXPECT_EQ(ReadProfileValue("Main", "Note", folder + "/Wide.pf"), "kept");
    EXPECT_TRUE(QFileInfo::exists(folder + "/Wide.png"));
    for (const QString& key : keys.values()) defaults.removeObjectForKey(key);
}

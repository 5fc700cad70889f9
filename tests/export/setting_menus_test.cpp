#include "export/settings/setting_menus.h"
#include "export/settings/setting_values.h"

#include "tests/export/qt_print.h"

#include <gtest/gtest.h>

using namespace exportkit::settings;

namespace {
const QString kKeep = "Keep Original";
}

TEST(SettingMenus, FrameRateMatchesByIntegerWithEditorOffset) {
    const QStringList rates{"24", "25", "30"};
    const SettingMenu editor = buildMenu(Setting::FrameRate, rates, QString("25.0"), false, false, true, kKeep);
    EXPECT_EQ(editor.titles, (QStringList{kKeep, "24 fps", "25 fps", "30 fps"}));
    EXPECT_EQ(editor.selected, 2);
    const SettingMenu joiner = buildMenu(Setting::FrameRate, rates, QString("25"), true, false, true, kKeep);
    EXPECT_EQ(joiner.titles, (QStringList{"24 fps", "25 fps", "30 fps"}));
    EXPECT_EQ(joiner.selected, 1);
}

TEST(SettingMenus, SelectionTable) {
    const QStringList sizes{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    const struct {
        const char* name;
        Setting setting;
        QStringList items;
        std::optional<QString> title;
        bool joinner, keepProfile, opening;
        int selected;
        int count;
    } cases[] = {
        {"joiner size, nothing stored", Setting::FrameSize, sizes, std::nullopt, true, false, true, 5, 11},
        {"joiner size, default button", Setting::FrameSize, sizes, std::nullopt, true, false, false, 5, 11},
        {"editor size custom", Setting::FrameSize, sizes, QString("Custom"), false, false, true, 11, 12},
        {"joiner size custom", Setting::FrameSize, sizes, QString("Custom"), true, false, true, 10, 11},
        {"editor size stored", Setting::FrameSize, sizes, QString("c"), false, false, true, 3, 12},
        {"codec with blanks on opening", Setting::VideoCodec, {"hevc", "h264"}, QString("h 264"), false, false, true, 1, 2},
        {"codec of Keep Original", Setting::VideoCodec, {"h264"}, std::nullopt, false, true, true, 0, 2},
        {"codec on default button has no Keep item", Setting::AudioCodec, {"aac"}, std::nullopt, false, true, false, 0, 1},
        {"joiner custom bit rate", Setting::VideoBitrate, {"1000", "2000"}, QString("Custom"), true, false, true, 2, 3},
        {"editor bit rate has no custom", Setting::VideoBitrate, {"1000", "2000"}, QString("2000"), false, false, true, 2, 3},
        {"stale stored title", Setting::SampleRate, {"44100"}, QString("8000"), false, false, true, 0, 2},
        {"channels", Setting::Channels, {"1", "2(Stereo)"}, QString("2(Stereo)"), false, false, true, 2, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SettingMenu menu = buildMenu(c.setting, c.items, c.title, c.joinner, c.keepProfile, c.opening, kKeep);
        EXPECT_EQ(menu.selected, c.selected);
        EXPECT_EQ(menu.titles.size(), c.count);
    }
}

TEST(SettingMenus, StoredValues) {
    EXPECT_EQ(storedValueForTitle(Setting::FrameRate, "25 fps", kKeep), "25");
    EXPECT_EQ(storedValueForTitle(Setting::SampleRate, "44100 hz", kKeep), "44100");
    EXPECT_EQ(storedValueForTitle(Setting::FrameSize, "Custom", kKeep), "Custom");
    EXPECT_EQ(storedValueForTitle(Setting::Channels, kKeep, kKeep), std::nullopt);
    EXPECT_EQ(flagOf(Setting::AudioBitrate), 128);
    EXPECT_EQ(flagOf(Setting::VideoCodec), 1);
}

TEST(SettingValues, DialogParsersAndNumbers) {
    EXPECT_EQ(resultContentStrForArr("a, b,{1 280x720, 640x480}"), (QStringList{"1280x720", "640x480"}));
    EXPECT_EQ(resultSelectItemTitleForContentStr(",{25,30}"), "25");  // empty selection: first item
    EXPECT_EQ(resultSelectItemTitleForContentStr("x,y,{y,z}"), "y");
    EXPECT_EQ(resultSelectItemTitleForContentStr(""), std::nullopt);
    EXPECT_EQ(numForStringValue("1500k"), "1500.00");
    EXPECT_EQ(numForStringValue("abc"), "0");
    EXPECT_EQ(numForStringValue("-5"), "5.00");
    EXPECT_EQ(numForStringValue(""), "0");
}

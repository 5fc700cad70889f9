// The settings dialog on its own: the audio-only layout, the joiner's custom bit rate, and the
// Keep Original item removing a choice, and custom values outside their bounds refused.
#include "export/profiles/profile_choice.h"
#include "export/ui/setting_window_controller.h"
#include "platform/user_defaults.h"
#include "services/language.h"

#include "tests/export/qt_print.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace exportkit;
using settings::Setting;
using kestrel::test::TempDir;
using kestrel::test::writeBytes;

namespace {

class SettingDialog : public ::testing::Test {
protected:
    void SetUp() override {
        clear();
        path_ = QString::fromStdString(dir_.file("P.pf"));
        writeBytes(path_.toStdString(),
                   "[Parameter]\r\nvcodec=h264,{h264}\r\ns=640x480,{640x480,1280x720}\r\nr=25,{25,30}\r\nb=1000,{1000,2000}\r\n"
                   "acodec=aac,{aac}\r\nac=2,{1,2}\r\nar=44100,{44100,48000}\r\nab=128,{128,192}\r\n");
    }
    void TearDown() override { clear(); }
    static void clear() {
        auto& defaults = platform::UserDefaults::standard();
        for (const QString& key : defaults.allKeys()) defaults.removeObjectForKey(key);
    }
    TempDir dir_;
    QString path_;
    std::vector<int> flags_;
};

}  // namespace

TEST_F(SettingDialog, AudioProfileShowsTheAudioSectionOnly) {
    SettingWindowController dialog;
    dialog.setFileType(2);
    dialog.setPfPath(path_);
    dialog.displayViewChildes();
    EXPECT_EQ(dialog.height(), 292);
    EXPECT_TRUE(dialog.videoBackView->isHidden());
    EXPECT_EQ(dialog.popUp(Setting::FrameSize), nullptr);
    ASSERT_NE(dialog.popUp(Setting::SampleRate), nullptr);
    EXPECT_EQ(dialog.popUp(Setting::SampleRate)->itemText(1), "44100 hz");
}

TEST_F(SettingDialog, JoinerCustomBitrateWidensTheWindow) {
    SettingWindowController dialog;
    dialog.setJoinner(true);
    dialog.setPfPath(path_);
    dialog.setSelectSettingCallbackBlock([this](int flag) { flags_.push_back(flag); });
    dialog.displayViewChildes();
    EXPECT_EQ(dialog.width(), 360);
    QComboBox* bitrate = dialog.popUp(Setting::VideoBitrate);
    ASSERT_EQ(bitrate->itemText(bitrate->count() - 1), "Custom");
    dialog.chooseItem(Setting::VideoBitrate, bitrate->count() - 1);
    EXPECT_EQ(dialog.width(), 480);
    EXPECT_FALSE(dialog.customVideoBit->isHidden());
    EXPECT_EQ(dialog.createCustomBtn->x(), 340);
    dialog.customVideoBit->setText("2500");
    dialog.customValueChange(dialog.customVideoBit);
    auto& defaults = platform::UserDefaults::standard();
    EXPECT_EQ(defaults.stringForKey("bitateSelectTitle"), "Custom");
    EXPECT_EQ(defaults.integerForKey(kCustomBitrateKey), 2500);
    dialog.chooseItem(Setting::VideoBitrate, 0);
    EXPECT_EQ(dialog.width(), 360);
    EXPECT_EQ(defaults.stringForKey("bitateSelectTitle"), "1000");
    EXPECT_EQ(flags_, (std::vector<int>{8, 8, 8}));
}

TEST_F(SettingDialog, KeepOriginalItemRemovesTheChoice) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString("framerate_SelectTitle", "30");
    SettingWindowController dialog;
    dialog.setPfPath(path_);
    dialog.displayViewChildes();
    QComboBox* rate = dialog.popUp(Setting::FrameRate);
    EXPECT_EQ(rate->currentText(), "30 fps");
    EXPECT_EQ(rate->itemText(0), services::localized("Keep_OriginalStringValue"));
    dialog.chooseItem(Setting::FrameRate, 0);
    EXPECT_FALSE(defaults.hasKey("framerate_SelectTitle"));
}

TEST_F(SettingDialog, OutOfRangeCustomValueIsRefusedVisiblyAndTheStoredOneShown) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString("resolution_SelectTitle", "Custom");
    defaults.setString("bitate_SelectTitle", "Custom");
    SettingWindowController dialog;
    dialog.setPfPath(path_);
    dialog.displayViewChildes();
    dialog.show();
    QApplication::processEvents();
    ASSERT_FALSE(dialog.customWidth->isHidden());
    ASSERT_FALSE(dialog.customVideoBit->isHidden());

    struct Case {
        const char* name;
        QLineEdit* field;
        QString key;
        QString typed;
        bool refused;
        QString shownAfter;   // the field once editing ends
        QString boundShown;   // in the tool tip of a refused value
    };
    const Case cases[] = {
        {"width in range", dialog.customWidth, kCustomWidthKey, "1280", false, "1280", ""},
        {"width too large", dialog.customWidth, kCustomWidthKey, "99999", true, "1280", "8192"},
        {"width too small", dialog.customWidth, kCustomWidthKey, "8", true, "1280", "16"},
        {"height never stored", dialog.customHeight, kCustomHeightKey, "0", true, "", "16"},
        {"bit rate in range", dialog.customVideoBit, kCustomBitrateKey, "2500", false, "2500", ""},
        {"bit rate too large", dialog.customVideoBit, kCustomBitrateKey, "900000", true, "2500", "200000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QVariant storedBefore = defaults.hasKey(c.key) ? QVariant(defaults.integerForKey(c.key)) : QVariant();
        c.field->setFocus();
        c.field->selectAll();
        QTest::keyClicks(c.field, c.typed);
        EXPECT_EQ(dialog.customValueRefused(c.field), c.refused);
        if (c.refused) {
            // The refused value is not stored, and the user is told the bounds.
            EXPECT_FALSE(defaults.hasKey(c.key) && defaults.integerForKey(c.key) == c.typed.toInt());
            EXPECT_TRUE(c.field->toolTip().contains(c.boundShown)) << c.field->toolTip().toStdString();
        } else {
            EXPECT_EQ(defaults.integerForKey(c.key), c.typed.toInt());
            EXPECT_TRUE(c.field->toolTip().isEmpty());
        }
        QTest::keyClick(c.field, Qt::Key_Return);
        EXPECT_EQ(c.field->text(), c.shownAfter);
        EXPECT_EQ(dialog.customValueRefused(c.field), c.refused);  // the mark outlasts the restore
        // What the field shows is what is in force: a refused edit leaves the value from before it.
        const QVariant storedAfter = defaults.hasKey(c.key) ? QVariant(defaults.integerForKey(c.key)) : QVariant();
        EXPECT_EQ(storedAfter, c.refused ? storedBefore : QVariant(c.typed.toInt()));
    }
}

// The output-format bar on a small profile tree: first run, restoring the stored choice,
// paging, a single category, and a custom profile saved from the settings dialog.
#include "export/profiles/custom_profile_store.h"
#include "export/ui/input_file_name_window_controller.h"
#include "export/ui/output_format_bar.h"
#include "export/ui/setting_window_controller.h"
#include "platform/user_defaults.h"
#include "widgets/zor_button.h"
#include "widgets/zor_image_view.h"

#include "tests/export/qt_print.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace exportkit;
using kestrel::test::TempDir;
using kestrel::test::writeBytes;

namespace {

std::string profileText(int rate) {
    return "[Main]\r\nExtName=mp4\r\n[Parameter]\r\nvcodec=h264,{h264}\r\ns=640x480,{640x480,1280x720}\r\nr=" +
           std::to_string(rate) + ",{24,25,30}\r\nb=1000,{1000,2000}\r\nacodec=aac,{aac}\r\nac=2,{1,2}\r\n"
           "ar=44100,{44100,48000}\r\nab=128,{128,192}\r\n";
}

class Recorder : public OutputFormatBarDelegate {
public:
    void outputChoiceChanged(OutputFormatBar*) override { ++choices; }
    void outputSettingChanged(OutputFormatBar*, int flag) override { flags.push_back(flag); }
    void outputSettingsRestored(OutputFormatBar*) override { ++restores; }
    void outputBarCollapseToggled(OutputFormatBar*, bool collapsed) override { toggles.push_back(collapsed); }
    int choices = 0, restores = 0;
    std::vector<int> flags;
    std::vector<bool> toggles;
};

class FormatBar : public ::testing::Test {
protected:
    void SetUp() override {
        clearDefaults();
        root_ = QString::fromStdString(dir_.file("tree"));
        custom_ = QString::fromStdString(dir_.file("Custom"));
    }
    void TearDown() override { clearDefaults(); }
    static void clearDefaults() {
        auto& defaults = platform::UserDefaults::standard();
        for (const QString& key : defaults.allKeys()) defaults.removeObjectForKey(key);
    }
    // Categories "Video" (n profiles P01.., with Keep Original first) and "Audio" (2).
    void makeTree(const QStringList& categories, int videoProfiles) {
        QDir().mkpath(root_);
        std::string index = "[frmFormat]\r\nCount=" + std::to_string(categories.size()) + "\r\n";
        for (int i = 0; i < categories.size(); ++i)
            index += "Type" + std::to_string(i + 1) + "=" + categories[i].toStdString() + "\r\n";
        writeBytes(root_.toStdString() + "/pf.dat", index);
        for (const QString& category : categories) {
            QDir().mkpath(root_ + "/" + category);
            const int count = category == "Video" ? videoProfiles : 2;
            for (int i = 1; i <= count; ++i)
                writeBytes(QString("%1/%2/P%3.pf").arg(root_, category).arg(i, 2, 10, QChar('0')).toStdString(),
                           profileText(24 + i % 3));
        }
    }
    std::unique_ptr<OutputFormatBar> makeBar(const ChoiceKeys& keys, int defaultTag, int screenHeight = 1080) {
        auto bar = std::make_unique<OutputFormatBar>(FormatBarConfig{ProfileTree(root_, custom_, 6), &keys, defaultTag, 16});
        bar->resize(1000, OutputFormatBar::kHeight);
        bar->setDelegate(&recorder_);
        bar->setScreenHeight(screenHeight);
        bar->load();
        return bar;
    }

    TempDir dir_;
    QString root_, custom_;
    Recorder recorder_;
};

}  // namespace

TEST_F(FormatBar, FirstRunAppliesTheDefaultProfile) {
    makeTree({"Video", "Audio"}, 9);
    auto bar = makeBar(ChoiceKeys::joiner(), 6);
    EXPECT_EQ(bar->functionItemTitle(), "Video");
    EXPECT_EQ(bar->selectItemIndex(), 6);
    EXPECT_EQ(recorder_.choices, 1);
    EXPECT_EQ(bar->showFunctionBtn()->contentTitle(), "Target Format: P06");
    auto& defaults = platform::UserDefaults::standard();
    EXPECT_EQ(defaults.integerForKey("joinner_selectItemIndex"), 6);
    EXPECT_EQ(defaults.integerForKey("joinner_selectFunListItemIndex"), 1);
    EXPECT_EQ(defaults.stringForKey("joinner_extNameSelectTitle"), "mp4");
    EXPECT_EQ(defaults.stringForKey("framerateSelectTitle"), "24");  // P06: 24 + 6 % 3
    EXPECT_TRUE(bar->itemSelectView()->isVisibleTo(bar.get()));
}

TEST_F(FormatBar, RestoresTheRememberedChoiceInItsOwnCategory) {
    makeTree({"Video", "Audio"}, 12);
    for (const ChoiceKeys* keys : {&ChoiceKeys::editor(), &ChoiceKeys::joiner()}) {
        SCOPED_TRACE(keys->joinner ? "joiner" : "editor");
        clearDefaults();
        {
            auto bar = makeBar(*keys, keys->joinner ? 6 : 1);
            bar->actionFunctionItem(bar->functionItems()[1]);  // the Audio tab
            bar->actionFunctionItemScrollChild(bar->functionItemButtons()[1]);
            EXPECT_TRUE(bar->chosenIsAudio());
        }
        // A setting changed in the dialog since: it must survive the next start.
        platform::UserDefaults::standard().setString(keys->abitrate, "192");
        recorder_ = Recorder();
        auto bar = makeBar(*keys, keys->joinner ? 6 : 1);
        EXPECT_EQ(bar->functionItemTitle(), "Audio");
        EXPECT_EQ(bar->selectItemIndex(), 2);
        EXPECT_EQ(recorder_.choices, 1);
        EXPECT_EQ(bar->choice().abitrate, "192");
        EXPECT_EQ(platform::UserDefaults::standard().stringForKey(keys->abitrate), "192");
        EXPECT_EQ(bar->itemSelectView()->geometry(), bar->functionItemButtons()[1]->geometry());
        // Browsing the other category marks nothing and applies nothing.
        bar->actionFunctionItem(bar->functionItems()[0]);
        EXPECT_FALSE(bar->itemSelectView()->isVisibleTo(bar.get()));
        EXPECT_EQ(recorder_.choices, 1);
    }
}

// A Custom category made after the choice (in the other window, or before this start) comes
// first and moves every category along: the choice is found again by its category's name.
TEST_F(FormatBar, TheRememberedCategoryIsFoundByNameWhenCustomComesFirst) {
    makeTree({"Video", "Audio"}, 3);
    for (const ChoiceKeys* keys : {&ChoiceKeys::editor(), &ChoiceKeys::joiner()}) {
        SCOPED_TRACE(keys->joinner ? "joiner" : "editor");
        clearDefaults();
        QDir(custom_).removeRecursively();
        {
            auto bar = makeBar(*keys, 1);
            bar->actionFunctionItem(bar->functionItems()[1]);  // the Audio tab
            bar->actionFunctionItemScrollChild(bar->functionItemButtons()[1]);
            ASSERT_TRUE(bar->chosenIsAudio());
        }
        ASSERT_TRUE(CustomProfileStore(custom_).saveSettingForpf({"[Main]", "ExtName=mkv"}, "Mine"));
        recorder_ = Recorder();
        auto bar = makeBar(*keys, 1);
        ASSERT_EQ(bar->functionList(), (QStringList{"Custom", "Video", "Audio"}));
        EXPECT_EQ(bar->functionItemTitle(), "Audio");
        EXPECT_EQ(bar->selectItemIndex(), 2);
        EXPECT_TRUE(bar->chosenIsAudio());
        EXPECT_EQ(bar->showFunctionBtn()->contentTitle(), "Target Format: P02");
        EXPECT_EQ(platform::UserDefaults::standard().integerForKey(keys->selectFunListItemIndex), 3);
    }
}

TEST_F(FormatBar, PagesOfEight) {
    makeTree({"Video", "Audio"}, 17);
    auto bar = makeBar(ChoiceKeys::editor(), 1);
    EXPECT_EQ(bar->pageCount(), 3);
    EXPECT_FALSE(bar->leftMoveButton()->isEnabled());
    EXPECT_TRUE(bar->rightMoveButton()->isEnabled());
    bar->action_right_move_item_Btn();
    bar->action_right_move_item_Btn();
    bar->action_right_move_item_Btn();
    EXPECT_EQ(bar->selectFunctionOfsetIndex(), 2);
    EXPECT_EQ(bar->functionItemScrollview()->horizontalScrollBar()->value(), 1600);
    EXPECT_FALSE(bar->rightMoveButton()->isEnabled());
    EXPECT_TRUE(bar->leftMoveButton()->isEnabled());
    EXPECT_EQ(platform::UserDefaults::standard().integerForKey("Video_selectFunctionOfsetIndex"), 2);

    root_ = QString::fromStdString(dir_.file("single"));
    makeTree({"Video"}, 8);  // one category, one page
    auto single = makeBar(ChoiceKeys::editor(), 1);
    ASSERT_EQ(single->functionItems().size(), 1u);
    EXPECT_EQ(single->functionItems()[0]->x(), 0);
    EXPECT_FALSE(single->leftMoveButton()->isEnabled());
    EXPECT_FALSE(single->rightMoveButton()->isEnabled());
}

TEST_F(FormatBar, CollapsesOnlyOnSmallScreens) {
    makeTree({"Video"}, 3);
    auto bar = makeBar(ChoiceKeys::editor(), 1);
    QTest::mouseClick(bar->showFunctionBtn(), Qt::LeftButton);
    EXPECT_TRUE(recorder_.toggles.empty());
    bar->setScreenHeight(700);
    QTest::mouseClick(bar->showFunctionBtn(), Qt::LeftButton);
    QTest::mouseClick(bar->showFunctionBtn(), Qt::LeftButton);
    EXPECT_EQ(recorder_.toggles, (std::vector<bool>{true, false}));
}

// The header folds the bar away exactly on the screens where it shows its arrow: below 780
// points. On a screen of 780 points a click on the header must not shrink the window.
TEST_F(FormatBar, TheHeaderFoldsTheBarWhereItShowsItsArrow) {
    makeTree({"Video"}, 3);
    for (int height : {700, 779, 780, 800}) {
        SCOPED_TRACE(height);
        recorder_.toggles.clear();
        auto bar = makeBar(ChoiceKeys::editor(), 1, height);
        bar->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(bar.get()));
        const auto* arrow = bar->showFunctionBtn()->findChild<kestrel::widgets::ZorImageView*>();
        const bool arrowShown = arrow && arrow->isVisible();
        EXPECT_EQ(arrowShown, height < 780);
        kestrel::test::click(bar->showFunctionBtn());
        kestrel::test::click(bar->showFunctionBtn());
        const std::vector<bool> expected = arrowShown ? std::vector<bool>{true, false} : std::vector<bool>{};
        EXPECT_EQ(recorder_.toggles, expected) << "the header acts only where its arrow is shown";
    }
}

TEST_F(FormatBar, SettingsDialogChoicesReachTheOwnerAndACustomProfileIsSaved) {
    makeTree({"Video", "Audio"}, 3);
    auto bar = makeBar(ChoiceKeys::editor(), 1);
    auto& defaults = platform::UserDefaults::standard();
    const auto settingsButton = [&] {
        return bar->functionItemButtons()[0]->findChild<QPushButton*>("settingsButton");
    };
    ASSERT_NE(settingsButton(), nullptr);
    QString savedName;
    bar->setSettingsRunner([&](SettingWindowController* dialog) {
        // Stored frame rate 25 of P01 selects "25 fps" behind the Keep Original item.
        EXPECT_EQ(dialog->popUp(settings::Setting::FrameRate)->currentIndex(), 2);
        dialog->chooseItem(settings::Setting::FrameRate, 3);  // 30 fps
        dialog->chooseItem(settings::Setting::FrameSize, dialog->popUp(settings::Setting::FrameSize)->count() - 1);
        EXPECT_EQ(dialog->width(), 480);
        EXPECT_TRUE(dialog->customWidth->isVisibleTo(dialog));
        for (const auto& [text, stored] : std::vector<std::pair<QString, qint64>>{{"1", 0}, {"99999", 0}, {"1000", 1000}}) {
            dialog->customWidth->setText(text);
            dialog->customValueChange(dialog->customWidth);
            EXPECT_EQ(defaults.integerForKey(kCustomWidthKey), stored) << text.toStdString();
        }
        dialog->customHeight->setText("500");
        dialog->customValueChange(dialog->customHeight);
        dialog->setPromptRunner([&](InputFileNameWindowController* prompt) {
            prompt->setCustomFolder(custom_);
            EXPECT_EQ(prompt->customValue(), "custom={1000x500}");
            prompt->nameNameField->setText("P01");  // a shipped name is fine in Custom
            prompt->actionOkBtn();
            savedName = QFileInfo(prompt->savedPath()).completeBaseName();
        });
        dialog->actionCreateCustomBtn();
    });
    settingsButton()->click();
    EXPECT_EQ(recorder_.flags, (std::vector<int>{4, 2, 2, 2, 2, 2}));
    EXPECT_EQ(bar->choice().framerate, "30");
    EXPECT_EQ(savedName, "P01");
    const OutputProfile saved = OutputProfile::read(custom_ + "/P01.pf");
    EXPECT_EQ(saved.size.selected, "1000x500");
    EXPECT_EQ(saved.fps.selected, "30");
    // The notification made the bar list "Custom" first, still pointing at the chosen category.
    EXPECT_EQ(bar->functionList(), (QStringList{"Custom", "Video", "Audio"}));
    EXPECT_EQ(defaults.integerForKey("selectFunListItemIndex"), 2);
    EXPECT_EQ(bar->functionItemTitle(), "Video");
    EXPECT_TRUE(bar->itemSelectView()->isVisibleTo(bar.get()));

    // The Default button brings the profile's own values back.
    bar->setSettingsRunner([&](SettingWindowController* dialog) { dialog->actiondefaultBtn(); });
    settingsButton()->click();
    EXPECT_EQ(recorder_.restores, 1);
    EXPECT_EQ(defaults.stringForKey("framerate_SelectTitle"), "25");
    EXPECT_EQ(defaults.stringForKey("resolution_SelectTitle"), "640x480");
}

TEST_F(FormatBar, NamePromptRefusesUnusableNames) {
    CustomProfileStore(custom_).saveSettingForpf({"[Main]", "ExtName=mp4"}, "Taken");
    int posts = 0;
    QVariantMap last;
    const auto token = platform::NotificationCenter::defaultCenter().addObserver(
        platform::kAddPfFileNotification, [&](const platform::Notification& n) {
            ++posts;
            last = n.userInfo;
        });
    for (const QString& name : {QString(""), QString("  "), QString("a/b"), QString("Taken"), QString(".mine")}) {
        InputFileNameWindowController prompt;
        prompt.setCustomFolder(custom_);
        prompt.nameNameField->setText(name);
        prompt.actionOkBtn();
        EXPECT_NE(prompt.result(), QDialog::Accepted) << name.toStdString();
        EXPECT_FALSE(prompt.messageLabel->text().isEmpty()) << name.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(custom_ + "/.mine.pf")) << "a hidden profile would never be listed";
    EXPECT_EQ(posts, 0);
    InputFileNameWindowController prompt;
    prompt.setCustomFolder(custom_);
    prompt.setCustomValue("custom={x}");
    prompt.nameNameField->setText("Fresh");
    prompt.actionOkBtn();
    EXPECT_EQ(prompt.result(), QDialog::Accepted);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(last.value("fileName").toString(), "Fresh");
    EXPECT_EQ(last.value("value").toString(), "custom={x}");
    EXPECT_TRUE(QFileInfo::exists(custom_ + "/Fresh.pf"));
    platform::NotificationCenter::defaultCenter().removeObserver(token);
}

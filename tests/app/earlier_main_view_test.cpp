// The earlier main view: tool buttons open their windows and wait until one closes; the split
// button asks for a file and opens the splitter, and a cancelled panel opens nothing.
#include "tests/app/app_test_helpers.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"

#include "app/app_delegate.h"
#include "app/view_controller.h"
#include "services/language.h"
#include "tools/cutter/batch_cutter_window_controller.h"
#include "tools/cutter/cut_range_panel.h"
#include "tools/cutter/easy_cutter_windowcontroller.h"
#include "tools/splitter/split_window_controller.h"
#include "widgets/zor_button.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTest>

namespace kestrel::test {
namespace {

using services::localized;

class EarlierMainViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        kestrel::widgets::setOpenPanelRunner([this](const kestrel::widgets::OpenPanelRequest&) {
            ++panels;
            return answer;
        });
        window.show();
    }
    void TearDown() override {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != &window && top->isVisible()) top->close();
        pumpEvents();
        kestrel::widgets::setOpenPanelRunner({});
    }
    template <class T>
    T* openWindowOf() const {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<T*>(top); found && found->isVisible()) return found;
        return nullptr;
    }
    bool buttonsEnabled() const {
        for (kestrel::widgets::ZorButton* button : view->toolButtons())
            if (!button->isEnabled()) return false;
        return view->langeuagePopBtn()->isEnabled() && view->aboutButton()->isEnabled() && view->homepageButton()->isEnabled();
    }

    QWidget window;
    app::ViewController* view = new app::ViewController(&window);
    QStringList answer;
    int panels = 0;
};

TEST_F(EarlierMainViewTest, SplitOpensTheSplitterWithTheChosenFileAndCancelOpensNothing) {
    TempDir media;
    makeMedia(media.file("clip.mp4"), FixtureSpec{.duration_s = 1.0, .width = 160, .height = 120});
    ASSERT_EQ(view->toolButtons().size(), 11u);

    QTest::mouseClick(view->splitButton(), Qt::LeftButton);
    pumpUntil([&] { return panels == 1; });
    EXPECT_EQ(panels, 1);
    EXPECT_EQ(openWindowOf<splitter::SplitWindowController>(), nullptr);
    EXPECT_TRUE(buttonsEnabled());

    answer = {QString::fromStdString(media.file("clip.mp4"))};
    QTest::mouseClick(view->splitButton(), Qt::LeftButton);
    ASSERT_TRUE(pumpUntil([&] { return openWindowOf<splitter::SplitWindowController>() != nullptr; }));
    auto* splitter = openWindowOf<splitter::SplitWindowController>();
    EXPECT_EQ(splitter->filePath(), answer.first());
    EXPECT_EQ(splitter->windowTitle(), localized("Split_Title"));
    EXPECT_FALSE(buttonsEnabled());

    splitter->close();
    EXPECT_TRUE(buttonsEnabled()) << "a closing tool window enables the buttons again";
}

// The easy cutter opens without a file from this view and asks for its own once shown: the
// chosen file is loaded; a cancelled panel leaves it open without one.
TEST_F(EarlierMainViewTest, TheEasyCutterAsksForItsOwnFile) {
    TempDir media;
    makeMedia(media.file("clip.mp4"), FixtureSpec{.duration_s = 1.0, .width = 160, .height = 120});
    answer = {QString::fromStdString(media.file("clip.mp4"))};
    kestrel::widgets::ZorButton* easyCut = view->toolButtons().at(1);
    click(easyCut);
    ASSERT_TRUE(pumpUntil([&] { return openWindowOf<kestrel::tools::cutter::EasyCutterWindowcontroller>() != nullptr; }));
    auto* cutter = openWindowOf<kestrel::tools::cutter::EasyCutterWindowcontroller>();
    ASSERT_TRUE(pumpUntil([&] { return panels == 1 && cutter->filePath() == answer.first(); }));
    EXPECT_EQ(cutter->windowTitle(), localized("EasyCut_Title"));
    EXPECT_TRUE(cutter->rangePanel()->isVisible()) << "the chosen file is loaded for cutting";
    cutter->close();
    ASSERT_TRUE(pumpUntil([&] { return buttonsEnabled(); }));

    answer.clear();
    click(easyCut);
    ASSERT_TRUE(pumpUntil([&] { return panels == 2; }));
    cutter = openWindowOf<kestrel::tools::cutter::EasyCutterWindowcontroller>();
    ASSERT_NE(cutter, nullptr);
    EXPECT_TRUE(cutter->filePath().isEmpty());
    EXPECT_FALSE(cutter->rangePanel()->isVisible()) << "nothing to cut without a file";
    cutter->close();
}

TEST_F(EarlierMainViewTest, ToolButtonsOpenWithoutAPanelAndRelayoutRetitles) {
    QTest::mouseClick(view->toolButtons().at(2), Qt::LeftButton);  // batch cutter
    ASSERT_TRUE(pumpUntil([&] { return openWindowOf<kestrel::tools::cutter::BatchCutterWindowController>() != nullptr; }));
    EXPECT_EQ(panels, 0);
    EXPECT_EQ(openWindowOf<kestrel::tools::cutter::BatchCutterWindowController>()->windowTitle(), localized("BatchCut_Title"));
    EXPECT_FALSE(buttonsEnabled());
    openWindowOf<kestrel::tools::cutter::BatchCutterWindowController>()->close();
    EXPECT_TRUE(buttonsEnabled());

    EXPECT_EQ(app::ViewController::buttonLabel(view->toolButtons().at(4))->text(), localized("JoinnervideoWinTitle"));
    app::AppDelegate delegate;
    delegate.setLange(5);
    EXPECT_EQ(app::ViewController::buttonLabel(view->toolButtons().at(0))->text(), builtTable("ja").value("tool_cropItemTitle"));
    EXPECT_EQ(view->homepageButton()->contentTitle(), builtTable("ja").value("HomepageBtnTitle"));
    view->toolButtons().at(0)->mouseEntered()(view->toolButtons().at(0));
    EXPECT_EQ(view->descLabel1()->text(), builtTable("ja").value("Crop_PlaceholderString"));
    delegate.setLange(0);
}

}  // namespace
}  // namespace kestrel::test

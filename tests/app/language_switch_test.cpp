// A language switch stores the choice, keeps the preferred-language list, re-titles the menu and
// every visible text of the home screen, and lays Arabic text right to left inside its controls.
#include "tests/app/app_test_helpers.h"

#include "app/app_delegate.h"
#include "app/home_tiles.h"
#include "app/home_view_controller.h"
#include "app/home_window_controller.h"
#include "app/main_menu.h"
#include "app/preferred_languages.h"
#include "platform/user_defaults.h"
#include "services/help_class.h"
#include "services/language.h"
#include "widgets/xj_label.h"
#include "widgets/zor_button.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace kestrel::test {
namespace {

const QStringList kFolders = {"en", "zh-Hans", "zh-Hant", "fr", "de", "ja", "es", "pt-PT", "ar"};
const QStringList kCodes = {"en", "zh_CN", "zh_HK", "fr", "de", "ja", "es", "pt", "ar"};

using LanguageSwitchTest = ShellTest;

TEST_F(LanguageSwitchTest, EachOfTheNineLanguagesRetitlesTheHomeScreenAndMenu) {
    QSet<QString> descriptions;
    for (int index = 0; index < 9; ++index) {
        SCOPED_TRACE(kFolders[index].toStdString());
        const QHash<QString, QString> table = builtTable(kFolders[index]);
        ASSERT_FALSE(table.isEmpty());
        QAction* item = app::itemWithTag(app::topLevelItemWithTag(ui.delegate->mainMenu(), 20)->menu(), 100 + index);
        ASSERT_NE(item, nullptr);
        item->trigger();

        auto& defaults = platform::UserDefaults::standard();
        EXPECT_EQ(defaults.integerForKey("AppLanguage"), index);
        EXPECT_EQ(defaults.objectForKey("AppleLanguages").toStringList(), QStringList{kCodes[index]});
        EXPECT_EQ(home()->descLabel()->text(), table.value("viewController_normalDescLabelString"));
        // The header buttons' titles lead with a blank.
        EXPECT_EQ(home()->homepageBtn()->contentTitle(), " " + table.value("Homepage.title"));
        EXPECT_EQ(home()->aboutBtn()->contentTitle(), " " + table.value("aboutBtnTitle"));
        for (int tag = 1; tag <= 20; ++tag)
            EXPECT_EQ(app::HomeViewController::tileLabel(home()->tileWithTag(tag))->title(),
                      table.value(app::subFunImageName(tag - 1) + "_Title"));
        descriptions.insert(home()->descLabel()->text());

        QMenuBar* bar = ui.delegate->mainMenu();
        EXPECT_EQ(app::topLevelItemWithTag(bar, 20)->menu()->title(), table.value("LanguageBtnTitle"));
        QMenu* help = app::topLevelItemWithTag(bar, 30)->menu();
        EXPECT_EQ(help->title(), table.value("FKE-Sm-Kum.title"));
        EXPECT_EQ(app::itemWithTag(help, 100)->text(), table.value("FKE-Sm-Kum.title"));
        EXPECT_EQ(app::itemWithTag(app::topLevelItemWithTag(bar, 10)->menu(), 200)->text(), table.value("4sb-4s-VLi.title"));
        EXPECT_TRUE(item->isChecked());

        // Header buttons follow their titles: each its title's measured width (in a 200 x 22
        // box) plus 26 and 36 points; right edges 10 points apart, inside the view.
        const QRect homeButton = home()->homepageBtn()->geometry(), about = home()->aboutBtn()->geometry();
        const auto measured = [](const kestrel::widgets::ZorButton* button) {
            return services::HelpClass::getWidthOfText(button->contentTitle(), 200, 22, button->font()).width();
        };
        EXPECT_NEAR(homeButton.width(), measured(home()->homepageBtn()) + 26, 1);
        EXPECT_NEAR(about.width(), measured(home()->aboutBtn()) + 36, 1);
        EXPECT_EQ(home()->width() - homeButton.right() - 1, 10);
        EXPECT_NEAR(homeButton.left() - about.right() - 1, 10, 1);

        const Qt::LayoutDirection text = index == 8 ? Qt::RightToLeft : Qt::LeftToRight;
        EXPECT_EQ(home()->descLabel()->layoutDirection(), text);
        EXPECT_EQ(app::HomeViewController::tileLabel(home()->tileWithTag(1))->layoutDirection(), text);
        EXPECT_EQ(home()->subFunView()->layoutDirection(), Qt::LeftToRight) << "windows are never mirrored";
        EXPECT_EQ(homeWindow()->layoutDirection(), Qt::LeftToRight);
    }
    EXPECT_EQ(descriptions.size(), 9) << "every language has its own texts";
}

TEST_F(LanguageSwitchTest, ThePopUpTitleEntryChoosesEnglish) {
    ui.delegate->setLange(3);
    QComboBox popUp;
    popUp.addItems({"Language", "English", "Chinese"});
    popUp.setCurrentIndex(0);  // the title entry stands for -1
    ui.delegate->langeuageAction(&popUp);
    EXPECT_EQ(platform::UserDefaults::standard().integerForKey("AppLanguage"), -1);
    EXPECT_EQ(platform::UserDefaults::standard().objectForKey("AppleLanguages").toStringList(), QStringList{"en"});
    EXPECT_EQ(home()->descLabel()->text(), builtTable("en").value("viewController_normalDescLabelString"));
    popUp.setCurrentIndex(2);
    ui.delegate->langeuageAction(&popUp);
    EXPECT_EQ(platform::UserDefaults::standard().integerForKey("AppLanguage"), 1);
}

TEST(PreferredLanguages, CodesOfBothListsAndOutOfRangeIndexes) {
    struct Case {
        qint64 index;
        bool four;
        const char* code;
    };
    for (const Case& c : {Case{0, false, "en"}, Case{1, false, "zh_CN"}, Case{2, false, "zh_HK"}, Case{4, false, "de"},
                          Case{7, false, "pt"}, Case{8, false, "ar"}, Case{9, false, "en"}, Case{-1, false, "en"},
                          Case{1, true, "zh_Hant"}, Case{3, true, "ja"}, Case{4, true, "en"}, Case{-1, true, "en"}})
        EXPECT_EQ(app::preferredLanguageCode(c.index, c.four), QString::fromLatin1(c.code)) << c.index << " " << c.four;
    EXPECT_FALSE(app::usesFourLanguageList()) << "the shipped table lists nine languages";
}

}  // namespace
}  // namespace kestrel::test

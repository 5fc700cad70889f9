// The two-button alert, the task-finished alert and the About box: their blocks get the right
// values once, every way of closing ends the modal run, and links are built as proper URLs.
#include "tests/app/app_test_helpers.h"

#include "app/about_us_window_controller.h"
#include "widgets/dialogs/alert_window_controller.h"
#include "app/links.h"
#include "widgets/dialogs/zor_open_alert.h"
#include "platform/notification_center.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/support/support_address_resources.h"
#include "widgets/zor_button.h"

#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

namespace kestrel::test {
namespace {

using services::localized;

// Runs the dialog modally while act() does what the user would.
template <class Dialog>
int runWhile(Dialog& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, std::move(act));
    return dialog.runModal();
}

TEST(AlertWindow, LeftButtonRunsTheBlockOnceWithYes) {
    kestrel::widgets::AlertWindowController alert;
    std::vector<bool> answers;
    alert.setTitle("Title");
    alert.setMessage("ShowFunMessage");
    alert.setLeftBtnTitle("OKBtnTitle");
    alert.setRightBtnTitle("not a key");
    alert.setLeftBtnClickCallbackBlock([&](bool yes) { answers.push_back(yes); });
    alert.changeLanguage();
    EXPECT_EQ(alert.windowTitleLabel()->text(), localized("Title"));
    EXPECT_EQ(alert.messageLabel()->text(), localized("ShowFunMessage"));
    EXPECT_EQ(alert.leftBtn()->contentTitle(), localized("OKBtnTitle"));
    EXPECT_EQ(alert.rightBtn()->contentTitle(), "not a key");
    EXPECT_EQ(runWhile(alert, [&] { QTest::mouseClick(alert.leftBtn(), Qt::LeftButton); }), QDialog::Accepted);
    EXPECT_EQ(answers, std::vector<bool>{true});
    EXPECT_FALSE(alert.isVisible());
}

TEST(AlertWindow, RightButtonAndCloseBoxEndTheRunWithoutTheBlock) {
    for (bool viaCloseBox : {false, true}) {
        kestrel::widgets::AlertWindowController alert;
        int calls = 0;
        alert.setLeftBtnClickCallbackBlock([&](bool) { ++calls; });
        alert.changeLanguage();
        EXPECT_EQ(alert.leftBtn()->contentTitle(), "") << "no title set: empty";
        runWhile(alert, [&] {
            if (viaCloseBox) alert.close();
            else QTest::mouseClick(alert.rightBtn(), Qt::LeftButton);
        });
        EXPECT_EQ(calls, 0);
        EXPECT_FALSE(alert.isVisible());
    }
}

TEST(AlertWindow, RetitlesOnALanguageChange) {
    kestrel::widgets::AlertWindowController alert;
    alert.setMessage("ShowFunMessage");
    alert.changeLanguage();
    platform::UserDefaults::standard().setInteger("AppLanguage", 4);
    platform::NotificationCenter::defaultCenter().post(platform::kChangeLanguageNotification);
    EXPECT_EQ(alert.messageLabel()->text(), builtTable("de").value("ShowFunMessage"));
    platform::UserDefaults::standard().setInteger("AppLanguage", 0);
}

TEST(TaskFinishedAlert, OpenGivesOneCloseGivesZeroAndTheTitleBarCloseActsAsClose) {
    struct Case {
        const char* how;
        qint64 expected;
    };
    for (const Case& c : {Case{"open", 1}, Case{"close", 0}, Case{"titlebar", 0}, Case{"escape", 0}}) {
        SCOPED_TRACE(c.how);
        kestrel::widgets::ZorOpenAlert alert;
        std::vector<qint64> answers;
        alert.setInfomation("Joinnerfinishedstring");
        alert.setSelectedOkBlock([&](qint64 choice) {
            answers.push_back(choice);
            EXPECT_TRUE(alert.isVisible()) << "the block runs before the window closes";
        });
        const int result = runWhile(alert, [&] {
            const std::string how = c.how;
            if (how == "open") QTest::mouseClick(alert.openBtn(), Qt::LeftButton);
            else if (how == "close") QTest::mouseClick(alert.okBtn(), Qt::LeftButton);
            else if (how == "titlebar") alert.close();
            else QTest::keyClick(&alert, Qt::Key_Escape);
        });
        EXPECT_EQ(answers, std::vector<qint64>{c.expected});
        EXPECT_EQ(result, int(c.expected));
        EXPECT_FALSE(alert.isVisible());
        EXPECT_EQ(alert.titleLabel()->text(), localized("Joinnerfinishedstring"));
    }
}

TEST(TaskFinishedAlert, EmptyTextsShowTheDefaults) {
    kestrel::widgets::ZorOpenAlert alert;
    alert.setSelectedOkBlock([](qint64) {});
    runWhile(alert, [&] { alert.close(); });
    EXPECT_EQ(alert.windowTitleLabel()->text(), localized("Title"));
    EXPECT_EQ(alert.titleLabel()->text(), localized("InformationLabelTitle"));
    EXPECT_EQ(alert.openBtn()->contentTitle(), localized("Reverse Open"));
    EXPECT_EQ(alert.okBtn()->contentTitle(), localized("Reverse Close"));
}

TEST(AboutBox, LinksOpenTheGuideAndAMailToTheConfiguredAddress) {
    SupportAddressResources resources("help desk@example.org");
    ASSERT_TRUE(resources.ok());
    UrlCatcher catcher;
    app::AboutUsWindowController about;
    EXPECT_EQ(about.aboutVersionLabel()->text(), localized("aboutVersionLabelstring") + services::Language::getCurrentVersion());
    EXPECT_EQ(about.middleLeftContentLabel()->contentTitle(), localized("middleLeftContentLabelstring"));
    runWhile(about, [&] {
        QTest::mouseClick(about.middleLeftContentLabel(), Qt::LeftButton);
        QTest::mouseClick(about.middleRightContentLabel(), Qt::LeftButton);
        QTest::mouseClick(about.okBtn(), Qt::LeftButton);
    });
    ASSERT_EQ(catcher.urls.size(), 2u);
    EXPECT_EQ(catcher.urls[0], app::userGuideLink());
    EXPECT_TRUE(QFileInfo(catcher.urls[0].toLocalFile()).isFile()) << catcher.urls[0].toString().toStdString();
    EXPECT_EQ(catcher.urls[1].toString(QUrl::FullyEncoded), "mailto:help%20desk@example.org?Subject=%20&body=%20");
    EXPECT_FALSE(about.isVisible());
}

TEST(AboutBox, WithoutASupportAddressOnlyTheGuideIsOffered) {
    SupportAddressResources resources("");
    ASSERT_TRUE(resources.ok());
    UrlCatcher catcher;
    app::AboutUsWindowController about;
    runWhile(about, [&] {
        EXPECT_TRUE(about.middleLeftContentLabel()->isVisible());
        EXPECT_FALSE(about.middleRightContentLabel()->isVisible());
        QTest::mouseClick(about.middleLeftContentLabel(), Qt::LeftButton);
        QTest::mouseClick(about.okBtn(), Qt::LeftButton);
    });
    ASSERT_EQ(catcher.urls.size(), 1u);
    EXPECT_EQ(catcher.urls[0], app::userGuideLink());
    // The guide's link has the row to itself, centred in the box.
    const QRect link = about.middleLeftContentLabel()->geometry();
    EXPECT_NEAR(link.center().x(), about.width() / 2, 2);
}

TEST(Links, MailLinksEncodeEveryCharacterThatWouldChangeTheirMeaning) {
    EXPECT_EQ(app::mailLink("help desk@example.org").toString(QUrl::FullyEncoded),
              "mailto:help%20desk@example.org?Subject=%20&body=%20");
    const QUrl tricky = app::mailLink("a?cc=x&b@example.org");
    EXPECT_EQ(tricky.path(), "a?cc=x&b@example.org");
    EXPECT_EQ(QUrlQuery(tricky).queryItems().size(), 2) << tricky.toString(QUrl::FullyEncoded).toStdString();
}

}  // namespace
}  // namespace kestrel::test

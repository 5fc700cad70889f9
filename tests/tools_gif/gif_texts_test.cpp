// Every text of the GIF maker fits its control in all nine languages, at the smallest size the
// home screen gives the window, in each of the three modes, and follows a language change.
#include "platform/notification_center.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/text_fit.h"
#include "tests/support/user_input.h"
#include "tools/gif/gif_view_controller.h"
#include "widgets/zor_button.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class GifTextFit : public kestrel::test::AllLanguagesTest {};

TEST_P(GifTextFit, EveryModeFitsItsTexts) {
    kestrel::test::TempDir dir;
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 1;
    kestrel::test::makeMedia(dir.file("a_rather_long_holiday_video_name.mp4"), spec);
    gif::GIFViewController view;
    view.setVideoPath(QString::fromStdString(dir.file("a_rather_long_holiday_video_name.mp4")));
    view.resize(1067, 622);  // 1500 x 875 scaled to a 1366 pixel wide screen
    view.show();
    kestrel::test::activate(&view);
    QTest::qWait(50);
    const struct {
        kestrel::widgets::ZorButton* tab;
        const char* name;
    } modes[] = {{view.videotoGifBtn, "video to GIF"}, {view.videotoJpgBtn, "video to pictures"}, {view.photostoGifBtn, "photos to GIF"}};
    for (const auto& mode : modes) {
        kestrel::test::click(mode.tab);
        QApplication::processEvents();
        EXPECT_GT(kestrel::test::expectTextsFit(&view, mode.name, arabic()), 0);
    }
}

KESTREL_ALL_LANGUAGES(GifTextFit);

TEST(GifTexts, FollowALanguageChangeWhileOpen) {
    platform::UserDefaults::standard().setInteger("AppLanguage", 0);
    services::Language::setLanguage();
    gif::GIFViewController view;
    const QString english = view.exportBtn->contentTitle();
    platform::UserDefaults::standard().setInteger("AppLanguage", 4);  // German
    services::Language::setLanguage();
    platform::NotificationCenter::defaultCenter().post(platform::kChangeLanguageNotification);
    EXPECT_EQ(view.exportBtn->contentTitle(), services::localized("gif_miker_Export"));
    EXPECT_NE(view.exportBtn->contentTitle(), english);
    platform::UserDefaults::standard().setInteger("AppLanguage", 0);
    services::Language::setLanguage();
}

}  // namespace

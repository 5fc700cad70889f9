// Every text of the GIF maker fits its control in all nine languages, at the smallest size the
// home screen gives the window, in each of the three modes.
#include "platform/notification_center.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tools/gif/gif_view_controller.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Room a push button's frame and padding take around its text.
constexpr int kButtonChrome = 22;
constexpr int kRadioChrome = 26;

TEST(GifTexts, FitTheirControlsInEveryLanguage) {
    kestrel::test::TempDir dir;
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 1;
    kestrel::test::makeMedia(dir.file("a_rather_long_holiday_video_name.mp4"), spec);
    for (int language = 0; language < services::Language::kLanguageCount; ++language) {
        platform::UserDefaults::standard().setInteger("AppLanguage", language);
        services::Language::setLanguage();
        gif::GIFViewController view;
        view.setVideoPath(QString::fromStdString(dir.file("a_rather_long_holiday_video_name.mp4")));
        view.resize(1067, 622);  // 1500 x 875 scaled to a 1366 pixel wide screen
        view.show();
        QTest::qWait(50);
        for (QPushButton* tab : {view.videotoGifBtn, view.videotoJpgBtn, view.photostoGifBtn}) {
            tab->click();
            QApplication::processEvents();
            for (QAbstractButton* button : view.findChildren<QAbstractButton*>()) {
                if (!button->isVisible() || button->text().isEmpty()) continue;
                const int chrome = qobject_cast<QPushButton*>(button) ? kButtonChrome : kRadioChrome;
                EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + chrome, button->width())
                    << "language " << language << ": " << button->text().toStdString();
            }
            for (QLabel* label : view.findChildren<QLabel*>()) {
                if (!label->isVisible() || label->text().isEmpty() || label->wordWrap()) continue;
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                    << "language " << language << ": " << label->text().toStdString();
            }
        }
    }
    platform::UserDefaults::standard().setInteger("AppLanguage", 0);
    services::Language::setLanguage();
}

TEST(GifTexts, FollowALanguageChangeWhileOpen) {
    platform::UserDefaults::standard().setInteger("AppLanguage", 0);
    services::Language::setLanguage();
    gif::GIFViewController view;
    const QString english = view.exportBtn->text();
    platform::UserDefaults::standard().setInteger("AppLanguage", 4);  // German
    services::Language::setLanguage();
    platform::NotificationCenter::defaultCenter().post(platform::kChangeLanguageNotification);
    EXPECT_EQ(view.exportBtn->text(), services::localized("gif_miker_Export"));
    EXPECT_NE(view.exportBtn->text(), english);
    platform::UserDefaults::standard().setInteger("AppLanguage", 0);
    services::Language::setLanguage();
}

}  // namespace

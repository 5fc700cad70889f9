// The editor's subtitle panel, opened from its home tile, in every interface language: each
// row title ("Subtitle Color:" and the rest) shows whole (on two lines where one is not enough)
// and stays clear of the button or slider beside it; the music panel's volume value stays inside
// its panel.
#include "tests/app/app_test_helpers.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/text_fit.h"

#include "app/home_view_controller.h"
#include "app/home_window_controller.h"
#include "editor/music/music_panel.h"
#include "editor/subtitle/subtitle_panel.h"
#include "platform/user_defaults.h"
#include "services/language.h"

#include <QApplication>
#include <QLabel>
#include <cmath>
#include <gtest/gtest.h>

namespace kestrel::test {
namespace {

// The panels carry no meta-object of their own, so they are found by their C++ type.
template <typename Panel>
QList<Panel*> panelsIn(QWidget* window) {
    QList<Panel*> panels;
    for (QWidget* widget : window->findChildren<QWidget*>())
        if (auto* panel = dynamic_cast<Panel*>(widget)) panels.append(panel);
    return panels;
}

class SubtitlePanelTextFit : public ShellTest, public ::testing::WithParamInterface<int> {
protected:
    static void SetUpTestSuite() {
        media = new TempDir();
        makeMedia(media->file("clip.mp4"), FixtureSpec{.duration_s = 1.0, .width = 320, .height = 240});
    }
    static void TearDownTestSuite() {
        delete media;
        media = nullptr;
    }
    void SetUp() override {
        ShellTest::SetUp();
        ui = app::MainInterface();
        platform::UserDefaults::standard().setInteger(QStringLiteral("AppLanguage"), GetParam());
        services::Language::setLanguage();
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
        ui = app::loadMainInterface();
        QObject::connect(home(), &app::HomeViewController::toolOpened, home(),
                         [this](QObject* controller, QWidget* window) { opened.push_back({controller, window}); });
        answerPanelWith({QString::fromStdString(media->file("clip.mp4"))});
    }
    static TempDir* media;
};
TempDir* SubtitlePanelTextFit::media = nullptr;

TEST_P(SubtitlePanelTextFit, RowTitlesShowWhole) {
    const std::string language = services::Language::languageFolder(GetParam()).toStdString();
    pressTile(7);
    ASSERT_FALSE(opened.empty());
    QWidget* window = opened.back().window;
    ASSERT_NE(window, nullptr);
    pumpUntil([] { return false; }, 30);
    int checked = 0;
    for (editor::SubtitlePanel* panel : panelsIn<editor::SubtitlePanel>(window)) {
        if (!panel->isVisible()) continue;
        for (QLabel* label : panel->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->property("key").toString().isEmpty() || !label->isVisible()) continue;
            ++checked;
            const std::string where = language + ", \"" + label->text().toStdString() + "\"";
            const QRect box = label->contentsRect();
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << where << " is cut at the bottom";
                const QRect need = QFontMetrics(label->font()).boundingRect(box, Qt::TextWordWrap | label->alignment(), label->text());
                EXPECT_LE(need.width(), box.width()) << where << " has a word wider than its column";
            } else {
                EXPECT_LE(std::ceil(QFontMetricsF(label->font()).horizontalAdvance(label->text())), box.width()) << where;
            }
            for (QWidget* other : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (other != label && other->isVisible() && qobject_cast<QLabel*>(other) == nullptr)
                    EXPECT_FALSE(label->geometry().intersects(other->geometry()))
                        << where << " runs into " << other->metaObject()->className();
        }
    }
    EXPECT_GE(checked, 4) << language;
    window->close();
    pumpEvents();
}

TEST_P(SubtitlePanelTextFit, MusicVolumeValueStaysInsideThePanel) {
    const std::string language = services::Language::languageFolder(GetParam()).toStdString();
    pressTile(8);
    ASSERT_FALSE(opened.empty());
    QWidget* window = opened.back().window;
    ASSERT_NE(window, nullptr);
    pumpUntil([] { return false; }, 30);
    int checked = 0;
    for (editor::MusicPanel* panel : panelsIn<editor::MusicPanel>(window)) {
        if (!panel->isVisible()) continue;
        for (QLabel* label : panel->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (!label->text().endsWith('%') || !label->isVisible()) continue;
            ++checked;
            // The widest value it shows.
            const int needed = int(std::ceil(QFontMetricsF(label->font()).horizontalAdvance(QStringLiteral("100%"))));
            EXPECT_LE(needed, label->contentsRect().width()) << language;
            EXPECT_TRUE(panel->rect().contains(label->geometry())) << language << ", value at " << label->x() << "+"
                                                                   << label->width() << " in " << panel->width();
        }
    }
    EXPECT_GE(checked, 1) << language;
    window->close();
    pumpEvents();
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, SubtitlePanelTextFit, ::testing::Range(0, services::Language::kLanguageCount), languageParamName);

}  // namespace
}  // namespace kestrel::test

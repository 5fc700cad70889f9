// The collage's preview as a person uses it while it plays: edits (border width and colour,
// turn, mirror, pan, trim, filter) show in the playing preview, which goes on from where it
// was; the position slider seeks wherever it is clicked, in whole seconds; previous and next
// cell take the slider along; the full-screen button fills the screen and gives the window back
// its size; music without sound is refused when chosen, and "no music" switches the music off
// without forgetting it.
#include "session/preview/collage_preview.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/user_input.h"
#include "tests/tools_collage/collage_test_helpers.h"
#include "tools/collage/collage_cell_view.h"
#include "tools/collage/collage_filter_window.h"
#include "tools/collage/collage_trim_window.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace kestrel::test;
using namespace kestrel::tools::collage;

namespace {

// The preview plays and has gone on past `after` µs.
bool playsPast(CollageHarness& h, int64_t after) {
    return waitUntil([&] { return h.w().preview()->playing() && h.w().preview()->positionUs() > after; }, 20000);
}

QPoint cellCentre(CollageHarness& h, int i) { return h.w().cellViews()[i]->rect().center(); }

}  // namespace

TEST(CollageTransport, EditsShowInThePlayingPreview) {
    TempDir media;
    CollageHarness h;
    activate(h.window);
    h.fillCell(0, colourClip(media, "red", "red", 30.0));
    h.fillCell(1, colourPicture(media, "blue", "blue"));
    h.w().setColorChooser([](const QColor&) { return QColor(255, 0, 255); });
    click(h.w().playBtn);
    ASSERT_TRUE(playsPast(h, 200'000));

    struct Edit {
        const char* name;
        std::function<void()> act;
    };
    const Edit edits[] = {
        {"border width", [&] {
             const QPoint grip = sliderGrip(h.w().borderWidthSlider);
             drag(h.w().borderWidthSlider, grip, grip + QPoint(30, 0), 6);
         }},
        {"border colour", [&] { click(h.w().borderColorBtn); }},
        {"turn", [&] {
             clickAt(h.w().cellViews()[0], cellCentre(h, 0));
             click(h.w().rotateBtn);
         }},
        {"mirror", [&] { click(h.w().mirrorHorizontalBtn); }},
        {"pan", [&] { drag(h.w().cellViews()[0], cellCentre(h, 0), cellCentre(h, 0) + QPoint(40, 10), 8); }},
        {"trim", [&] {
             click(h.w().trimBtn);
             auto* trim = qobject_cast<CollageTrimWindow*>(h.w().openSubWindow());
             ASSERT_NE(trim, nullptr);
             click(trim->okBtn);
             ASSERT_TRUE(waitUntil([&] { return h.w().openSubWindow() == nullptr; }, 5000));
         }},
        {"filter", [&] {
             h.choose(h.w().filterBox, h.w().filterBox->count() - 1);
             auto* filters = qobject_cast<CollageFilterWindow*>(h.w().openSubWindow());
             ASSERT_NE(filters, nullptr);
             clickAt(filters->list->viewport(), filters->list->visualItemRect(filters->list->item(0)).center());
             click(filters->okBtn);
             ASSERT_TRUE(waitUntil([&] { return h.w().openSubWindow() == nullptr; }, 5000));
         }},
    };
    for (const Edit& edit : edits) {
        const int64_t before = h.w().preview()->positionUs();
        edit.act();
        // Not stopped, not back at the start: it goes on from where it was.
        EXPECT_TRUE(playsPast(h, before)) << edit.name << ": the preview stopped or went back (at "
                                          << h.w().preview()->positionUs() << " µs, was " << before << ")";
    }
    EXPECT_EQ(h.w().cellViews()[0]->cell.angle, 90);
    EXPECT_TRUE(h.w().cellViews()[0]->cell.mirrorHorizontal);
    EXPECT_EQ(h.w().borderColor(), QColor(255, 0, 255));
    EXPECT_GT(h.w().borderWidth(), 4.0f);
    EXPECT_EQ(h.w().filterBox->currentIndex(), 1);
}

TEST(CollageTransport, PositionSliderAndCellStepsSeek) {
    TempDir media;
    CollageHarness h;
    activate(h.window);
    h.fillCell(0, colourClip(media, "red", "red", 4.0));
    h.fillCell(1, colourClip(media, "blue", "blue", 6.0));
    click(h.w().sequentialBtn);
    ASSERT_EQ(h.w().preview()->totalUs(), 10'000'000);

    // A click on the slider's track at 75 % seeks there, to the whole second: 7 s of 10.
    auto* slider = h.w().positionSlider;
    clickAt(slider, QPoint(int(slider->width() * 0.75), slider->height() / 2));
    EXPECT_EQ(h.w().preview()->positionUs(), 7'000'000);
    EXPECT_TRUE(h.w().timeLabel->text().startsWith("00:00:07")) << h.w().timeLabel->text().toStdString();
    EXPECT_NEAR(slider->progress(), 0.75, 0.03);

    // Dragged, the preview shows whole seconds under the knob.
    drag(slider, visibleCentre(slider->tickMarkView(), slider), QPoint(int(slider->width() * 0.33), slider->height() / 2), 5);
    EXPECT_EQ(h.w().preview()->positionUs() % 1'000'000, 0);
    EXPECT_NEAR(h.w().preview()->positionUs(), 3'000'000, 1'000'000);

    // Next cell: the second cell's turn starts at 4 s, and the slider is there too.
    clickAt(h.w().cellViews()[0], cellCentre(h, 0));
    click(h.w().nextCellBtn);
    EXPECT_EQ(h.w().selectedCell(), 1);
    EXPECT_EQ(h.w().preview()->positionUs(), 4'000'000);
    EXPECT_NEAR(slider->progress(), 0.4, 1e-3);
    click(h.w().previousCellBtn);
    EXPECT_EQ(h.w().preview()->positionUs(), 0);
    EXPECT_NEAR(slider->progress(), 0.0, 1e-3);
}

TEST(CollageTransport, FullScreenFillsTheScreenAndGivesTheSizeBack) {
    CollageHarness h;
    // As the home screen presents it.
    h.w().setFixedSize(1370, 770);
    activate(h.window);
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    ASSERT_NE(screen, QSize(1370, 770));
    click(h.w().zoomBtn);
    EXPECT_TRUE(waitUntil([&] { return h.w().isFullScreen() && h.w().size() == screen; }, 5000))
        << h.w().width() << "x" << h.w().height();
    click(h.w().zoomBtn);
    EXPECT_TRUE(waitUntil([&] { return !h.w().isFullScreen() && h.w().size() == QSize(1370, 770); }, 5000))
        << h.w().width() << "x" << h.w().height();
    EXPECT_EQ(h.w().maximumSize(), QSize(1370, 770));
}

TEST(CollageTransport, MusicWithoutSoundIsRefusedAndNoMusicSwitchesItOff) {
    TempDir media;
    CollageHarness h;
    activate(h.window);
    h.fillCell(0, colourClip(media, "red", "red", 2.0));
    FixtureSpec silent;
    silent.duration_s = 2.0;
    silent.audio_streams = 0;
    const std::string mute = media.file("silent.mp4");
    makeMedia(mute, silent);
    h.panelAnswers << QString::fromStdString(mute);
    h.choose(h.w().musicBox, h.w().musicBox->count() - 1);
    ASSERT_EQ(h.alerts.size(), 1);
    EXPECT_TRUE(h.alerts.first().contains("silent.mp4")) << h.alerts.first().toStdString();
    EXPECT_FALSE(h.w().spec().music.has_value());
    EXPECT_EQ(h.w().musicBox->currentIndex(), 0);
    EXPECT_EQ(h.w().musicBox->count(), 2);  // none, add music: the silent file is not listed

    h.panelAnswers << QString::fromStdString(toneFile(media, "tone", 6.0));
    h.choose(h.w().musicBox, h.w().musicBox->count() - 1);
    ASSERT_TRUE(h.w().spec().music.has_value());
    h.w().setMusic(h.w().spec().music->path, 1'000'000, 2'000'000);
    // "No music" switches it off; the file stays listed, and chosen again it plays its part.
    h.choose(h.w().musicBox, 0);
    EXPECT_FALSE(h.w().spec().music.has_value());
    EXPECT_EQ(h.w().musicBox->count(), 3);
    EXPECT_FALSE(h.w().cutMusicBtn->isEnabled());
    h.choose(h.w().musicBox, 1);
    ASSERT_TRUE(h.w().spec().music.has_value());
    EXPECT_EQ(h.w().spec().music->sourceStart_us, 1'000'000);
    EXPECT_EQ(h.w().spec().music->sourceDuration_us, 2'000'000);
    EXPECT_TRUE(h.w().cutMusicBtn->isEnabled());
}

// The collage's two trim windows driven through their own controls: the cell trim window plays,
// stops, holds playback while its bar is pressed, mutes only the preview and hands back what its
// handles show; the music trim window sets its range at the play head, by reset and by typing,
// and repeats the selection while playing it.
#include "services/help_class.h"
#include "session/edit/collage_composition.h"
#include "tests/tools_collage/collage_test_helpers.h"
#include "tools/collage/collage_cell_view.h"
#include "tools/collage/collage_music_window.h"
#include "tools/collage/collage_trim_window.h"
#include "tools/collage/trim_player.h"
#include "tools/shared/time_field_group.h"
#include "widgets/zor_button.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kestrel::test;
using namespace kestrel::tools::collage;

namespace {

QString timeText(int64_t us) { return services::HelpClass::returnTimeToStr(double(us) / 1e6); }

// A click on the bar's track, off the handles: the play head goes there.
void clickTrack(kestrel::widgets::RDCutProgressView* bar, double share) {
    const QRect track = drawnTrack(bar);
    clickAt(bar, QPoint(track.x() + int(share * track.width()), track.center().y()));
}

}  // namespace

TEST(CollageTrimWindowTransport, PlayStopMuteAndTheDraggedRange) {
    TempDir media;
    CollageHarness h;
    h.fillCell(0, colourClip(media, "red", "red", 3.0));
    ASSERT_EQ(h.w().selectedCell(), 0);
    click(h.w().trimBtn);
    auto* trim = qobject_cast<CollageTrimWindow*>(h.w().openSubWindow());
    ASSERT_NE(trim, nullptr);
    ASSERT_NE(trim->player(), nullptr);
    ASSERT_TRUE(trim->player()->isOpen());
    EXPECT_EQ(trim->endTimeLabel->text(), timeText(3'000'000));
    EXPECT_EQ(trim->durationLabel->text(), timeText(3'000'000));
    EXPECT_FALSE(trim->stopBtn->isEnabled());

    // Play, then stop: back at the start, the play button plays again.
    click(trim->playBtn);
    ASSERT_TRUE(waitUntil([&] { return trim->player()->playing() && trim->trimBar->progress() > 0.1f; }, 20000));
    EXPECT_TRUE(trim->stopBtn->isEnabled());
    EXPECT_NE(trim->currentTimeLabel->text(), timeText(0));
    click(trim->stopBtn);
    EXPECT_FALSE(trim->player()->playing());
    EXPECT_LT(trim->player()->positionUs(), 50'000);
    EXPECT_FLOAT_EQ(trim->trimBar->progress(), 0.0f);
    EXPECT_EQ(trim->currentTimeLabel->text(), timeText(0));

    // A handle dragged while playing: held during the drag, playing again after it.
    click(trim->playBtn);
    ASSERT_TRUE(waitUntil([&] { return trim->player()->playing(); }, 20000));
    dragTrimPart(trim->trimBar, TrimPart::End, 0.8);
    EXPECT_TRUE(trim->player()->playing());
    EXPECT_NEAR(trim->endUs(), 2'400'000, 60'000);
    EXPECT_EQ(trim->durationLabel->text(), timeText(trim->endUs() - trim->startUs()));
    // The start handle cannot pass the end: the range keeps a tenth of a second.
    dragTrimPart(trim->trimBar, TrimPart::Start, 0.95);
    EXPECT_GE(trim->endUs() - trim->startUs(), 100'000);
    dragTrimPart(trim->trimBar, TrimPart::Start, 0.2);
    click(trim->playBtn);
    EXPECT_FALSE(trim->player()->playing());

    // Mute silences the preview only: OK hands back the loudness set before it.
    click(trim->volumeBtn);
    EXPECT_TRUE(trim->muted());
    EXPECT_FLOAT_EQ(trim->volumeSlider->progress(), 0.0f);
    const int64_t start = trim->startUs(), end = trim->endUs();
    EXPECT_NEAR(start, 600'000, 60'000);
    click(trim->okBtn);
    ASSERT_TRUE(waitUntil([&] { return h.w().openSubWindow() == nullptr; }, 5000));
    const auto& cell = h.w().cellViews()[0]->cell;
    EXPECT_EQ(cell.trimStart_us, start);
    EXPECT_EQ(cell.trimDuration_us, end - start);
    EXPECT_FLOAT_EQ(cell.volume, 1.0f);

    // Opened again, the window shows the cell's range; closing it changes nothing.
    click(h.w().trimBtn);
    trim = qobject_cast<CollageTrimWindow*>(h.w().openSubWindow());
    ASSERT_NE(trim, nullptr);
    EXPECT_EQ(trim->startUs(), start);
    EXPECT_EQ(trim->endUs(), end);
    EXPECT_NEAR(drawnValue(trim->trimBar, TrimPart::Start), double(start) / 3e6, 0.03);
    dragTrimPart(trim->trimBar, TrimPart::Start, 0.0);
    ASSERT_TRUE(closeWindow(trim));
    EXPECT_EQ(h.w().cellViews()[0]->cell.trimStart_us, start);
}

TEST(CollageMusicWindowTransport, RangeAtThePlayHeadResetTypedAndLooped) {
    TempDir media;
    CollageHarness h;
    h.fillCell(0, colourClip(media, "red", "red", 2.0));
    h.panelAnswers << QString::fromStdString(toneFile(media, "tone", 6.0));
    h.choose(h.w().musicBox, h.w().musicBox->count() - 1);
    ASSERT_TRUE(h.w().cutMusicBtn->isEnabled());
    click(h.w().cutMusicBtn);
    auto* window = qobject_cast<CollageMusicWindow*>(h.w().openSubWindow());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->player()->isOpen());
    EXPECT_NEAR(window->lengthUs(), 6'000'000, 100'000);
    EXPECT_EQ(window->endFields->timeUs(), window->endUs());

    // The play head put at 3 s by a click on the track; set end there.
    clickTrack(window->rangeBar, 0.5);
    EXPECT_NEAR(window->player()->positionUs(), 3'000'000, 150'000);
    click(window->endDoneBtn);
    EXPECT_EQ(window->endUs(), window->player()->positionUs());
    EXPECT_EQ(window->endFields->timeUs() / 1000, window->endUs() / 1000);
    EXPECT_EQ(window->durationLabel->text(), timeText(window->endUs() - window->startUs()));
    // Set start within 2 % of the end: the end goes to the file's end.
    click(window->startDoneBtn);
    EXPECT_EQ(window->startUs(), window->player()->positionUs());
    EXPECT_EQ(window->endUs(), window->lengthUs());
    // Reset start: back to the file's start.
    click(window->resetStartBtn);
    EXPECT_EQ(window->startUs(), 0);
    EXPECT_EQ(window->startFields->timeUs(), 0);

    // Typed times, committed by moving on.
    typeInto(window->startFields->fields[2], QStringLiteral("01"), Commit::Tab);
    typeInto(window->endFields->fields[2], QStringLiteral("02"), Commit::Tab);
    typeInto(window->endFields->fields[3], QStringLiteral("000"), Commit::Tab);
    EXPECT_EQ(window->startUs(), 1'000'000);
    EXPECT_EQ(window->endUs(), 2'000'000);
    // An end typed before the start is kept a tenth of a second after it.
    typeInto(window->endFields->fields[2], QStringLiteral("00"), Commit::Tab);
    EXPECT_EQ(window->endUs(), 1'100'000);
    EXPECT_EQ(window->endFields->timeUs(), 1'100'000);
    typeInto(window->endFields->fields[2], QStringLiteral("02"), Commit::Tab);
    typeInto(window->endFields->fields[3], QStringLiteral("000"), Commit::Tab);
    ASSERT_EQ(window->endUs(), 2'000'000);

    // Play the selection: it starts at 1 s and comes back to it after 2 s.
    click(window->playSelectedBtn);
    ASSERT_TRUE(waitUntil([&] { return window->loopingSelection(); }, 20000));
    EXPECT_TRUE(window->stopBtn->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return window->player()->positionUs() > 1'700'000; }, 20000));
    ASSERT_TRUE(waitUntil([&] { return window->player()->positionUs() < 1'500'000; }, 20000))
        << "the selection did not repeat";
    EXPECT_GE(window->player()->positionUs(), 1'000'000 - 100'000);
    click(window->stopBtn);
    EXPECT_FALSE(window->player()->playing());
    EXPECT_LT(window->player()->positionUs(), 50'000);

    // Mute and reset end; OK hands back the range.
    click(window->volumeBtn);
    EXPECT_FLOAT_EQ(window->volumeSlider->progress(), 0.0f);
    click(window->resetEndBtn);
    EXPECT_EQ(window->endUs(), window->lengthUs());
    typeInto(window->endFields->fields[2], QStringLiteral("04"), Commit::Tab);
    click(window->okBtn);
    ASSERT_TRUE(waitUntil([&] { return h.w().openSubWindow() == nullptr; }, 5000));
    const auto spec = h.w().spec();
    ASSERT_TRUE(spec.music.has_value());
    EXPECT_EQ(spec.music->sourceStart_us, 1'000'000);
    EXPECT_EQ(spec.music->sourceDuration_us, 3'000'000);
}

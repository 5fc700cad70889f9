// The splitter's preview transport, driven as a person does: the play button toggles play and
// pause, Stop ends playback at the start, a press on the bar pauses a playing preview until it
// is released there, and the mute button and the volume slider set the preview's volume.
#include <gtest/gtest.h>

#include <QLabel>

#include "tests/support/user_input.h"
#include "tests/tools_splitter/split_test_helpers.h"
#include "tools/splitter/split_progress_view.h"
#include "tools/splitter/split_window_controller.h"
#include "widgets/rd_progress_slider.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

using kestrel::tools::splitter::SplitWindowController;

std::unique_ptr<SplitWindowController> openWindow() {
    auto window = std::make_unique<SplitWindowController>();
    window->setFilePath(QString::fromStdString(twentySecondClip()));
    window->show();
    activate(window.get());
    EXPECT_NE(window->fileData(), nullptr);
    return window;
}

TEST(SplitTransport, PlayPauseAndStopFollowThePlayer) {
    auto window = openWindow();
    EXPECT_FALSE(window->playing());
    EXPECT_FALSE(window->pauseBtn->isEnabled());
    click(window->playBtn);
    EXPECT_TRUE(window->playing());
    EXPECT_TRUE(window->playBtn->selected());
    EXPECT_TRUE(window->pauseBtn->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return window->positionSeconds() > 0.5; }, 20000));
    click(window->playBtn);  // pause
    EXPECT_FALSE(window->playing());
    EXPECT_FALSE(window->playBtn->selected());
    EXPECT_GT(window->positionSeconds(), 0.4);

    click(window->playBtn);
    ASSERT_TRUE(window->playing());
    click(window->pauseBtn);  // Stop: back to the start
    EXPECT_FALSE(window->playing());
    EXPECT_NEAR(window->positionSeconds(), 0.0, 0.05);
    EXPECT_EQ(window->playerSlider->progress(), 0.0f);
    EXPECT_EQ(window->playerCurrentTimeLabel->text(), QStringLiteral("00:00:00.000"));
    EXPECT_FALSE(window->pauseBtn->isEnabled());
}

TEST(SplitTransport, APressOnTheBarPausesUntilItIsReleased) {
    auto window = openWindow();
    click(window->playBtn);
    ASSERT_TRUE(window->playing());
    QWidget* slider = window->playerSlider->slider();
    const QPoint from(slider->width() / 2, slider->height() / 2);
    const QPoint to = from + QPoint(slider->width() / 10, 0);
    pressAt(slider, from);
    EXPECT_FALSE(window->playing());
    moveTo(slider, to);
    EXPECT_FALSE(window->playing());
    releaseAt(slider, to);
    EXPECT_TRUE(window->playing());
    // Playback goes on from where the bar was let go (six tenths of 20 s).
    EXPECT_NEAR(window->positionSeconds(), 12.0, 1.0);
    EXPECT_TRUE(window->playBtn->selected());
    click(window->playBtn);

    // A press while paused only moves the play head.
    pressAt(slider, from);
    releaseAt(slider, from);
    EXPECT_FALSE(window->playing());
    EXPECT_NEAR(window->positionSeconds(), 10.0, 0.5);
}

TEST(SplitTransport, MuteAndVolume) {
    auto window = openWindow();
    auto* slider = window->volumeSlider;
    EXPECT_FLOAT_EQ(slider->progress(), 0.5f);  // volume 1.0 in the middle of 0..2
    drag(slider, QPoint(slider->width() / 2, slider->height() / 2), QPoint(slider->width() * 3 / 4, slider->height() / 2), 5);
    EXPECT_NEAR(window->fileData()->volume, 1.5, 0.15);
    click(window->volumeBtn);
    EXPECT_TRUE(window->muted());
    EXPECT_TRUE(window->volumeBtn->selected());
    EXPECT_EQ(slider->progress(), 0.0f);
    click(window->volumeBtn);
    EXPECT_FALSE(window->muted());
    EXPECT_DOUBLE_EQ(window->fileData()->volume, 1.0);
    EXPECT_FLOAT_EQ(slider->progress(), 0.5f);
}

}  // namespace
}  // namespace kestrel::test

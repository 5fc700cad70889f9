// Face beauty's cut range set as a person sets it (the start field clicked first, the bar
// clicked to move the play head, Set start and Set end pressed) exports exactly the source
// frames between the two, at the source's 30 frames a second: with every face value at 0 the
// tool changes nothing else, so each frame is judged against the source frame it must show.
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/beauty/beauty_window_controller.h"
#include "tools/shared/clip_time_fields.h"
#include "widgets/zor_button.h"

#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kestrel::test;
using beauty::BeautyWindowController;

namespace {

void clickBarAt(BeautyWindowController& w, double fraction) {
    const QRect track = drawnTrack(w.cutBar);
    clickAt(w.cutBar, QPoint(track.left() + int(std::lround(fraction * track.width())), track.center().y()));
}

TEST(BeautyRange, SetAtThePlayHeadExportsTheFramesBetween) {
    TempDir dir;
    const std::string clip = dir.file("clip.mp4");
    FixtureSpec spec;
    spec.duration_s = 4.0;
    spec.frame_rate = "30";
    spec.gop = 15;
    makeMedia(clip, spec);
    BeautyWindowController w;
    w.setVideoPath(QString::fromStdString(clip));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    activate(&w);
    // The start field holds the focus when the buttons are pressed.
    click(w.startTime->fields[2]);
    clickBarAt(w, 0.75);
    const int64_t endAt = w.preview().positionUs();
    click(w.setEndBtn);
    click(w.startTime->fields[2]);
    clickBarAt(w, 0.25);
    const int64_t startAt = w.preview().positionUs();
    click(w.setStartBtn);
    ASSERT_NEAR(double(startAt), 1e6, 2e5);
    ASSERT_NEAR(double(endAt), 3e6, 2e5);
    ASSERT_EQ(w.startUs(), startAt);
    ASSERT_EQ(w.endUs(), endAt);

    const std::string folder = dir.file("out");
    // Once the export button's dialog shows: the folder, Start, the end of the export.
    bool boxesHidden = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &w, [&] {
        exportkit::ExportWindowController* dialog = w.exportDialog();
        if (!dialog || !dialog->isVisible()) return;
        poll.stop();
        // The engine renders with fixed settings: no re-encode or graphics-processor choice.
        boxesHidden = dialog->reEncodingBtn->isHidden() && dialog->enableGpuBtn->isHidden();
        dialog->setOutputPath(QString::fromStdString(folder));
        QSignalSpy ended(&w, &BeautyWindowController::exportEnded);
        click(dialog->startBtn);
        EXPECT_TRUE(waitUntil([&] { return !ended.isEmpty(); }));
        dialog->close();
    });
    poll.start();
    click(w.exportBtn);
    EXPECT_TRUE(boxesHidden);
    const QStringList written = QDir(QString::fromStdString(folder)).entryList(QDir::Files);
    ASSERT_EQ(written.size(), 1);
    const std::string out = folder + "/" + written.first().toStdString();
    EXPECT_TRUE(decodesCleanly(out));
    const int first = int(w.startUs() * 30 / 1'000'000);
    const int end = int((w.endUs() * 30 + 999'999) / 1'000'000);
    const FrameMapping mapping = mapFrames(out, clip);
    EXPECT_TRUE(showsSourceFrames(mapping, first, end)) << mapping.describe();
    EXPECT_TRUE(framesMatch(out, framesOf(clip, first, end)));
    EXPECT_TRUE(closeWindow(&w));
}

}  // namespace

// The range bar of the single-clip frame (the 3D converter's, and face beauty's, which is the
// same frame) driven with the mouse: the range typed into the fields, then only the end handle
// dragged in several moves. The start stays where it was typed; the end goes where the handle
// was let go.
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/converter3d/ui3d_converter_window_controller.h"
#include "tools/shared/clip_time_fields.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace kestrel::test;
using converter3d::UI3DConverterWindowController;

namespace {

TEST(Converter3DRangeBar, DraggingTheEndHandleMovesOnlyTheEnd) {
    TempDir dir;
    const std::string clip = dir.file("minute.mp4");
    FixtureSpec spec;
    spec.duration_s = 60;
    spec.frame_rate = "25";
    makeMedia(clip, spec);
    UI3DConverterWindowController w;
    w.setVideoPath(QString::fromStdString(clip));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const int64_t total = w.preview().info().duration_us;
    ASSERT_GT(total, 59'000'000);

    typeInto(w.startTime->fields[2], QStringLiteral("30"), Commit::Return);
    // 00:01:00.000 to 00:00:54.000: minutes, Tab, seconds, Return, as one time.
    typeInto(w.endTime->fields[1], QStringLiteral("00"), Commit::Tab);
    typeInto(w.endTime->fields[2], QStringLiteral("54"), Commit::Return);
    ASSERT_EQ(w.startUs(), 30'000'000);
    ASSERT_EQ(w.endUs(), 54'000'000);

    // Qt draws the handle and the track on whole pixels, so where the end handle is drawn says
    // the end only to within one pixel of the track.
    kestrel::widgets::RDCutProgressView* bar = w.cutBar;
    const double usPerPixel = double(total) / drawnTrack(bar).width();
    ASSERT_LT(usPerPixel, 200'000) << "the bar is too narrow to place an end";
    // The bar carries fractions of the clip in single precision: a start read back from it is
    // exact to a few parts in 2^24 of the clip's length (some microseconds), never a pixel off.
    const double singlePrecisionUs = double(total) * 4.0 / (1 << 24);
    for (int gesture = 1; gesture <= 2; ++gesture) {
        const QPoint grip = trimGrip(bar, TrimPart::End);
        const int64_t endBefore = w.endUs();
        drag(bar, grip, grip - QPoint(40, 0), 10);
        EXPECT_NEAR(double(w.startUs()), 30'000'000.0, singlePrecisionUs) << "drag " << gesture;
        EXPECT_EQ(w.startTime->shownUs(), 30'000'000) << "drag " << gesture;
        EXPECT_NEAR(double(w.endUs()), drawnValue(bar, TrimPart::End) * double(total), usPerPixel) << "drag " << gesture;
        EXPECT_NEAR(double(w.endUs()), double(endBefore) - 40 * usPerPixel, usPerPixel) << "drag " << gesture;
    }
    EXPECT_TRUE(closeWindow(&w));
}

}  // namespace

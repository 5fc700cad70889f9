// The cutters' range bar driven with the mouse, in the batch cutter whose records the cut reads:
// the range typed into the time boxes, then only the end handle dragged in several moves, twice.
// The stored start stays where it was typed; the end goes where the handle was let go.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/cutter/batch_cutter_window_controller.h"
#include "tools/cutter/cut_range_panel.h"
#include "tools/cutter/time_box.h"
#include "tools/shared/clip_list_cell.h"
#include "tools/shared/clip_list_view.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/zor_button.h"

using kestrel::tools::cutter::BatchCutterWindowController;
using namespace kestrel::test;

namespace {

TEST(CutRangeBar, DraggingTheEndHandleMovesOnlyTheStoredEnd) {
    TempDir dir;
    const std::string clip = dir.file("minute.mp4");
    FixtureSpec spec;
    spec.duration_s = 60;
    spec.frame_rate = "25";
    makeMedia(clip, spec);
    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest&) {
        return QStringList{QString::fromStdString(clip)};
    });
    auto window = std::make_unique<BatchCutterWindowController>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    click(window->addFileButton());
    ASSERT_EQ(window->fileList().size(), 1);
    clickAt(window->fileListTableView()->cell(0), QPoint(5, 5));
    kestrel::tools::cutter::CutRangePanel* panel = window->rangePanel();
    ASSERT_TRUE(waitUntil([&] { return panel->hasFile() && window->fileListTableView()->selectedRow() == 0; }));

    typeInto(panel->startBox()->field(2), QStringLiteral("30"), Commit::Tab);
    // The whole minute shows as 00:01:00.00, so the end is typed field by field: the minutes
    // first (the end then waits a hundredth after the start), the seconds, the hundredths.
    typeInto(panel->stopBox()->field(1), QStringLiteral("00"), Commit::Tab);
    typeInto(panel->stopBox()->field(2), QStringLiteral("50"), Commit::Tab);
    typeInto(panel->stopBox()->field(3), QStringLiteral("00"), Commit::Tab);
    const auto record = window->fileList()[0];
    ASSERT_EQ(record->cutTimeRange_start, 30'000'000);
    ASSERT_EQ(record->cutTimeRange_stop, 50'000'000);

    // Qt draws the handle and the track on whole pixels, so where the end handle is drawn says
    // the end only to within one pixel of the track.
    kestrel::widgets::RDCutProgressView* bar = panel->cutBar();
    const double total = double(panel->durationUs());
    const double usPerPixel = total / drawnTrack(bar).width();
    ASSERT_LT(usPerPixel, 200'000) << "the bar is too narrow to place an end";
    // The bar carries fractions of the clip in single precision: a start read back from it is
    // exact to a few parts in 2^24 of the clip's length (some microseconds), never a pixel off.
    const double singlePrecisionUs = total * 4.0 / (1 << 24);
    for (int gesture = 1; gesture <= 2; ++gesture) {
        const QPoint grip = trimGrip(bar, TrimPart::End);
        const int64_t endBefore = record->cutTimeRange_stop;
        drag(bar, grip, grip - QPoint(30, 0), 8);
        EXPECT_NEAR(double(record->cutTimeRange_start), 30'000'000.0, singlePrecisionUs) << "drag " << gesture;
        EXPECT_EQ(panel->startBox()->field(2)->text().toStdString(), "30") << "drag " << gesture;
        EXPECT_EQ(panel->startBox()->field(3)->text().toStdString(), "00") << "drag " << gesture;
        EXPECT_EQ(record->cutTimeRange_stop, panel->stopUs()) << "drag " << gesture;
        EXPECT_NEAR(double(record->cutTimeRange_stop), drawnValue(bar, TrimPart::End) * total, usPerPixel)
            << "drag " << gesture;
        EXPECT_NEAR(double(record->cutTimeRange_stop), double(endBefore) - 30 * usPerPixel, usPerPixel)
            << "drag " << gesture;
    }
    EXPECT_TRUE(closeWindow(window.get()));
    window.reset();
    kestrel::widgets::setOpenPanelRunner({});
}

}  // namespace

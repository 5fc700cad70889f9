// The joiner's range bar driven with the mouse: a start typed into the selected clip's fields,
// then only the end handle dragged in several moves. The clip's record keeps the start the
// fields show, and its end goes where the handle was let go.
#include <gtest/gtest.h>

#include <QTest>

#include "tests/support/media_fixtures.h"
#include "tests/support/user_input.h"
#include "tests/tools_joiner/joiner_window_helpers.h"
#include "tools/joiner/joiner_time_fields.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/rd_text_field.h"

using namespace kestrel::test;
using kestrel::tools::joiner::TimeFields;

namespace {

TimeFields shown(const std::array<kestrel::widgets::RDTextField*, 4>& fields) {
    return {fields[0]->text().toInt(), fields[1]->text().toInt(), fields[2]->text().toInt(), fields[3]->text().toInt()};
}

void expectShows(const std::array<kestrel::widgets::RDTextField*, 4>& fields, int64_t stored_us, const char* what) {
    const TimeFields want = kestrel::tools::joiner::splitTime(double(stored_us) / 1e6);
    const TimeFields got = shown(fields);
    EXPECT_TRUE(want.hours == got.hours && want.minutes == got.minutes && want.seconds == got.seconds &&
                want.hundredths == got.hundredths)
        << what << ": stored " << stored_us << " us, the fields show " << got.hours << ":" << got.minutes << ":"
        << got.seconds << "." << got.hundredths;
}

TEST(JoinerRangeBar, DraggingTheEndHandleKeepsTheStartTheFieldsShow) {
    JoinerWindowHarness h;
    const QString clip = h.file("minute.mp4");
    FixtureSpec spec;
    spec.duration_s = 60;
    spec.frame_rate = "25";
    makeMedia(clip.toStdString(), spec);
    h.addThroughPanel({clip});
    auto& w = h.window();
    ASSERT_EQ(w.fileList().size(), 1);
    h.selectRow(0);
    const auto record = w.fileList()[0];

    typeInto(w.startFields()[2], QStringLiteral("20"), Commit::Tab);
    ASSERT_TRUE(h.alerts.isEmpty());
    ASSERT_EQ(record->cutTimeRange_start, 20'000'000);

    // Qt draws the handle and the track on whole pixels, so where the end handle is drawn says
    // the end only to within one pixel of the track.
    kestrel::widgets::RDCutProgressView* bar = w.cutProgressView();
    const double total = record->sourceData.duration * 1e6;
    const double usPerPixel = total / drawnTrack(bar).width();
    ASSERT_LT(usPerPixel, 200'000) << "the bar is too narrow to place an end";
    // The bar carries fractions of the clip in single precision: a start read back from it is
    // exact to a few parts in 2^24 of the clip's length (some microseconds), never a pixel off.
    const double singlePrecisionUs = total * 4.0 / (1 << 24);
    const QPoint grip = trimGrip(bar, TrimPart::End);
    const int64_t endBefore = record->cutTimeRange_stop;
    drag(bar, grip, grip - QPoint(60, 0), 12);

    EXPECT_NEAR(double(record->cutTimeRange_start), 20'000'000.0, singlePrecisionUs);
    expectShows(w.startFields(), record->cutTimeRange_start, "start");
    expectShows(w.stopFields(), record->cutTimeRange_stop, "end");
    EXPECT_NEAR(double(record->cutTimeRange_stop), drawnValue(bar, TrimPart::End) * total, usPerPixel);
    EXPECT_NEAR(double(record->cutTimeRange_stop), double(endBefore) - 60 * usPerPixel, usPerPixel);
    EXPECT_TRUE(h.alerts.isEmpty());
}

}  // namespace

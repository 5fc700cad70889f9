#include <gtest/gtest.h>

#include "tools/splitter/split_points.h"
#include "tools/splitter/split_progress_view.h"

namespace kestrel::tools::splitter {
namespace {

TEST(SplitPoints, ModesGiveTheirFractions) {
    const QList<double> time = pointsForLength(3, 10);
    ASSERT_EQ(time.size(), 3);
    EXPECT_NEAR(time[2], 0.9, 1e-9);
    EXPECT_TRUE(pointsForLength(12, 10).isEmpty());  // a length past the end makes no point
    EXPECT_EQ(pointsForEqualParts(5).size(), 4);
    EXPECT_EQ(pointsForEqualParts(2.5), (QList<double>{0.4, 0.8}));
    EXPECT_TRUE(pointsForEqualParts(1).isEmpty());
    EXPECT_EQ(timeListValues(120), (QList<int>{5, 10, 20, 30, 60}));
    EXPECT_EQ(timeListValues(10), (QList<int>{3, 5, 10, 20, 30, 60}));
    EXPECT_DOUBLE_EQ(firstNumber(QStringLiteral("2.5  MB")), 2.5);
}

// Computed points are all kept, however close; a point placed by hand at the knob is refused
// where its marker would fall on an existing one.
TEST(SplitProgressView, KeepsComputedPointsAndRefusesOnlyHandPlacedOverlaps) {
    SplitProgressView bar;
    bar.resize(600, 56);
    for (float v : {0.6f, 0.2f, 0.4f}) EXPECT_TRUE(bar.addSplitItemTime(v));
    EXPECT_EQ(bar.selectedSplitIndex(), 1);
    EXPECT_TRUE(bar.addSplitItemTime(0.405f));
    EXPECT_FALSE(bar.addSplitItemTime(0.405f));  // the same point is not there twice
    EXPECT_EQ(bar.getTimeProgresses(), (QList<float>{0.2f, 0.4f, 0.405f, 0.6f, 1.0f}));
    bar.setProgress(0.601f);  // the knob on the marker at 0.6
    EXPECT_FALSE(bar.addSplitItemTime());
    bar.setProgress(0.8f);
    EXPECT_TRUE(bar.addSplitItemTime());
    EXPECT_EQ(bar.selectedSplitIndex(), 4);
    bar.removeSplitItemTAtIndex(2);
    EXPECT_EQ(bar.getTimeProgresses(), (QList<float>{0.2f, 0.4f, 0.6f, 0.8f, 1.0f}));
    bar.removeAllSplitItem();
    EXPECT_EQ(bar.getTimeProgresses(), (QList<float>{1.0f}));
}

}  // namespace
}  // namespace kestrel::tools::splitter

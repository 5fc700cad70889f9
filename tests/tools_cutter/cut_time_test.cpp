// The cutters' time arithmetic: time fields both ways and a range carried to other files.
#include <gtest/gtest.h>

#include "tools/cutter/cut_time.h"

using namespace kestrel::tools::cutter;

TEST(CutTime, FieldsSplitAndReadBack) {
    const TimeFields f = splitTime(12.345, 2);
    EXPECT_EQ(f.hours, 0);
    EXPECT_EQ(f.seconds, 12);
    EXPECT_EQ(f.fraction, 34);
    EXPECT_EQ(fieldsToUs(f, 2), 12'340'000);
    const TimeFields g = splitTime(3725.5, 3);
    EXPECT_EQ(g.hours, 1);
    EXPECT_EQ(g.minutes, 2);
    EXPECT_EQ(g.seconds, 5);
    EXPECT_EQ(g.fraction, 500);
    EXPECT_EQ(fieldsToUs(g, 3), 3'725'500'000);
    // Fields are never wrapped when read: 60 seconds is a minute.
    EXPECT_EQ(fieldsToUs({0, 0, 60, 0}, 2), 60'000'000);
}

TEST(CutTime, RangeAppliedToOtherFiles) {
    struct Case {
        double d;
        RangeUs expected;
    };
    // A range of 10-20 s carried to files of several lengths.
    for (const Case& c : std::initializer_list<Case>{{30, {10'000'000, 20'000'000}},
                                                     {15, {5'000'000, 15'000'000}},
                                                     {8, {0, 8'000'000}},
                                                     {10, {0, 10'000'000}}})
        EXPECT_EQ(rangeAppliedTo(10, 20, c.d), c.expected) << c.d;
}

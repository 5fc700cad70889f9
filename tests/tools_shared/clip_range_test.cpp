// The cut range rules of the single-clip tools, as arithmetic: never empty, inside the clip,
// and the 2 % snap of Set start and Set end.
#include "tools/shared/clip_range.h"

#include <gtest/gtest.h>

using namespace kestrel::tools::shared;

namespace {

constexpr int64_t kTotal = 10'000'000;

struct Move {
    const char* what;
    ClipRange before;
    ClipRange (*move)(ClipRange, int64_t, int64_t);
    int64_t to, total;
    ClipRange after;
};

void PrintTo(const Move& m, std::ostream* os) { *os << m.what; }

class ClipRangeRules : public ::testing::TestWithParam<Move> {};

TEST_P(ClipRangeRules, KeepsARange) {
    const Move& m = GetParam();
    const ClipRange got = m.move(m.before, m.to, m.total);
    EXPECT_EQ(got.start_us, m.after.start_us) << m.what;
    EXPECT_EQ(got.end_us, m.after.end_us) << m.what;
}

INSTANTIATE_TEST_SUITE_P(
    Moves, ClipRangeRules,
    ::testing::Values(Move{"start inside", {0, kTotal}, withStart, 3'000'000, kTotal, {3'000'000, kTotal}},
                      Move{"start onto the end stops short", {0, 5'000'000}, withStart, 5'000'000, kTotal, {4'900'000, 5'000'000}},
                      Move{"start below zero", {2'000'000, 5'000'000}, withStart, -7, kTotal, {0, 5'000'000}},
                      Move{"end onto the start stops short", {2'000'000, 5'000'000}, withEnd, 1'000'000, kTotal, {2'000'000, 2'100'000}},
                      Move{"end past the clip", {2'000'000, 5'000'000}, withEnd, 12'000'000, kTotal, {2'000'000, kTotal}},
                      Move{"end at zero", {0, kTotal}, withEnd, 0, kTotal, {0, 100'000}},
                      Move{"a clip shorter than the least range is taken whole", {0, 0}, withEnd, 0, 60'000, {0, 60'000}},
                      Move{"set start well before the end", {0, 8'000'000}, startAtPlayHead, 3'000'000, kTotal, {3'000'000, 8'000'000}},
                      Move{"set start within 2 % of the end", {0, 8'000'000}, startAtPlayHead, 7'900'000, kTotal, {7'900'000, kTotal}},
                      Move{"set start past the end", {0, 2'000'000}, startAtPlayHead, 6'000'000, kTotal, {6'000'000, kTotal}},
                      Move{"set start at the clip's end", {0, kTotal}, startAtPlayHead, kTotal, kTotal, {9'900'000, kTotal}},
                      Move{"set end well after the start", {2'000'000, kTotal}, endAtPlayHead, 6'000'000, kTotal, {2'000'000, 6'000'000}},
                      Move{"set end within 2 % of the start", {2'000'000, kTotal}, endAtPlayHead, 2'100'000, kTotal, {0, 2'100'000}},
                      Move{"set end before the start", {5'000'000, kTotal}, endAtPlayHead, 1'000'000, kTotal, {0, 1'000'000}},
                      Move{"set end at zero", {0, kTotal}, endAtPlayHead, 0, kTotal, {0, 100'000}}));

}  // namespace

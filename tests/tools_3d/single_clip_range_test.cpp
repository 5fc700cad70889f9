// The cut range of the single-clip frame (the 3D converter's and face beauty's) as a person sets
// it: the bar clicked to move the play head, Set start and Set end pressed, times typed into the
// four fields and left, the handles dragged. Whatever the order, the range is never empty, lies
// inside the clip and is drawn where it is; Set start past the end takes the rest of the clip,
// Set end before the start the clip from its beginning. (tests/tools_beauty exports such a range
// and judges its frames.)
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/converter3d/ui3d_converter_window_controller.h"
#include "tools/shared/clip_time_fields.h"
#include "widgets/zor_button.h"

#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace kestrel::test;
using converter3d::UI3DConverterWindowController;

namespace {

constexpr int64_t kTotal = 4'000'000;

// The play head moved by a click on the bar at a fraction of its drawn track.
void clickBarAt(UI3DConverterWindowController& w, double fraction) {
    const QRect track = drawnTrack(w.cutBar);
    clickAt(w.cutBar, QPoint(track.left() + int(std::lround(fraction * track.width())), track.center().y()));
}

// Where the play head was when Set start or Set end was pressed last (the bar places the play
// head by its own rule; the range follows the play head, wherever a click put it).
double g_playHead_s = -1;
constexpr double kPlayHead = -1;

void pressAtPlayHead(UI3DConverterWindowController& w, QWidget* button) {
    g_playHead_s = w.preview().positionUs() / 1e6;
    click(button);
}

struct RangeCase {
    const char* name;
    std::function<void(UI3DConverterWindowController&)> steps;
    double start_s, end_s;   // the range wanted (kPlayHead: the play head), within a pixel of the bar
};

void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.name; }

class SingleClipRange : public ::testing::TestWithParam<RangeCase> {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        clip_ = dir_->file("clip.mp4");
        FixtureSpec spec;
        spec.duration_s = 4.0;
        spec.frame_rate = "30";
        spec.gop = 15;
        makeMedia(clip_, spec);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static TempDir* dir_;
    static std::string clip_;
};

TempDir* SingleClipRange::dir_ = nullptr;
std::string SingleClipRange::clip_;

TEST_P(SingleClipRange, IsNeverEmptyAndShowsOnTheBar) {
    const RangeCase& c = GetParam();
    UI3DConverterWindowController w;
    w.setVideoPath(QString::fromStdString(clip_));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    activate(&w);
    const int64_t total = w.preview().info().duration_us;
    ASSERT_NEAR(double(total), double(kTotal), 50'000);

    g_playHead_s = -1;
    c.steps(w);
    const double start_s = c.start_s == kPlayHead ? g_playHead_s : c.start_s;
    const double end_s = c.end_s == kPlayHead ? g_playHead_s : c.end_s;
    ASSERT_GE(start_s, 0) << c.name;
    ASSERT_GE(end_s, 0) << c.name;

    const double usPerPixel = double(total) / drawnTrack(w.cutBar).width();
    EXPECT_GE(w.endUs() - w.startUs(), 100'000) << c.name << ": the range is empty";
    EXPECT_NEAR(double(w.startUs()), start_s * 1e6, 1) << c.name;
    EXPECT_NEAR(double(w.endUs()), end_s * 1e6, 1) << c.name;
    // The fields and the bar show the range in use.
    EXPECT_EQ(w.startTime->shownUs(), w.startUs() / 1000 * 1000) << c.name;
    EXPECT_EQ(w.endTime->shownUs(), w.endUs() / 1000 * 1000) << c.name;
    EXPECT_NEAR(drawnValue(w.cutBar, TrimPart::Start) * total, double(w.startUs()), usPerPixel + 1) << c.name;
    EXPECT_NEAR(drawnValue(w.cutBar, TrimPart::End) * total, double(w.endUs()), usPerPixel + 1) << c.name;
    EXPECT_TRUE(closeWindow(&w));
}

const RangeCase kCases[] = {
    {"Set end right after opening",
     [](UI3DConverterWindowController& w) { click(w.setEndBtn); },
     0.0, 0.1},
    {"start field clicked, bar clicked in the middle, Set end",
     [](UI3DConverterWindowController& w) {
         click(w.startTime->fields[2]);
         clickBarAt(w, 0.5);
         pressAtPlayHead(w, w.setEndBtn);
         EXPECT_NEAR(g_playHead_s, 2.0, 0.2);
     },
     0.0, kPlayHead},
    {"end typed, bar clicked at a quarter, Set start",
     [](UI3DConverterWindowController& w) {
         typeInto(w.endTime->fields[2], QStringLiteral("03"), Commit::Return);
         clickBarAt(w, 0.25);
         pressAtPlayHead(w, w.setStartBtn);
     },
     kPlayHead, 3.0},
    {"end typed, Set start past the end takes the rest",
     [](UI3DConverterWindowController& w) {
         typeInto(w.endTime->fields[2], QStringLiteral("02"), Commit::Tab);
         clickBarAt(w, 0.75);
         pressAtPlayHead(w, w.setStartBtn);
         EXPECT_NEAR(g_playHead_s, 3.0, 0.2);
     },
     kPlayHead, 4.0},
    {"start typed, Set end before the start takes the beginning",
     [](UI3DConverterWindowController& w) {
         typeInto(w.startTime->fields[2], QStringLiteral("02"), Commit::ClickElsewhere, w.endTime->fields[0]);
         clickBarAt(w, 0.25);
         pressAtPlayHead(w, w.setEndBtn);
     },
     0.0, kPlayHead},
    {"start handle dragged onto the end handle and beyond",
     [](UI3DConverterWindowController& w) {
         typeInto(w.endTime->fields[2], QStringLiteral("02"), Commit::Return);
         const QPoint from = trimGrip(w.cutBar, TrimPart::Start);
         drag(w.cutBar, from, trimGrip(w.cutBar, TrimPart::End) + QPoint(30, 0), 12);
     },
     1.9, 2.0},
    {"end handle dragged onto the start handle",
     [](UI3DConverterWindowController& w) {
         typeInto(w.startTime->fields[2], QStringLiteral("01"), Commit::Return);
         drag(w.cutBar, trimGrip(w.cutBar, TrimPart::End), trimGrip(w.cutBar, TrimPart::Start) - QPoint(30, 0), 12);
     },
     1.0, 1.1},
    {"a start typed after the end is refused",
     [](UI3DConverterWindowController& w) {
         typeInto(w.endTime->fields[2], QStringLiteral("02"), Commit::Return);
         typeInto(w.startTime->fields[2], QStringLiteral("03"), Commit::Return);
     },
     0.0, 2.0},
    {"start stepped up to the end stops short of it",
     [](UI3DConverterWindowController& w) {
         typeInto(w.endTime->fields[2], QStringLiteral("01"), Commit::Return);
         click(w.startTime->fields[2]);
         for (int i = 0; i < 3; ++i) click(w.startTime->upBtn);
     },
     0.0, 1.0},
    {"start and end reset",
     [](UI3DConverterWindowController& w) {
         typeInto(w.startTime->fields[2], QStringLiteral("01"), Commit::Tab);
         typeInto(w.endTime->fields[2], QStringLiteral("02"), Commit::Tab);
         click(w.resetStartBtn);
         click(w.resetEndBtn);
     },
     0.0, 4.0},
};

INSTANTIATE_TEST_SUITE_P(Steps, SingleClipRange, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
    return name;
});

}  // namespace

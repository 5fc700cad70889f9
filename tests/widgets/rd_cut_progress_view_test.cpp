// The trim range bar: placing values, the press/drag/release reports of handles and tick, the
// keep-outside look, disabling, music band and repeat marks, and its arithmetic on its own.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <cmath>
#include <vector>

#include "tests/support/user_input.h"
#include "widgets/cut_progress_geometry.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/view_frame.h"

using namespace kestrel::widgets;
using kestrel::test::sendMove;
using kestrel::test::sendPress;
using kestrel::test::sendRelease;

namespace {

struct Report {
    enum Kind { Down, Seek, Moved, Up } kind;
    float value = 0;
    float start = 0;
    float stop = 0;
    int64_t handle = 0;
};

class Recorder : public RDCutProgressViewDelegate {
public:
    std::vector<Report> reports;
    void actionMouseDownForCutProgressViewBlock(RDCutProgressView*, float p) override {
        reports.push_back({Report::Down, p});
    }
    void actionSeekToTimeForCutProgressViewBlock(RDCutProgressView*, float p) override {
        reports.push_back({Report::Seek, p});
    }
    void actionMouseMovedForCutProgressViewBlock(RDCutProgressView*, float start, float stop, int64_t h) override {
        reports.push_back({Report::Moved, 0, start, stop, h});
    }
    void actionMouseUpForCutProgressViewBlock(RDCutProgressView*, float p) override {
        reports.push_back({Report::Up, p});
    }
    std::vector<Report::Kind> kinds() const {
        std::vector<Report::Kind> out;
        for (const Report& r : reports) out.push_back(r.kind);
        return out;
    }
};

constexpr double kBarHeight = 44;

// A bar 400 x 44 in a window; points are given in the bar's bottom-left coordinates.
class CutBarTest : public ::testing::Test {
protected:
    void SetUp() override { host.resize(420, 100); }

    RDCutProgressView* makeClassicBar() {
        auto* bar = new RDCutProgressView(QRectF(0, 0, 400, kBarHeight), &host);
        bar->setFrame(QRectF(0, 0, 400, kBarHeight));
        bar->setDelegate(&recorder);
        return bar;
    }
    // As the tools set up bars that come from their interface files.
    RDCutProgressView* makeNewLookBar() {
        auto* bar = new RDCutProgressView(QRectF(0, 0, 400, kBarHeight), &host, Construction::FromInterfaceFile);
        bar->setIsNew(true);
        bar->setIsFanxuan(false);
        bar->setFrame(QRectF(0, 0, 400, kBarHeight));
        bar->setDelegate(&recorder);
        return bar;
    }
    static QPointF qt(double x, double y) { return QPointF(x, kBarHeight - y); }

    QWidget host;
    Recorder recorder;
};

TEST_F(CutBarTest, ClassicLayoutPlacesHandlesOutsideTheSpanOnTheValuePositions) {
    RDCutProgressView* bar = makeClassicBar();
    EXPECT_EQ(viewFrame(bar->progressBackView()), QRectF(9, 17, 382, 10));
    bar->setUpperValue(0.75f);
    EXPECT_EQ(bar->handleType(), RDCutProgressView::kRightHandle);
    EXPECT_FLOAT_EQ(bar->progress(), 0.75f);
    bar->setLowerValue(0.25f);
    EXPECT_EQ(bar->handleType(), RDCutProgressView::kLeftHandle);
    EXPECT_FLOAT_EQ(bar->progress(), 0.25f);
    // Value positions: 9 + 0.25 * 382 = 104.5 and 9 + 0.75 * 382 = 295.5.
    EXPECT_DOUBLE_EQ(viewFrame(bar->handLeftView()).x(), 95.5);
    EXPECT_DOUBLE_EQ(viewFrame(bar->handRightView()).x(), 295.5);
    const QRectF tint = viewFrame(bar->progressTintView());
    EXPECT_DOUBLE_EQ(tint.x(), 104.5);
    EXPECT_DOUBLE_EQ(tint.x() + tint.width(), 295.5);
    EXPECT_EQ(viewFrame(bar->videoPositionView()), tint);
    // The tick stands on the range start set last.
    const QRectF tick = viewFrame(bar->tickMarkView());
    EXPECT_DOUBLE_EQ(tick.x() + tick.width() / 2, 104.5);
    EXPECT_TRUE(recorder.reports.empty()) << "values set by the owner are never reported";
}

TEST_F(CutBarTest, PairSetterTakesAnUpperValueOfZeroAsTheWholeClip) {
    RDCutProgressView* bar = makeClassicBar();
    bar->setLowerValue(0.2f, 0.0f);
    EXPECT_FLOAT_EQ(bar->upperValue(), 1.0f);
    EXPECT_FLOAT_EQ(bar->lowerValue(), 0.2f);
    EXPECT_FLOAT_EQ(bar->progress(), 0.2f);
    // The right handle stands at the track's end: 9 + 382.
    EXPECT_DOUBLE_EQ(viewFrame(bar->handRightView()).x(), 391);
    // The span starts on the value position 9 + 0.2 * 382, as setLowerValue puts it.
    EXPECT_NEAR(viewFrame(bar->progressTintView()).x(), 9 + 0.2 * 382, 1e-4);
}

// The pair setter and the single setters put the span's edges on the same value positions, in
// every look, so that a drag reads back the values the owner set.
TEST_F(CutBarTest, PairSetterPutsTheSpanOnTheValuePositionsInEveryLook) {
    struct Case {
        bool newLook;
        bool keepOutside;
        float lower, upper;
    } cases[] = {
        {false, false, 0.25f, 0.75f}, {false, false, 0.0f, 1.0f}, {false, false, 0.5f, 0.9f}, {false, false, 0.01f, 0.02f},
        {false, true, 0.25f, 0.75f},  {true, false, 0.3f, 0.7f},  {true, false, 0.0f, 1.0f},  {true, false, 0.5f, 0.9f},
        {true, true, 0.3f, 0.7f},     {true, true, 0.02f, 0.98f},
    };
    for (const Case& c : cases) {
        RDCutProgressView* bar = c.newLook ? makeNewLookBar() : makeClassicBar();
        bar->setIsFanxuan(c.keepOutside);
        bar->setLowerValue(c.lower, c.upper);
        const QRectF track = viewFrame(bar->progressBackView());
        const QRectF tint = viewFrame(bar->progressTintView());
        const std::string name = std::to_string(c.newLook) + std::to_string(c.keepOutside) + " " + std::to_string(c.lower);
        EXPECT_NEAR(tint.x(), track.x() + c.lower * track.width(), 1e-4) << name;
        EXPECT_NEAR(tint.x() + tint.width(), track.x() + c.upper * track.width(), 1e-4) << name;
        EXPECT_FLOAT_EQ(cutbar::edgeFraction(tint.x(), track), c.lower) << name;
        EXPECT_FLOAT_EQ(cutbar::edgeFraction(tint.x() + tint.width(), track), c.upper) << name;
        // The single setter gives the left handle the same place.
        const double pairLeftX = viewFrame(bar->handLeftView()).x();
        bar->setLowerValue(c.lower);
        EXPECT_DOUBLE_EQ(viewFrame(bar->handLeftView()).x(), pairLeftX) << name;
        delete bar;
    }
}

// An owner that sets the range again from every drag report, as the tool windows do.
class ReapplyingOwner : public Recorder {
public:
    void actionMouseMovedForCutProgressViewBlock(RDCutProgressView* bar, float start, float stop, int64_t h) override {
        Recorder::actionMouseMovedForCutProgressViewBlock(bar, start, stop, h);
        bar->setLowerValue(start, stop);
    }
};

// A person drags only the end handle, in ten moves, on a bar whose owner sets the range again
// from each report: the start stays where the owner put it.
TEST(CutBarDrag, DraggingTheEndHandleLeavesTheStartWhereItWas) {
    for (bool newLook : {false, true}) {
        QWidget window;
        window.resize(420, 60);
        auto* bar = new RDCutProgressView(QRectF(0, 0, 400, kBarHeight), &window,
                                          newLook ? Construction::FromInterfaceFile : Construction::InCode);
        if (newLook) bar->setIsFanxuan(false);
        bar->setFrame(QRectF(0, 0, 400, kBarHeight));
        ReapplyingOwner owner;
        bar->setDelegate(&owner);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        bar->setLowerValue(0.5f, 0.9f);
        const QPoint grip = kestrel::test::trimGrip(bar, kestrel::test::TrimPart::End);
        kestrel::test::drag(bar, grip, grip - QPoint(10, 0), 10);
        ASSERT_EQ(owner.reports.size(), 12u) << "press, ten moves, release";
        for (const Report& r : owner.reports)
            if (r.kind == Report::Moved) EXPECT_FLOAT_EQ(r.start, 0.5f) << "new look " << newLook;
        EXPECT_FLOAT_EQ(bar->lowerValue(), 0.5f);
        // The end follows the pointer: ten pixels to the left, within the pixel the grip was
        // rounded to.
        const double trackWidth = viewFrame(bar->progressBackView()).width();
        EXPECT_NEAR(bar->upperValue(), 0.9 - 10 / trackWidth, 1 / trackWidth);
        EXPECT_NEAR(bar->upperValue(), kestrel::test::drawnValue(bar, kestrel::test::TrimPart::End), 1 / trackWidth);
        bar->setDelegate(nullptr);
    }
}

TEST_F(CutBarTest, LeftHandleDragReportsStartAndStopAndStopsAtTheOtherHandle) {
    RDCutProgressView* bar = makeClassicBar();
    bar->setUpperValue(0.75f);
    bar->setLowerValue(0.25f);
    // The left handle spans x 95.5 .. 104.5 below the track's middle line (y 22).
    sendPress(bar, qt(100, 6));
    EXPECT_TRUE(bar->handLeft());
    sendMove(bar, qt(200, 6));
    sendMove(bar, qt(1000, 6));
    sendMove(bar, qt(-50, 6));
    sendRelease(bar, qt(-50, 6));
    ASSERT_EQ(recorder.kinds(), (std::vector<Report::Kind>{Report::Down, Report::Moved, Report::Moved,
                                                            Report::Moved, Report::Up}));
    EXPECT_FLOAT_EQ(recorder.reports[0].value, 0.25f);
    // Centre at 200: handle x 195.5, span from 204.5.
    EXPECT_FLOAT_EQ(recorder.reports[1].start, float((204.5 - 9) / 382));
    EXPECT_FLOAT_EQ(recorder.reports[1].stop, 0.75f);
    EXPECT_EQ(recorder.reports[1].handle, 1);
    // Past the right handle: the range shrinks to nothing, the handles do not cross.
    EXPECT_FLOAT_EQ(recorder.reports[2].start, 0.75f);
    EXPECT_FLOAT_EQ(recorder.reports[2].stop, 0.75f);
    // Past the track's start: exactly 0.
    EXPECT_EQ(recorder.reports[3].start, 0.0f);
    EXPECT_FLOAT_EQ(bar->lowerValue(), 0.0f);
    // The tick followed the span's start; the release reports its centre.
    EXPECT_FLOAT_EQ(recorder.reports[4].value, 0.0f);
    EXPECT_FALSE(bar->handLeft() || bar->handRight() || bar->handtick());
    EXPECT_FLOAT_EQ(bar->progress(), 0.25f) << "a handle drag leaves progress alone";
}

TEST_F(CutBarTest, RightHandleDragReachesExactlyOneAndStopsAtTheLeftHandle) {
    RDCutProgressView* bar = makeClassicBar();
    bar->setUpperValue(0.75f);
    bar->setLowerValue(0.25f);
    sendPress(bar, qt(300, 6));
    EXPECT_TRUE(bar->handRight());
    sendMove(bar, qt(1000, 6));
    sendMove(bar, qt(-100, 6));
    sendRelease(bar, qt(-100, 6));
    ASSERT_EQ(recorder.reports.size(), 4u);
    EXPECT_EQ(recorder.reports[1].kind, Report::Moved);
    EXPECT_EQ(recorder.reports[1].stop, 1.0f);
    EXPECT_EQ(recorder.reports[1].handle, 2);
    EXPECT_FLOAT_EQ(recorder.reports[2].stop, 0.25f);
    EXPECT_FLOAT_EQ(recorder.reports[2].start, 0.25f);
    EXPECT_EQ(bar->handleType(), RDCutProgressView::kRightHandle);
}

TEST_F(CutBarTest, NewLookHandleDragsReportTheWholeRange) {
    RDCutProgressView* bar = makeNewLookBar();
    bar->setLowerValue(0.0f, 1.0f);
    // Track (14, 29, 372, 6) after the pair setter; right handle 386 .. 400, 24 high.
    EXPECT_EQ(viewFrame(bar->progressBackView()), QRectF(14, 29, 372, 6));
    EXPECT_EQ(bar->progressTintView()->imageName(), "ZantImage/Reverse/imgTop.bmp");
    sendPress(bar, qt(393, 10));
    sendMove(bar, qt(200, 10));
    sendMove(bar, qt(1000, 10));
    sendRelease(bar, qt(1000, 10));
    ASSERT_EQ(recorder.reports.size(), 4u);
    EXPECT_EQ(recorder.reports[0].value, 0.0f);
    EXPECT_FLOAT_EQ(recorder.reports[1].stop, float((193 - 14) / 372.0));
    EXPECT_EQ(recorder.reports[1].start, 0.0f);
    EXPECT_EQ(recorder.reports[2].stop, 1.0f);
    EXPECT_EQ(recorder.reports[3].value, 1.0f);

    recorder.reports.clear();
    sendPress(bar, qt(7, 10));
    EXPECT_TRUE(bar->handLeft());
    sendMove(bar, qt(100, 10));
    sendRelease(bar, qt(100, 10));
    ASSERT_EQ(recorder.reports.size(), 3u);
    // Centre 100: handle x 93, span from 107.
    EXPECT_FLOAT_EQ(recorder.reports[1].start, float((107 - 14) / 372.0));
    EXPECT_EQ(recorder.reports[1].handle, 1);
}

TEST_F(CutBarTest, PressOffTheHandlesSeeksThenReportsThePress) {
    RDCutProgressView* bar = makeClassicBar();
    bar->setUpperValue(1.0f);
    bar->setLowerValue(0.0f);
    // Left handle 0 .. 9, right handle 391 .. 400: presses on their edges or above the track's
    // middle are presses on the bar.
    for (QPointF p : {qt(0, 6), qt(9, 6), qt(391, 6), qt(400 - 1e-9, 30), qt(5, 30)}) {
        recorder.reports.clear();
        sendPress(bar, p);
        sendRelease(bar, p);
        EXPECT_TRUE(recorder.reports.size() == 3 && recorder.reports[0].kind == Report::Seek)
            << "press at " << p.x() << "," << p.y();
    }
    recorder.reports.clear();
    sendPress(bar, qt(200, 39));
    EXPECT_TRUE(bar->handtick());
    // Tick x = 200 - 8.5; seek = (191.5 - 9) / (382 - 17) = 0.5; press = 191 / 382 = 0.5.
    ASSERT_EQ(recorder.kinds(), (std::vector<Report::Kind>{Report::Seek, Report::Down}));
    EXPECT_FLOAT_EQ(recorder.reports[0].value, 0.5f);
    EXPECT_FLOAT_EQ(recorder.reports[1].value, 0.5f);
    EXPECT_FLOAT_EQ(bar->progress(), 0.0f) << "a press moves the tick, not progress";
    // A bar built in code does not let the tick be dragged.
    sendMove(bar, qt(300, 39));
    EXPECT_EQ(recorder.reports.size(), 2u);
    sendRelease(bar, qt(300, 39));
}

TEST_F(CutBarTest, TickDragSeeksWithinZeroAndOne) {
    RDCutProgressView* bar = makeClassicBar();
    bar->setTickMark(true);
    sendPress(bar, qt(200, 39));
    sendMove(bar, qt(1000, 39));
    // The tick's left edge follows the pointer up to 382.5; progress may pass 1, the seek not.
    EXPECT_EQ(recorder.reports.back().kind, Report::Seek);
    EXPECT_EQ(recorder.reports.back().value, 1.0f);
    EXPECT_GT(bar->progress(), 1.0f);
    sendMove(bar, qt(-1000, 39));
    EXPECT_EQ(recorder.reports.back().value, 0.0f);
    sendRelease(bar, qt(-1000, 39));
    EXPECT_EQ(recorder.reports.back().kind, Report::Up);
    EXPECT_FLOAT_EQ(recorder.reports.back().value, 0.0f);
}

TEST_F(CutBarTest, APressAtTheFarRightNeverAsksForASeekPastTheEnd) {
    RDCutProgressView* bar = makeClassicBar();
    sendPress(bar, qt(399, 39));
    ASSERT_FALSE(recorder.reports.empty());
    EXPECT_EQ(recorder.reports[0].kind, Report::Seek);
    EXPECT_EQ(recorder.reports[0].value, 1.0f);
}

TEST_F(CutBarTest, DisabledBarHidesHandlesSoEveryPressSeeksAndTheTickDrags) {
    RDCutProgressView* bar = makeClassicBar();
    bar->setUpperValue(0.75f);
    bar->setLowerValue(0.25f);
    bar->setDisable(true);
    EXPECT_TRUE(bar->handLeftView()->isHidden());
    EXPECT_TRUE(bar->tickMark());
    sendPress(bar, qt(100, 6));
    EXPECT_TRUE(bar->handtick());
    sendMove(bar, qt(150, 6));
    sendRelease(bar, qt(150, 6));
    EXPECT_EQ(recorder.kinds(), (std::vector<Report::Kind>{Report::Seek, Report::Down, Report::Seek, Report::Up}));
    bar->setDisable(false);
    EXPECT_FALSE(bar->handRightView()->isHidden());
}

TEST_F(CutBarTest, KeepOutsideLookSwapsPicturesAndPutsHandlesInside) {
    RDCutProgressView* bar = makeClassicBar();
    bar->setUpperValue(0.75f);
    bar->setLowerValue(0.25f);
    EXPECT_EQ(bar->progressBackView()->imageName(), "Resources/play_notplayed_bkg.png");
    bar->setIsFanxuan(true);
    EXPECT_EQ(bar->progressBackView()->imageName(), "Resources/edit_trim_focus.png");
    EXPECT_EQ(bar->progressTintView()->imageName(), "Resources/play_notplayed_bkg.png");
    EXPECT_EQ(bar->handLeftView()->imageName(), "Resources/edit_trimright_normal.png");
    EXPECT_EQ(bar->handRightView()->imageName(), "Resources/edit_trimleft_normal.png");
    // Each handle now lies inside its range end; the span runs across both handles.
    EXPECT_DOUBLE_EQ(viewFrame(bar->handLeftView()).x(), 104.5);
    EXPECT_DOUBLE_EQ(viewFrame(bar->handRightView()).x(), 295.5 - 9);
    const QRectF tint = viewFrame(bar->progressTintView());
    EXPECT_DOUBLE_EQ(tint.x(), 104.5);
    EXPECT_DOUBLE_EQ(tint.x() + tint.width(), 295.5);
    // Dragging the left handle onto the right one stops them side by side.
    sendPress(bar, qt(108, 6));
    sendMove(bar, qt(1000, 6));
    sendRelease(bar, qt(1000, 6));
    EXPECT_DOUBLE_EQ(viewFrame(bar->handLeftView()).x() + 9, viewFrame(bar->handRightView()).x());
    EXPECT_FLOAT_EQ(bar->lowerValue(), float((286.5 - 9 - 9) / 382));
    EXPECT_FLOAT_EQ(bar->upperValue(), 0.75f);

    bar->setIsNew(true);
    bar->setIsFanxuan(true);
    EXPECT_EQ(bar->tickMarkView()->imageName(), "ZantImage/Join/imgSlip_Normal.png");
    EXPECT_EQ(bar->progressBackView()->imageName(), "ZantImage/Reverse/imgTop.bmp");
    EXPECT_EQ(bar->handLeftView()->imageName(), "ZantImage/Reverse/btnCutRight_Normal.png");
}

TEST_F(CutBarTest, ResizeRelaysAndLeavesProgressOnTheRangeStart) {
    RDCutProgressView* bar = makeClassicBar();
    bar->setUpperValue(0.5f);
    bar->setLowerValue(0.25f);
    bar->setProgress(0.4f);
    bar->setFrame(QRectF(0, 0, 600, kBarHeight));
    EXPECT_EQ(viewFrame(bar->progressBackView()), QRectF(9, 17, 582, 10));
    EXPECT_FLOAT_EQ(bar->progress(), bar->lowerValue());
    EXPECT_DOUBLE_EQ(viewFrame(bar->progressTintView()).x(), 9 + 0.25 * 582);
    // A resize by other means (a layout) lays the bar out the same way.
    host.show();
    bar->setProgress(0.4f);
    bar->resize(500, int(kBarHeight));
    EXPECT_EQ(viewFrame(bar->progressBackView()).width(), 482);
    EXPECT_FLOAT_EQ(bar->progress(), 0.25f);
}

TEST_F(CutBarTest, MusicBandFollowsTheSpanAndRepeatModeShowsTheMarks) {
    RDCutProgressView* bar = makeNewLookBar();
    bar->setUpperValue(0.75f);
    bar->setLowerValue(0.25f);
    const double trackWidth = viewFrame(bar->progressBackView()).width();
    bar->setMusicRangeLowerValue(-0.5f, 0.25f);
    EXPECT_EQ(bar->musicLeftValue(), 0.0f);
    const QRectF band = viewFrame(bar->musicRangeView());
    EXPECT_FLOAT_EQ(float(band.width()), float(0.25 * trackWidth));
    EXPECT_DOUBLE_EQ(band.x(), viewFrame(bar->progressTintView()).x());
    // Music longer than the range never draws past it.
    bar->setMusicRangeLowerValue(0, 3.0f);
    EXPECT_EQ(bar->musicRightValue(), 1.0f);
    EXPECT_FLOAT_EQ(float(viewFrame(bar->musicRangeView()).width()), float(0.5 * trackWidth));

    bar->setMusicRangeLowerValue(0, 0.25f);
    bar->setIsRepeat(true);
    EXPECT_FALSE(bar->videoPositionView()->isHidden());
    EXPECT_TRUE(bar->musicRangeView()->isHidden());
    EXPECT_FLOAT_EQ(bar->videoPositionView()->repeatWidth(), float(0.25 * trackWidth));
    bar->setIsRepeat(false);
    EXPECT_TRUE(bar->videoPositionView()->isHidden());
    EXPECT_FALSE(bar->musicRangeView()->isHidden());
    EXPECT_EQ(bar->videoPositionView()->repeatWidth(), 0.0f);
}

TEST_F(CutBarTest, ValuesThatAreNotNumbersPlaceAsZero) {
    RDCutProgressView* bar = makeClassicBar();
    const float nan = std::nanf("");
    bar->setLowerValue(nan, nan);
    bar->setProgress(std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isfinite(viewFrame(bar->handLeftView()).x()));
    EXPECT_TRUE(std::isfinite(viewFrame(bar->tickMarkView()).x()));
}

TEST_F(CutBarTest, ABarTooNarrowForItsTrackReportsFiniteValues) {
    auto* bar = new RDCutProgressView(QRectF(0, 0, 10, kBarHeight), &host);
    bar->setFrame(QRectF(0, 0, 10, kBarHeight));
    bar->setDelegate(&recorder);
    bar->setTickMark(true);
    bar->setLowerValue(0.2f, 0.8f);
    for (double x : {1.0, 5.0, 9.0}) {
        sendPress(bar, qt(x, 6));
        sendMove(bar, qt(x + 3, 6));
        sendRelease(bar, qt(x + 3, 6));
    }
    ASSERT_FALSE(recorder.reports.empty());
    for (const Report& r : recorder.reports) {
        EXPECT_TRUE(std::isfinite(r.value) && std::isfinite(r.start) && std::isfinite(r.stop));
        if (r.kind == Report::Seek || r.kind == Report::Moved)
            EXPECT_TRUE(r.value >= 0 && r.value <= 1 && r.start >= 0 && r.start <= 1 && r.stop >= 0 && r.stop <= 1);
    }
}

// The arithmetic on its own, where a bar too narrow for its parts leaves no room to divide by.
TEST(CutBarGeometry, FractionsOfABarWithoutRoomAreZero) {
    const QRectF noTrack(9, 0, 0, 6);
    const QRectF tickWide(9, 0, 17, 6);
    EXPECT_EQ(cutbar::tickCentreFraction(20, noTrack, 17), 0.0f);
    EXPECT_EQ(cutbar::seekFraction(20, tickWide, 17), 0.0f);
    EXPECT_EQ(cutbar::edgeFraction(30, noTrack), 0.0f);
    const QRectF track(9, 0, 382, 6);
    EXPECT_EQ(cutbar::edgeFraction(9 + 382 + 20, track), 1.0f);
    EXPECT_EQ(cutbar::edgeFraction(-20, track), 0.0f);
}

TEST(CutBarGeometry, HandleHitIsStrictAndBelowTheMiddleLine) {
    const QRectF track(9, 17, 382, 10);
    const QRectF handle(0, 0, 9, 12);
    struct Case {
        QPointF p;
        bool hidden;
        bool hit;
    } cases[] = {
        {{4.5, 6}, false, true}, {{0, 6}, false, false}, {{9, 6}, false, false},
        {{4.5, 22}, false, false}, {{4.5, 21.9}, false, true}, {{4.5, 6}, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cutbar::handleHit(c.p, handle, track, c.hidden), c.hit) << c.p.x() << "," << c.p.y();
}

}  // namespace

// The draggable marker view and the music range slider built from it: moving within the
// superview, repeat marks, the two modes, and the reports of knob, handle and span drags.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

#include "tests/support/user_input.h"
#include "widgets/music_range_slider.h"
#include "widgets/view_frame.h"
#include "widgets/zor_dragged_view.h"

using namespace kestrel::widgets;
using kestrel::test::moveTo;
using kestrel::test::pressAt;
using kestrel::test::releaseAt;
using kestrel::test::sendMove;
using kestrel::test::visibleCentre;
using kestrel::test::sendPress;
using kestrel::test::sendRelease;

namespace {

class MoveCounter : public ZorDraggedViewDelegate {
public:
    int moves = 0;
    void mouseDraggedWithSender(ZorDraggedView*) override { ++moves; }
};

class RangeRecorder : public MusicRangeSliderDelegate {
public:
    std::vector<std::string> calls;
    void changeProgress(MusicRangeSlider*) override { calls.push_back("progress"); }
    void changeRangeValue(MusicRangeSlider*) override { calls.push_back("range"); }
};

// Drags a part by dx points (Qt x) from a press at its local point (2, 2).
void dragBy(QWidget* part, double dx) {
    sendPress(part, {2, 2});
    sendMove(part, {2 + dx, 2});
    sendRelease(part, {2 + dx, 2});
}

TEST(ZorDraggedView, StopsInsideItsSuperviewAndTellsItsDelegate) {
    QWidget parent;
    parent.resize(300, 40);
    MoveCounter counter;
    for (bool draw : {false, true}) {
        ZorDraggedView view(QRectF(50, 0, 40, 20), &parent);
        view.setIsDraw(draw);
        view.setDelegate(&counter);
        dragBy(&view, 1000);
        EXPECT_DOUBLE_EQ(viewFrame(&view).x(), draw ? 260 : 250) << "the pin view may reach the edge";
        EXPECT_EQ(viewFrame(&view).size(), QSizeF(40, 20));
        dragBy(&view, -1000);
        EXPECT_DOUBLE_EQ(viewFrame(&view).x(), 0);
        // The grab offset keeps the view under the pointer.
        dragBy(&view, 30);
        EXPECT_DOUBLE_EQ(viewFrame(&view).x(), 30);
    }
    EXPECT_EQ(counter.moves, 6);

    ZorDraggedView disabled(QRectF(50, 0, 40, 20), &parent);
    disabled.setDelegate(&counter);
    disabled.setEnabled(false);
    dragBy(&disabled, 100);
    EXPECT_DOUBLE_EQ(viewFrame(&disabled).x(), 50);
    EXPECT_EQ(counter.moves, 6);
    // Without a delegate the view still moves.
    ZorDraggedView alone(QRectF(50, 0, 40, 20), &parent);
    dragBy(&alone, 10);
    EXPECT_DOUBLE_EQ(viewFrame(&alone).x(), 60);
}

TEST(ZorDraggedView, RepeatMarksAndPicture) {
    EXPECT_EQ(repeatMarkXs(100, 300), (std::vector<double>{102, 202, 302}));
    EXPECT_EQ(repeatMarkXs(300, 300), (std::vector<double>{302}));
    EXPECT_TRUE(repeatMarkXs(301, 300).empty());
    EXPECT_TRUE(repeatMarkXs(0, 300).empty());
    // Marks closer than a point would fill the view; a tiny width must not loop for ever either.
    EXPECT_TRUE(repeatMarkXs(1e-6, 300).empty());

    ZorDraggedView view;
    view.resize(100, 12);
    view.setImageScaling(ImageScaling::AxesIndependently);
    QPixmap picture(4, 4);
    picture.fill(Qt::green);
    view.setImage(picture);
    view.setRepeatWidth(0);
    EXPECT_FALSE(view.image().isNull());
    const QColor green(Qt::green);
    view.setRepeatWidth(400);
    EXPECT_FALSE(view.image().isNull()) << "repeat mode keeps the picture";
    EXPECT_NE(view.grab().toImage().pixelColor(50, 6), green) << "the marks stand in for the picture";
    view.setRepeatWidth(0);
    EXPECT_EQ(view.image().cacheKey(), picture.cacheKey());
    EXPECT_EQ(view.grab().toImage().pixelColor(50, 6), green) << "the picture shows again after repeat mode";
}

class MusicSliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.resize(300, 60);
        slider = new MusicRangeSlider(QRectF(0, 0, 210, 30), &host);
        slider->setDelegate(&recorder);
    }
    QWidget host;
    MusicRangeSlider* slider = nullptr;
    RangeRecorder recorder;
};

TEST_F(MusicSliderTest, StartsWithTheWholeSpanAndNoMusic) {
    EXPECT_EQ(viewFrame(slider->backGroundView()), QRectF(5, 5, 200, 12));
    EXPECT_EQ(viewFrame(slider->videoPositionView()), QRectF(5, 5, 200, 12));
    EXPECT_EQ(viewFrame(slider->musicRangeView()).width(), 0);
    // Each handle is centred on an end of the track.
    EXPECT_EQ(viewFrame(slider->leftMoveView()), QRectF(0, 0, 10, 25));
    EXPECT_EQ(viewFrame(slider->rightMoveView()), QRectF(200, 0, 10, 25));
    EXPECT_FALSE(slider->enable());
    EXPECT_FALSE(slider->tickMarkView()->isHidden());
}

TEST_F(MusicSliderTest, RangeSettersClampAndTheMusicNeverOutgrowsTheSpan) {
    slider->setVideoRangeLowerValue(-0.2f, 1.3f);
    EXPECT_EQ(slider->positionLeftValue(), 0.0f);
    EXPECT_EQ(slider->positionRightValue(), 1.0f);
    slider->setVideoRangeLowerValue(0.25f, 0.75f);
    slider->setMusicRangeLowerValue(0, 2.0f);
    EXPECT_EQ(slider->musicRightValue(), 1.0f);
    EXPECT_EQ(viewFrame(slider->musicRangeView()), QRectF(55, 5, 100, 12));
    EXPECT_EQ(viewFrame(slider->musicRangeView()).width(), viewFrame(slider->videoPositionView()).width());

    slider->setMusicRangeLowerValue(0, 0.2f);
    slider->setIsRepeat(true);
    EXPECT_EQ(slider->videoPositionView()->imageName(), "Cut/pbTop.bmp");
    EXPECT_FLOAT_EQ(slider->videoPositionView()->repeatWidth(), 40.0f);
    slider->setIsRepeat(false);
    EXPECT_EQ(slider->videoPositionView()->imageName(), "Cut/imgTop.bmp");
    EXPECT_EQ(slider->videoPositionView()->repeatWidth(), 0.0f);

    // A resize lays the parts out again for the stored values, the handles at y 5.
    slider->setFrame(QRectF(0, 0, 410, 30));
    EXPECT_EQ(viewFrame(slider->videoPositionView()), QRectF(105, 5, 200, 12));
    EXPECT_EQ(viewFrame(slider->leftMoveView()).topLeft(), QPointF(100, 5));
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(MusicSliderTest, ModesDecideWhichPartsMove) {
    slider->setEnable(false);
    EXPECT_TRUE(slider->leftMoveView()->isHidden());
    EXPECT_FALSE(slider->tickMarkView()->isHidden());
    dragBy(slider->videoPositionView(), 40);
    EXPECT_TRUE(recorder.calls.empty()) << "the span does not move with enable off";
    slider->setEnable(true);
    EXPECT_FALSE(slider->rightMoveView()->isHidden());
    EXPECT_TRUE(slider->tickMarkView()->isHidden());
}

TEST_F(MusicSliderTest, KnobDragReportsProgressThenRange) {
    slider->setEnable(false);
    dragBy(slider->tickMarkView(), 1000);
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"progress", "range"}));
    // The knob reaches the right edge: the end of the video.
    EXPECT_FLOAT_EQ(slider->progress(), 1.0f);
    dragBy(slider->tickMarkView(), -1000);
    EXPECT_EQ(slider->progress(), 0.0f);
    slider->setProgress(0.5f);
    EXPECT_DOUBLE_EQ(viewFrame(slider->tickMarkView()).x(), 94.5);
}

TEST_F(MusicSliderTest, HandlesReachBothEndsAndNeverCross) {
    slider->setEnable(true);
    slider->setVideoRangeLowerValue(0.25f, 0.75f);
    slider->setMusicRangeLowerValue(0.25f, 0.3f);
    dragBy(slider->rightMoveView(), 1000);
    EXPECT_EQ(slider->positionRightValue(), 1.0f);
    dragBy(slider->leftMoveView(), -1000);
    EXPECT_EQ(slider->positionLeftValue(), 0.0f);
    EXPECT_EQ(viewFrame(slider->musicRangeView()).x(), 5);
    // The left handle dragged past the right one stops on it: no span that ends before it starts.
    dragBy(slider->leftMoveView(), 1000);
    EXPECT_EQ(slider->positionLeftValue(), slider->positionRightValue());
    dragBy(slider->rightMoveView(), -1000);
    EXPECT_LE(slider->positionLeftValue(), slider->positionRightValue());
    EXPECT_EQ(recorder.calls, std::vector<std::string>(4, "range"));
}

TEST_F(MusicSliderTest, SpanDragKeepsItsLengthAndReachesTheEnd) {
    slider->setEnable(true);
    slider->setVideoRangeLowerValue(0.25f, 0.75f);
    slider->setMusicRangeLowerValue(0.25f, 0.2f);
    dragBy(slider->videoPositionView(), 20);
    EXPECT_FLOAT_EQ(slider->positionRightValue() - slider->positionLeftValue(), 0.5f);
    dragBy(slider->videoPositionView(), 1000);
    EXPECT_FLOAT_EQ(slider->positionRightValue(), 1.0f);
    EXPECT_FLOAT_EQ(slider->positionLeftValue(), 0.5f);
    // The music moves with the span and keeps its length.
    EXPECT_DOUBLE_EQ(viewFrame(slider->musicRangeView()).x(), viewFrame(slider->videoPositionView()).x());
    EXPECT_FLOAT_EQ(float(viewFrame(slider->musicRangeView()).width()), 40.0f);
    // The handles follow the span's ends.
    EXPECT_DOUBLE_EQ(viewFrame(slider->rightMoveView()).x(), 200);
    EXPECT_EQ(recorder.calls, std::vector<std::string>(2, "range"));
}

// The bar as the editor's music panel builds it (260 points), in a shown window, used with the
// pointer: a touch of the span (the hand trembles a pixel and comes back) leaves the music where
// it was, and a drag moves it by what the pointer moved.
TEST(MusicRangeSliderInAWindow, TouchingTheSpanLeavesTheMusicWhereItWas) {
    QWidget window;
    window.resize(700, 60);
    auto* slider = new MusicRangeSlider(QRectF(220, 10, 260, 30), &window);
    RangeRecorder recorder;
    slider->setDelegate(&recorder);
    slider->setEnable(true);
    slider->setVideoRangeLowerValue(0.25f, 0.5f);
    slider->setMusicRangeLowerValue(0.25f, 0.25f);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    for (int touch = 0; touch < 3; ++touch) {
        const QPoint grip = visibleCentre(slider->videoPositionView(), &window);
        pressAt(&window, grip);
        moveTo(&window, grip + QPoint(1, 0));
        moveTo(&window, grip);
        releaseAt(&window, grip);
        // Where the pointer came back to: within a pixel of the 250-point track.
        EXPECT_NEAR(slider->positionLeftValue(), 0.25f, 1.0 / 250) << "after touch " << touch + 1;
        EXPECT_FLOAT_EQ(slider->positionRightValue() - slider->positionLeftValue(), 0.25f);
    }
    EXPECT_EQ(recorder.calls.size(), 6u);
    EXPECT_NEAR(slider->positionLeftValue(), 0.25f, 1.0 / 250) << "the touches moved the music";

    // 25 pixels right in five moves: a tenth of the 250-point track.
    const float before = slider->positionLeftValue();
    const QPoint grip = visibleCentre(slider->videoPositionView(), &window);
    pressAt(&window, grip);
    for (int step = 1; step <= 5; ++step) moveTo(&window, grip + QPoint(5 * step, 0));
    releaseAt(&window, grip + QPoint(25, 0));
    EXPECT_NEAR(slider->positionLeftValue() - before, 0.1f, 1e-5);
    EXPECT_FLOAT_EQ(slider->positionRightValue() - slider->positionLeftValue(), 0.25f);

    // Dragged far past either end, the span stops on the track's ends with its length kept.
    const QPoint again = visibleCentre(slider->videoPositionView(), &window);
    pressAt(&window, again);
    for (int step = 1; step <= 4; ++step) moveTo(&window, again + QPoint(60 * step, 0));
    releaseAt(&window, again + QPoint(240, 0));
    EXPECT_FLOAT_EQ(slider->positionRightValue(), 1.0f);
    EXPECT_FLOAT_EQ(slider->positionRightValue() - slider->positionLeftValue(), 0.25f);
    const QPoint back = visibleCentre(slider->videoPositionView(), &window);
    pressAt(&window, back);
    for (int step = 1; step <= 4; ++step) moveTo(&window, back - QPoint(80 * step, 0));
    releaseAt(&window, back - QPoint(320, 0));
    EXPECT_FLOAT_EQ(slider->positionLeftValue(), 0.0f);
    EXPECT_FLOAT_EQ(slider->positionRightValue(), 0.25f);
    slider->setDelegate(nullptr);
}

// The play-position knob reaches both ends of the video when dragged with the pointer.
TEST(MusicRangeSliderInAWindow, TheKnobReachesBothEnds) {
    QWidget window;
    window.resize(700, 60);
    auto* slider = new MusicRangeSlider(QRectF(220, 10, 260, 30), &window);
    RangeRecorder recorder;
    slider->setDelegate(&recorder);
    slider->setEnable(false);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QPoint grip = visibleCentre(slider->tickMarkView(), &window);
    pressAt(&window, grip);
    for (int step = 1; step <= 5; ++step) moveTo(&window, grip + QPoint(60 * step, 0));
    releaseAt(&window, grip + QPoint(300, 0));
    EXPECT_FLOAT_EQ(slider->progress(), 1.0f);
    const QPoint end = visibleCentre(slider->tickMarkView(), &window);
    pressAt(&window, end);
    for (int step = 1; step <= 5; ++step) moveTo(&window, end - QPoint(60 * step, 0));
    releaseAt(&window, end - QPoint(300, 0));
    EXPECT_FLOAT_EQ(slider->progress(), 0.0f);
    slider->setDelegate(nullptr);
}

TEST(MusicRangeSliderNarrow, ASliderWithoutATrackReportsZeroes) {
    QWidget host;
    host.resize(100, 60);
    MusicRangeSlider slider(QRectF(0, 0, 10, 30), &host);
    slider.setEnable(true);
    dragBy(slider.rightMoveView(), 5);
    dragBy(slider.leftMoveView(), 5);
    EXPECT_EQ(slider.positionLeftValue(), 0.0f);
    EXPECT_EQ(slider.positionRightValue(), 0.0f);
    slider.setEnable(false);
    dragBy(slider.tickMarkView(), 5);
    EXPECT_EQ(slider.progress(), 0.0f);
}

}  // namespace

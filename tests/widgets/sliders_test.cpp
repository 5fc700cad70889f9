// The value sliders: the volume slider in both orientations and the splitter's progress slider.
// Press, drag and release reports, knob placing for owner values, the disabled state and the
// parts' frames after a resize.
#include <gtest/gtest.h>

#include <QWidget>
#include <string>
#include <vector>

#include "tests/support/user_input.h"
#include "widgets/rd_progress_slider.h"
#include "widgets/slider_geometry.h"
#include "widgets/view_frame.h"
#include "widgets/volume_progress_slider.h"

using namespace kestrel::widgets;
using kestrel::test::sendMove;
using kestrel::test::sendPress;
using kestrel::test::sendRelease;

namespace {

struct Report {
    std::string kind;
    float value;
};

class VolumeRecorder : public VolumeProgressSliderDelegate {
public:
    std::vector<Report> reports;
    void actionMouseUpForProgressSliderBlock(VolumeProgressSlider*, float p) override { reports.push_back({"up", p}); }
    void actionMouseDownForProgressSliderBlock(VolumeProgressSlider*, float p) override {
        reports.push_back({"down", p});
    }
    void actionProgressForProgressSliderBlock(VolumeProgressSlider*, float p) override {
        reports.push_back({"value", p});
    }
};

class ProgressRecorder : public RDProgressSliderDelegate {
public:
    std::vector<Report> reports;
    void actionMouseUpForProgressSliderBlock(RDProgressSlider*, float p) override { reports.push_back({"up", p}); }
    void actionMouseDownForProgressSliderBlock(RDProgressSlider*, float p) override { reports.push_back({"down", p}); }
    void actionProgressForProgressSliderBlock(RDProgressSlider*, float p) override { reports.push_back({"value", p}); }
};

std::vector<std::string> kinds(const std::vector<Report>& reports) {
    std::vector<std::string> out;
    for (const Report& r : reports) out.push_back(r.kind);
    return out;
}

class SliderTest : public ::testing::Test {
protected:
    void SetUp() override { host.resize(400, 400); }
    QWidget host;
    VolumeRecorder volume;
    ProgressRecorder progress;
};

TEST_F(SliderTest, HorizontalVolumeSliderReportsPressDragAndReleaseInOrder) {
    VolumeProgressSlider slider(QRectF(0, 0, 200, 20), &host, Construction::FromInterfaceFile);
    slider.setDelegate(&volume);
    EXPECT_EQ(viewFrame(slider.progressBackView()), QRectF(0, 8, 200, 4));
    EXPECT_EQ(slider.progressBackView()->imageName(), "ZantImage/Reverse/imgBack.bmp");
    slider.setProgress(0.25f);
    // Knob centre to the pointer, within half a knob of each end: 110 -> knob 100 of 180.
    sendPress(&slider, {110, 10});
    sendMove(&slider, {500, 10});
    sendMove(&slider, {-50, 10});
    sendRelease(&slider, {-50, 10});
    ASSERT_EQ(kinds(volume.reports), (std::vector<std::string>{"down", "value", "value", "value", "up"}));
    EXPECT_EQ(volume.reports[0].value, 0.25f) << "the press reports the value from before it";
    EXPECT_FLOAT_EQ(volume.reports[1].value, 100.0f / 180.0f);
    EXPECT_EQ(volume.reports[2].value, 1.0f);
    EXPECT_EQ(volume.reports[3].value, 0.0f);
    EXPECT_EQ(volume.reports[4].value, 0.0f);
    EXPECT_EQ(slider.progress(), 0.0f);
}

TEST_F(SliderTest, VerticalVolumeSliderRunsUpwardsAndASquareOneIsVertical) {
    VolumeProgressSlider slider(QRectF(0, 0, 20, 200), &host);
    slider.setDelegate(&volume);
    EXPECT_EQ(viewFrame(slider.progressBackView()), QRectF(8, 0, 4, 200));
    EXPECT_EQ(viewFrame(slider.tickMarkView()), QRectF(0, 0, 20, 20));
    // The top of the widget is value 1, the bottom 0; the fill grows up to the knob's centre.
    sendPress(&slider, {10, 0});
    EXPECT_EQ(volume.reports.back().value, 1.0f);
    EXPECT_DOUBLE_EQ(viewFrame(slider.tickMarkView()).y(), 180);
    EXPECT_DOUBLE_EQ(viewFrame(slider.progressTintView()).height(), 190);
    sendMove(&slider, {10, 110});
    EXPECT_FLOAT_EQ(volume.reports.back().value, 80.0f / 180.0f);
    sendMove(&slider, {10, 200});
    EXPECT_EQ(volume.reports.back().value, 0.0f);
    sendRelease(&slider, {10, 200});

    VolumeProgressSlider square(QRectF(0, 0, 30, 30), &host);
    EXPECT_EQ(viewFrame(square.progressBackView()), QRectF(13, 0, 4, 30));
    EXPECT_EQ(viewFrame(square.tickMarkView()), QRectF(0, 0, 30, 30));
}

TEST_F(SliderTest, OwnerValuesPlaceTheKnobWithinTheBarAndAreStoredUnchanged) {
    VolumeProgressSlider slider(QRectF(0, 0, 200, 20), &host);
    slider.setDelegate(&volume);
    slider.setProgress(0.5f);
    EXPECT_DOUBLE_EQ(viewFrame(slider.tickMarkView()).x(), 90);
    EXPECT_DOUBLE_EQ(viewFrame(slider.progressTintView()).width(), 100);
    slider.setProgress(1.5f);
    EXPECT_EQ(slider.progress(), 1.5f);
    EXPECT_DOUBLE_EQ(viewFrame(slider.tickMarkView()).x(), 180);
    slider.setProgress(-0.5f);
    EXPECT_EQ(slider.progress(), -0.5f);
    EXPECT_DOUBLE_EQ(viewFrame(slider.tickMarkView()).x(), 0);
    EXPECT_TRUE(volume.reports.empty());
    // Re-centring ignores the value; the next placing follows it again.
    slider.setTickrefresh(true);
    EXPECT_EQ(viewFrame(slider.tickMarkView()).topLeft(), QPointF(90, 0));
    slider.setProgress(1.0f);
    EXPECT_DOUBLE_EQ(viewFrame(slider.tickMarkView()).x(), 180);
}

TEST_F(SliderTest, DisabledSlidersNeitherMoveNorReport) {
    VolumeProgressSlider slider(QRectF(0, 0, 200, 20), &host);
    slider.setDelegate(&volume);
    RDProgressSlider splitter(QRectF(0, 50, 300, 20), &host);
    splitter.setDelegate(&progress);
    slider.setDisable(true);
    splitter.setDisable(true);
    for (QWidget* w : {static_cast<QWidget*>(&slider), static_cast<QWidget*>(&splitter)}) {
        sendPress(w, {100, 10});
        sendMove(w, {150, 10});
        sendRelease(w, {150, 10});
    }
    EXPECT_TRUE(volume.reports.empty());
    EXPECT_TRUE(progress.reports.empty());
    EXPECT_EQ(slider.progress(), 0.0f);
    EXPECT_EQ(splitter.progress(), 0.0f);
}

TEST_F(SliderTest, AClickMovesTheKnobWhateverTheDelegateImplements) {
    VolumeProgressSlider slider(QRectF(0, 0, 200, 20), &host);
    sendPress(&slider, {190, 10});
    sendRelease(&slider, {190, 10});
    EXPECT_EQ(slider.progress(), 1.0f);
}

TEST_F(SliderTest, ProgressSliderDragsAndFollowsItsSizeByItsMasks) {
    RDProgressSlider slider(QRectF(0, 0, 300, 20), &host);
    slider.setDelegate(&progress);
    EXPECT_EQ(viewFrame(slider.progressBackView()), QRectF(0, 6, 300, 8));
    EXPECT_EQ(slider.progressBackView()->imageName(), "ZantImage/Split/pbBottom.bmp");
    slider.setProgress(0.5f);
    // Fill to the knob's left edge plus half the slider's height.
    EXPECT_DOUBLE_EQ(viewFrame(slider.tickMarkView()).x(), 140);
    EXPECT_DOUBLE_EQ(viewFrame(slider.progressTintView()).width(), 150);
    sendPress(&slider, {1000, 10});
    sendRelease(&slider, {1000, 10});
    ASSERT_EQ(kinds(progress.reports), (std::vector<std::string>{"down", "value", "up"}));
    EXPECT_EQ(progress.reports[0].value, 0.5f);
    EXPECT_EQ(progress.reports[1].value, 1.0f);

    slider.setFrame(QRectF(0, 0, 600, 20));
    EXPECT_EQ(viewFrame(slider.progressBackView()), QRectF(0, 6, 600, 8));
    EXPECT_DOUBLE_EQ(viewFrame(slider.tickMarkView()).x(), 580);
    EXPECT_DOUBLE_EQ(viewFrame(slider.progressTintView()).width(), 590);
}

TEST_F(SliderTest, LoadedProgressSliderKeepsItsKnobSizeWhenResized) {
    RDProgressSlider slider(QRectF(0, 0, 300, 20), &host, Construction::FromInterfaceFile);
    EXPECT_EQ(slider.progressBackView()->imageName(), "Cut/imgBack.bmp");
    slider.setFrame(QRectF(0, 0, 300, 40));
    EXPECT_EQ(viewFrame(slider.progressBackView()), QRectF(0, 12, 300, 16));
    EXPECT_EQ(viewFrame(slider.tickMarkView()).size(), QSizeF(20, 20));
    // Both margins were empty, so the change is shared equally: the knob stays centred.
    EXPECT_DOUBLE_EQ(viewFrame(slider.tickMarkView()).y(), 10);
}

TEST_F(SliderTest, ATallProgressSliderStillDragsHorizontallyWithoutDividingByZero) {
    RDProgressSlider slider(QRectF(0, 0, 20, 100), &host);
    slider.setDelegate(&progress);
    sendPress(&slider, {10, 50});
    sendMove(&slider, {15, 10});
    sendRelease(&slider, {15, 10});
    for (const Report& r : progress.reports) EXPECT_EQ(r.value, 0.0f) << r.kind;
}

TEST(SliderGeometry, KnobDragTable) {
    struct Case {
        double pointer, trackStart, trackLength, knob;
        double knobOffset;
        float value;
    } cases[] = {
        {110, 0, 200, 20, 100, 100.0f / 180.0f},
        {-5, 0, 200, 20, 0, 0.0f},
        {999, 0, 200, 20, 180, 1.0f},
        // A track that starts inside the slider: the knob stays on the track, values in [0, 1].
        {0, 30, 140, 20, 30, 0.0f},
        {999, 30, 140, 20, 150, 1.0f},
        // No room to move: value 0.
        {50, 0, 20, 20, 0, 0.0f},
    };
    for (const Case& c : cases) {
        const slider::KnobDrag drag = slider::dragKnob(c.pointer, c.trackStart, c.trackLength, c.knob);
        EXPECT_DOUBLE_EQ(drag.knobOffset, c.knobOffset) << c.pointer;
        EXPECT_FLOAT_EQ(drag.value, c.value) << c.pointer;
        EXPECT_DOUBLE_EQ(drag.fillLength, c.knobOffset + c.knob / 2);
    }
    EXPECT_EQ(slider::knobOffsetForValue(std::nanf(""), 200, 20), 0);
}

}  // namespace

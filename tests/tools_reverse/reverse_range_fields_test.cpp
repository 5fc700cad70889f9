// The reverse tool's two groups of time fields, typed into and stepped as a person does: each
// group's steppers step the field last pressed in that group, and a field emptied and left gets
// its text back instead of being read as 0.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/reverse/reverse_view_controller.h"
#include "widgets/rd_text_field.h"
#include "widgets/xj_graphic_button.h"
#include "widgets/zor_button.h"
#include "widgets/rd_cut_progress_view.h"

namespace kestrel::test {
namespace {

using kestrel::tools::reverse::ReverseViewController;

// 6 s of a moving picture with a tone.
const std::string& sixSecondClip() {
    static TempDir dir;
    static const std::string path = [] {
        const std::string p = dir.file("six.mp4");
        FixtureSpec spec;
        spec.duration_s = 6;
        makeMedia(p, spec);
        return p;
    }();
    return path;
}

std::unique_ptr<ReverseViewController> openView() {
    auto view = std::make_unique<ReverseViewController>();
    view->setFilePath(QString::fromStdString(sixSecondClip()));
    view->resize(1200, 700);
    view->show();
    activate(view.get());
    EXPECT_TRUE(waitUntil([&] { return view->total_us() > 0; }, 20000));
    return view;
}

// Clicks the trim bar's track at a fraction of it (off the handles), which moves the play head.
void pressTrackAt(kestrel::widgets::RDCutProgressView* bar, double fraction) {
    const QRect track = drawnTrack(bar);
    clickAt(bar, QPoint(track.x() + int(track.width() * fraction), track.center().y()));
}

// Empties a field as a person does (select all, delete) and leaves it with Tab.
void emptyAndLeave(QLineEdit* field) {
    click(field);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Tab);
}

TEST(ReverseRangeFields, EachGroupsSteppersStepTheFieldPressedInThatGroup) {
    auto view = openView();
    // At first the start group's seconds field is the one the steppers act on.
    EXPECT_TRUE(view->startTimeUpBtn->isEnabled());
    EXPECT_FALSE(view->stopTimeUpBtn->isEnabled());
    click(view->startTimeUpBtn);
    EXPECT_EQ(view->start_us(), 1000000);

    // The end's seconds field pressed: the end's steppers take over.
    click(view->endFields[2]);
    EXPECT_TRUE(view->stopTimeDownBtn->isEnabled());
    EXPECT_FALSE(view->startTimeDownBtn->isEnabled());
    // The end set at the play head (about 3.5 s) rewrites every field; the steppers still step
    // the seconds pressed before.
    pressTrackAt(view->cutTimeSlider, 0.58);
    click(view->rightCutBtn);
    const int64_t end = view->end_us();
    ASSERT_GT(end, 2500000);
    ASSERT_LT(end, 4500000);
    click(view->stopTimeDownBtn);
    EXPECT_NEAR(double(view->end_us()), double(end - 1000000), 1000.0);
    click(view->stopTimeUpBtn);
    EXPECT_NEAR(double(view->end_us()), double(end), 1000.0);

    // The milliseconds field of the start pressed: its steppers step milliseconds.
    click(view->startFields[3]);
    click(view->startTimeUpBtn);
    EXPECT_EQ(view->start_us(), 1001000);
}

TEST(ReverseRangeFields, AnEmptiedFieldGetsItsTextBackAndIsNotReadAsZero) {
    auto view = openView();
    typeInto(view->startFields[2], QStringLiteral("03"), Commit::Tab);
    ASSERT_EQ(view->start_us(), 3000000);
    emptyAndLeave(view->startFields[2]);
    EXPECT_EQ(view->startFields[2]->text(), QStringLiteral("03"));
    EXPECT_EQ(view->start_us(), 3000000);
    // The next field typed in the group reads the restored seconds.
    typeInto(view->startFields[3], QStringLiteral("500"), Commit::Tab);
    EXPECT_EQ(view->start_us(), 3500000);
    // The same for the end.
    emptyAndLeave(view->endFields[1]);
    EXPECT_EQ(view->endFields[1]->text(), QStringLiteral("00"));
    EXPECT_EQ(view->end_us(), view->total_us());
}

}  // namespace
}  // namespace kestrel::test

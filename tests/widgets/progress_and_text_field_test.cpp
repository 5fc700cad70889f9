// The progress view (fill, percent text, resize) and the time and value text field (starts
// disabled, presses go to the mouse delegate, insertion point colour).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <limits>

#include "tests/support/user_input.h"
#include "widgets/ns_progress_view.h"
#include "widgets/rd_text_field.h"
#include "widgets/view_frame.h"

using namespace kestrel::widgets;

namespace {

TEST(NSProgressView, FillFollowsTheFractionWithinTheTrackAndTheTextOnlyWhenAsked) {
    QWidget host;
    host.resize(300, 100);
    NSProgressView view(QRectF(0, 0, 200, 20), &host);
    EXPECT_EQ(viewFrame(view.progressTintView()).width(), 0);
    EXPECT_TRUE(view.progressLabel()->text().isEmpty());
    EXPECT_EQ(viewFrame(view.progressLabel()), QRectF(0, 2, 200, 16));

    view.setProgress(0.5f);
    EXPECT_EQ(viewFrame(view.progressTintView()).width(), 100);
    EXPECT_TRUE(view.progressLabel()->text().isEmpty()) << "the text is off by default";
    view.setIsShowProgressLabel(true);
    EXPECT_TRUE(view.progressLabel()->text().isEmpty()) << "switching it on waits for the next value";
    view.setProgress(0.456f);
    EXPECT_EQ(view.progressLabel()->text(), "46%");
    view.setProgress(1.0f);
    EXPECT_EQ(viewFrame(view.progressTintView()).width(), 200);
    // Values outside 0..1 are held to the track: never a fill past its end or "150%".
    struct Outside {
        float value;
        float stored;
        double fillWidth;
        const char* text;
    } outside[] = {{1.5f, 1.0f, 200, "100%"},
                   {-0.25f, 0.0f, 0, "0%"},
                   {std::numeric_limits<float>::quiet_NaN(), 0.0f, 0, "0%"},
                   {std::numeric_limits<float>::infinity(), 0.0f, 0, "0%"}};
    for (const Outside& c : outside) {
        view.setProgress(c.value);
        EXPECT_EQ(view.progress(), c.stored) << c.value;
        EXPECT_EQ(viewFrame(view.progressTintView()).width(), c.fillWidth) << c.value;
        EXPECT_EQ(view.progressLabel()->text(), c.text) << c.value;
    }
    view.setProgress(0.75f);
    view.setIsShowProgressLabel(false);
    view.setProgress(0.1f);
    EXPECT_EQ(view.progressLabel()->text(), "75%") << "with the text off an older percentage stays";

    view.setProgress(0.5f);
    view.setFrame(QRectF(0, 0, 400, 30));
    EXPECT_EQ(viewFrame(view.progressBackView()), QRectF(0, 0, 400, 30));
    EXPECT_EQ(viewFrame(view.progressTintView()).width(), 200);
    EXPECT_EQ(viewFrame(view.progressTintView()).height(), 20) << "the fill keeps its height";
    EXPECT_EQ(viewFrame(view.progressLabel()), QRectF(0, 2, 200, 16)) << "the text keeps its frame";
}

TEST(NSProgressView, PercentText) {
    struct Case {
        float value;
        const char* text;
    } cases[] = {{0.0f, "0%"}, {0.5f, "50%"}, {0.456f, "46%"}, {0.004f, "0%"}, {1.0f, "100%"}};
    for (const Case& c : cases) EXPECT_EQ(progressPercentText(c.value), c.text) << c.value;
}

class PressCounter : public RDTextFieldDelegate {
public:
    int presses = 0;
    RDTextField* last = nullptr;
    void actionMouseDownForTextFieldBlock(RDTextField* field) override {
        ++presses;
        last = field;
    }
};

TEST(RDTextField, StartsDisabledAndGivesPressesToItsMouseDelegate) {
    QWidget host;
    host.resize(200, 100);
    RDTextField inCode(QRectF(10, 10, 60, 22), &host);
    RDTextField loaded(QRectF(10, 40, 60, 22), &host, Construction::FromInterfaceFile);
    RDTextField plain;
    EXPECT_FALSE(inCode.isEnabled());
    EXPECT_FALSE(loaded.isEnabled());
    EXPECT_FALSE(plain.isEnabled());

    PressCounter counter;
    inCode.setMouseDelegate(&counter);
    inCode.setText("12");
    kestrel::test::sendPress(&inCode, {5, 5});
    kestrel::test::sendRelease(&inCode, {5, 5});
    EXPECT_EQ(counter.presses, 0) << "a disabled field ignores presses";

    inCode.setEnabled(true);
    inCode.setCursorPosition(2);
    kestrel::test::sendPress(&inCode, {1, 5});
    kestrel::test::sendRelease(&inCode, {1, 5});
    EXPECT_EQ(counter.presses, 1);
    EXPECT_EQ(counter.last, &inCode);
    EXPECT_EQ(inCode.cursorPosition(), 2) << "the field's own press handling did not run";

    // Without a delegate a press does nothing at all.
    inCode.setMouseDelegate(nullptr);
    kestrel::test::sendPress(&inCode, {1, 5});
    EXPECT_EQ(inCode.cursorPosition(), 2);
    EXPECT_EQ(inCode.text(), "12");
}

TEST(RDTextField, InsertionPointColourOnFocus) {
    RDTextField field;
    field.setEnabled(true);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    field.setTintCursorColor(Qt::green);
    QApplication::sendEvent(&field, &focusIn);
    EXPECT_EQ(field.insertionPointColor(), QColor(Qt::black)) << "no point colour means black";

    field.setPointColor(Qt::red);
    QApplication::sendEvent(&field, &focusIn);
    EXPECT_EQ(field.insertionPointColor(), QColor(Qt::red));
    field.setTintCursorColor(Qt::blue);
    EXPECT_EQ(field.insertionPointColor(), QColor(Qt::blue));
    EXPECT_EQ(field.pointColor(), QColor(Qt::red)) << "the tint colour is not stored";
}

}  // namespace

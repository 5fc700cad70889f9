// Exact frames and autoresizing, which every bar and slider of the kit relies on.
#include <gtest/gtest.h>

#include <QWidget>

#include "platform/frame.h"
#include "widgets/view_frame.h"
#include "widgets/widget_frame.h"

using namespace kestrel::widgets;

namespace {

TEST(ViewFrame, KeepsFractionalFramesAndKeepsChildrenOnTheBottomEdge) {
    QWidget parent;
    parent.resize(200, 100);
    QWidget child(&parent);
    setViewFrame(&child, QRectF(10.25, 20.5, 30.5, 10));
    EXPECT_EQ(viewFrame(&child), QRectF(10.25, 20.5, 30.5, 10));
    // Edges are rounded, not origin and size: 10.25 .. 40.75 across, 69.5 .. 79.5 down.
    EXPECT_EQ(child.geometry(), QRect(10, 70, 31, 10));
    // Moved by other means: the frame is read back from the geometry.
    child.move(40, 70);
    EXPECT_EQ(viewFrame(&child), QRectF(40, 20, 31, 10));

    setViewFrame(&child, QRectF(10.25, 20.5, 30.5, 10));
    parent.resize(200, 150);
    reapplyChildFrames(&parent);
    EXPECT_EQ(viewFrame(&child), QRectF(10.25, 20.5, 30.5, 10));
    EXPECT_EQ(child.geometry().y(), 120) << "same distance from the bottom edge: 150 - 30.5, rounded";
}

TEST(WidgetFrame, PlacesByTheParentsBottomLeftOriginUnlessTheParentIsFlipped) {
    QWidget parent;
    parent.resize(400, 300);
    QWidget child(&parent);
    setFrame(&child, {5, 10, 40, 20});
    EXPECT_EQ(child.geometry(), QRect(5, 270, 40, 20));
    EXPECT_EQ(frameOf(&child), QRectF(5, 10, 40, 20));
    EXPECT_EQ(boundsOf(&child), QRectF(0, 0, 40, 20));
    platform::setFlipped(&parent, true);
    setFrame(&child, {5, 10, 40, 20});
    EXPECT_EQ(child.geometry(), QRect(5, 10, 40, 20));
    EXPECT_EQ(frameOf(&child), QRectF(5, 10, 40, 20));
    QWidget window;
    setFrame(&window, {30, 40, 100, 50});
    EXPECT_EQ(window.geometry(), QRect(30, 40, 100, 50)) << "a window is placed as a top-left frame";
}

TEST(ViewFrame, AutoresizingSharesTheChangeAmongFlexibleParts) {
    const QSizeF before(100, 50), after(200, 70);
    const QRectF frame(10, 10, 20, 10);
    struct Case {
        int mask;
        QRectF expected;
    } cases[] = {
        {kViewNotSizable, frame},
        {kViewWidthSizable, QRectF(10, 10, 120, 10)},
        {kViewMinXMargin, QRectF(110, 10, 20, 10)},
        // Margins 10 and 70 share 100 as 10 : 70.
        {kViewMinXMargin | kViewMaxXMargin, QRectF(10 + 100.0 * 10 / 80, 10, 20, 10)},
        {kViewMinXMargin | kViewWidthSizable | kViewMaxXMargin | kViewMinYMargin | kViewHeightSizable |
             kViewMaxYMargin,
         QRectF(20, 14, 40, 14)},
    };
    for (const Case& c : cases) EXPECT_EQ(autoresizedFrame(frame, before, after, c.mask), c.expected) << c.mask;
    // Flexible parts that are all empty share the change equally.
    EXPECT_EQ(autoresizedFrame(QRectF(0, 0, 100, 50), before, after, kViewMinYMargin | kViewMaxYMargin),
              QRectF(0, 10, 100, 50));
}

}  // namespace

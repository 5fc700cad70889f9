#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "editor/rd_ui_cliper.h"

using kestrel::editor::RDUICliper;

namespace {
struct Recorder : kestrel::editor::RDUICliperDelegate {
    int begins = 0, moves = 0, ends = 0;
    QRectF last;
    void actionMoveBeginForRDUICliperBlock(RDUICliper*, const QRectF&) override { ++begins; }
    void actionMovedForRDUICliperBlock(RDUICliper*, const QRectF& r) override { ++moves; last = r; }
    void actionMoveEndForRDUICliperBlock(RDUICliper*, const QRectF& r) override { ++ends; last = r; }
};

struct CliperFixture : ::testing::Test {
    QWidget host;
    RDUICliper* cliper = nullptr;
    Recorder recorder;
    void SetUp() override {
        host.resize(400, 300);
        cliper = new RDUICliper(QRectF(0, 0, 400, 300), &host);
        cliper->setVideoSize({800, 600});
        cliper->setDelegate(&recorder);
        cliper->setClipRect({100, 100, 200, 100});
    }
    // The user's hand on the widget, in the overlay's bottom-left points.
    QPoint qt(QPointF p) const { return QPoint(int(p.x()), int(cliper->height() - p.y())); }
    void drag(QPointF from, QPointF to) {
        QTest::mousePress(cliper, Qt::LeftButton, {}, qt(from));
        QTest::mouseMove(cliper, qt((from + to) / 2));
        QTest::mouseMove(cliper, qt(to));
        QTest::mouseRelease(cliper, Qt::LeftButton, {}, qt(to));
    }
    // What the user sees: the veils, after the overlay has painted.
    QRectF shownBox() {
        cliper->grab();
        return cliper->veilRect();
    }
};
}  // namespace

TEST_F(CliperFixture, BoxIsAtLeast60AndAtMostTheOverlay) {
    cliper->setClipRect({10, 10, 30, 30});
    EXPECT_EQ(cliper->getclipRectFrame(), QRectF(10, 10, 60, 60));
    cliper->setClipRect({0, 0, 900, 100});
    EXPECT_EQ(cliper->getclipRectFrame().width(), 400);
    EXPECT_EQ(cliper->veilRect(), cliper->getclipRectFrame());
    EXPECT_DOUBLE_EQ(cliper->getclipRectScale(), 2.0);
    EXPECT_EQ(cliper->getclipRect(), QRectF(0, 0, 800, 200));
}

TEST_F(CliperFixture, PressZonesFollowTheEdgeTolerances) {
    const struct { QPointF p; int zone; } cases[] = {
        {{110, 175}, RDUICliper::kTopLeft},  {{295, 195}, RDUICliper::kTopRight},
        {{105, 105}, RDUICliper::kBottomLeft}, {{300, 100}, RDUICliper::kBottomRight},
        {{100, 150}, RDUICliper::kLeft},    {{300, 150}, RDUICliper::kRight},
        {{200, 200}, RDUICliper::kTop},     {{200, 100}, RDUICliper::kBottom},
        {{200, 150}, RDUICliper::kInside},
    };
    for (const auto& c : cases) {
        cliper->releaseAt({0, 0});
        cliper->pressAt(c.p);
        EXPECT_EQ(cliper->cropTouchPoint(), c.zone) << c.p.x() << "," << c.p.y();
    }
    // Inside, near the top edge but off its middle: the top edge is grabbed.
    cliper->releaseAt({0, 0});
    cliper->pressAt({125, 175});
    EXPECT_EQ(cliper->cropTouchPoint(), RDUICliper::kTop);
}

TEST_F(CliperFixture, APressInsideNearAnEdgeGrabsThatEdge) {
    cliper->show();
    const QRectF start(100, 50, 200, 200);
    const struct {
        QPointF press, to;
        QRectF box;  // after the drag
    } cases[] = {
        {{125, 235}, {125, 280}, {100, 50, 200, 230}},  // top edge, left of its middle
        {{110, 100}, {50, 100}, {50, 50, 250, 200}},    // left edge, below its middle
        {{290, 200}, {350, 200}, {100, 50, 250, 200}},  // right edge, above its middle
        {{150, 60}, {150, 20}, {100, 20, 200, 230}},    // bottom edge, left of its middle
        {{200, 150}, {220, 160}, {120, 60, 200, 200}},  // the middle still moves the box
    };
    for (const auto& c : cases) {
        cliper->setClipRect(start);
        drag(c.press, c.to);
        EXPECT_EQ(shownBox(), c.box) << c.press.x() << "," << c.press.y();
        EXPECT_EQ(recorder.last, c.box);
    }
    // Far from the box nothing is grabbed, nothing changes and nothing is reported.
    cliper->setClipRect(start);
    const int moves = recorder.moves;
    drag({20, 280}, {60, 260});
    EXPECT_EQ(shownBox(), start);
    EXPECT_EQ(recorder.moves, moves);
}

TEST_F(CliperFixture, TheBoxIsTheOverlaysOwnAndAChosenRatioSurvivesThePress) {
    cliper->show();
    cliper->setCropType(3);  // square
    EXPECT_EQ(cliper->getclipRectFrame(), QRectF(50, 0, 300, 300));
    EXPECT_EQ(shownBox(), QRectF(50, 0, 300, 300));
    EXPECT_EQ(cliper->getclipRectFrame(), QRectF(50, 0, 300, 300));  // painting keeps it
    // The next press grabs the square, and a move keeps its shape.
    drag({200, 150}, {180, 150});
    EXPECT_EQ(cliper->getclipRectFrame(), QRectF(30, 0, 300, 300));
    EXPECT_EQ(recorder.last, QRectF(30, 0, 300, 300));
    // A drag mode keeps the box the user sees.
    cliper->setCropType(1);
    EXPECT_EQ(shownBox(), QRectF(30, 0, 300, 300));
    // Boxes set by their edges are shown and grabbed as they are.
    cliper->setclipEDGE({60, 60, 120, 120});
    EXPECT_EQ(shownBox(), QRectF(60, 60, 120, 120));
    cliper->ChangeclipEDGE(-10, 0, 0, 10);
    EXPECT_EQ(shownBox(), QRectF(50, 60, 130, 130));
    drag({55, 120}, {20, 120});  // its new left edge
    EXPECT_EQ(shownBox(), QRectF(20, 60, 160, 130));
}

TEST(CliperSizes, TheSmallestBoxNeverExceedsTheOverlay) {
    const struct {
        QSizeF overlay;
        QRectF asked, box;
    } cases[] = {
        {{400, 300}, {10, 10, 30, 30}, {10, 10, 60, 60}},
        {{40, 30}, {5, 5, 10, 10}, {0, 0, 40, 30}},       // smaller than the minimum: the whole overlay
        {{50, 200}, {10, 150, 20, 20}, {0, 140, 50, 60}}, // narrow: full width, pushed back onto it
        {{400, 300}, {380, 290, 100, 100}, {300, 200, 100, 100}},
        {{400, 300}, {-20, 0, 900, 100}, {0, 0, 400, 100}},
    };
    for (const auto& c : cases) {
        QWidget host;
        host.resize(c.overlay.toSize());
        auto* cliper = new RDUICliper(QRectF(QPointF(0, 0), c.overlay), &host);
        cliper->setClipRect(c.asked);
        EXPECT_EQ(cliper->getclipRectFrame(), c.box) << c.overlay.width() << "x" << c.overlay.height();
        EXPECT_EQ(cliper->veilRect(), c.box);
    }
}

TEST_F(CliperFixture, KeepRatioCornerDragsStayInsideThePicture) {
    cliper->show();
    cliper->setCropType(2);
    const struct {
        QPointF corner, to;
    } cases[] = {
        {{22, 138}, {0, 300}},    // top-left, far up and left
        {{138, 138}, {400, 300}}, // top-right
        {{22, 52}, {0, 0}},       // bottom-left
        {{138, 52}, {400, 0}},    // bottom-right
    };
    for (const auto& c : cases) {
        cliper->setClipRect({20, 50, 120, 90});
        drag(c.corner, c.to);
        const QRectF r = shownBox();
        EXPECT_GE(r.left(), 0) << c.to.x() << "," << c.to.y();
        EXPECT_GE(r.top(), 0);
        EXPECT_LE(r.right(), 400 + 1e-9);
        EXPECT_LE(r.bottom(), 300 + 1e-9);
        EXPECT_NEAR(r.width() / r.height(), 800.0 / 600.0, 0.01);
        EXPECT_GT(r.width(), 120) << "the box grows towards the pointer";
        EXPECT_EQ(recorder.last, cliper->getclipRectFrame());
    }
}

TEST_F(CliperFixture, DragsResizeAndMoveWithinLimits) {
    cliper->pressAt({100, 150});  // left middle
    cliper->dragTo({390, 150});
    EXPECT_DOUBLE_EQ(cliper->veilRect().x(), 300 - 40);
    cliper->releaseAt({390, 150});

    cliper->setClipRect({100, 100, 200, 100});
    cliper->pressAt({105, 105});  // bottom-left corner
    cliper->dragTo({395, 295});
    EXPECT_DOUBLE_EQ(cliper->veilRect().x(), 280);
    EXPECT_DOUBLE_EQ(cliper->veilRect().y(), 180);
    cliper->releaseAt({395, 295});

    cliper->setClipRect({100, 100, 200, 100});
    cliper->pressAt({200, 150});  // inside
    cliper->dragTo({900, 150});
    EXPECT_EQ(cliper->veilRect(), QRectF(200, 100, 200, 100));
    EXPECT_GT(recorder.moves, 0);
    EXPECT_EQ(recorder.last, QRectF(200, 100, 200, 100));
    EXPECT_TRUE(cliper->isMoving());
}

TEST_F(CliperFixture, KeepRatioCornersFollowThePictureShape) {
    cliper->setCropType(2);
    cliper->setClipRect({0, 0, 400, 300});
    cliper->pressAt({395, 295});  // top-right corner
    cliper->dragTo({300, 150});
    const QRectF r = cliper->veilRect();
    EXPECT_NEAR(r.width() / r.height(), 800.0 / 600.0, 0.01);
    EXPECT_DOUBLE_EQ(r.height(), 150);
}

TEST_F(CliperFixture, ClickWithoutMoveReportsTheEndOnlyForFileType1) {
    cliper->pressAt({200, 150});
    cliper->releaseAt({200, 150});
    EXPECT_EQ(recorder.ends, 0);
    cliper->setFileType(1);
    cliper->pressAt({200, 150});
    cliper->releaseAt({200, 150});
    EXPECT_EQ(recorder.ends, 1);
    EXPECT_EQ(recorder.last, QRectF(0.25, 1.0 / 3.0, 0.5, 1.0 / 3.0));
    EXPECT_EQ(recorder.begins, 2);
}

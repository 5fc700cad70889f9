#include <gtest/gtest.h>

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
    // Inside, but near the top edge and off its middle band: nothing is grabbed.
    cliper->releaseAt({0, 0});
    cliper->pressAt({125, 175});
    EXPECT_EQ(cliper->cropTouchPoint(), RDUICliper::kNone);
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

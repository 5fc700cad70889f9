#include <gtest/gtest.h>

#include "editor/editor_geometry.h"
#include "session/media/media_probe.h"

using namespace kestrel::editor;

namespace {
void expectRectNear(const QRectF& a, const QRectF& b, double eps = 0.01) {
    EXPECT_NEAR(a.x(), b.x(), eps);
    EXPECT_NEAR(a.y(), b.y(), eps);
    EXPECT_NEAR(a.width(), b.width(), eps);
    EXPECT_NEAR(a.height(), b.height(), eps);
}
}  // namespace

TEST(EditorGeometry, SplitsSecondsIntoTheFourFields) {
    const struct { float t; TimeParts parts; } cases[] = {
        {0.0f, {0, 0, 0, 0}},   {3725.5f, {1, 2, 5, 500}}, {59.25f, {0, 0, 59, 250}},
        {61.0f, {0, 1, 1, 0}},  {-3.0f, {0, 0, 0, 0}},     {7200.0f, {2, 0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitSeconds(c.t), c.parts) << c.t;
    EXPECT_DOUBLE_EQ(secondsFromParts({0, 0, 1, 500}), 1.5);
    EXPECT_DOUBLE_EQ(secondsFromParts({1, 2, 5, 500}), 3725.5);
    EXPECT_DOUBLE_EQ(secondsFromParts({0, 0, 1, 50}, 100), 1.5);
}

TEST(EditorGeometry, QuarterTurnsFollowTheTables) {
    const int lefts[][2] = {{0, 270}, {90, 0}, {180, 90}, {270, 180}, {360, 270}, {45, 45}};
    for (const auto& c : lefts) EXPECT_EQ(rotateLeft(c[0]), c[1]);
    const int rights[][2] = {{0, 90}, {90, 180}, {180, 270}, {270, 0}, {360, 90}, {-90, -90}};
    for (const auto& c : rights) EXPECT_EQ(rotateRight(c[0]), c[1]);
    for (int a : {90, 270, -90, -270}) EXPECT_EQ(rotatedSize({1920, 1080}, a), QSizeF(1080, 1920));
    for (int a : {0, 180, 360, 45}) EXPECT_EQ(rotatedSize({1920, 1080}, a), QSizeF(1920, 1080));
}

TEST(EditorGeometry, PictureRectangleFitsInsideThePreview) {
    expectRectNear(aspectFitRect({1920, 1080}, {0, 0, 800, 600}), {0, 75, 800, 450});
    expectRectNear(aspectFitRect({1080, 1920}, {0, 0, 800, 450}), {273.4375, 0, 253.125, 450});
    EXPECT_EQ(aspectFitRect({0, 0}, {0, 0, 800, 450}), QRectF());
}

TEST(EditorGeometry, OverlayBoxBecomesVideoPixelsAndEvenMargins) {
    const auto px = overlayToVideo({100.6, 50.2, 400, 300}, {800, 450}, {1920, 1080});
    ASSERT_TRUE(px);
    expectRectNear(*px, {241.44, 120.48, 960, 720});
    const kestrel::model::RECT m = cropMargins(*px, {1920, 1080});
    EXPECT_EQ(m, (kestrel::model::RECT{240, 238, 718, 120}));
    EXPECT_FALSE(overlayToVideo({0, 0, 1, 1}, {0, 0}, {1920, 1080}));
    const auto back = videoToOverlay(*px, {1920, 1080}, {800, 450});
    ASSERT_TRUE(back);
    expectRectNear(*back, {100.6, 50.2, 400, 300});
}

TEST(EditorGeometry, MarginsRoundDownToEven) {
    const struct { double in; int out; } cases[] = {{3.9, 2}, {4.0, 4}, {-0.5, 0}, {0, 0}, {7.99, 6}, {-3.5, -2}};
    for (const auto& c : cases) EXPECT_EQ(evenMargin(c.in), c.out) << c.in;
}

TEST(EditorGeometry, CropTypesCentreTheirBox) {
    expectRectNear(cropTypeRect(4, {400, 300}, {}), {0, 37.5, 400, 225});
    expectRectNear(cropTypeRect(4, {300, 400}, {}), {0, 115.625, 300, 168.75});
    expectRectNear(cropTypeRect(3, {400, 300}, {}), {50, 0, 300, 300});
    expectRectNear(cropTypeRect(1, {400, 300}, {}), {0, 0, 400, 300});
    expectRectNear(cropTypeRect(5, {400, 300}, {}), {115.625, 0, 168.75, 300});
    expectRectNear(cropTypeRect(6, {400, 300}, {}), {0, 0, 400, 300});
    expectRectNear(cropTypeRect(7, {400, 300}, {}), {87.5, 0, 225, 300});
    const QRectF keep(1, 2, 3, 4);
    EXPECT_EQ(cropTypeRect(9, {400, 300}, keep), keep);
}

TEST(EditorGeometry, SpinStepsStayInTheirRange) {
    EXPECT_EQ(stepCropValue(0, -1, 1080), 0);
    EXPECT_EQ(stepCropValue(1920, +1, 1920), 1920);
    EXPECT_EQ(stepCropValue(0, +1, 1920), 1);
    EXPECT_EQ(stepTimeValue(59, true, false), 59);
    EXPECT_EQ(stepTimeValue(999, true, true), 999);
    EXPECT_EQ(stepTimeValue(58, true, true), 59);
    EXPECT_EQ(stepTimeValue(0, false, false), 0);
    EXPECT_EQ(stepTimeValue(7, false, true), 6);
}

TEST(EditorGeometry, TypedCropValuesAreCheckedAgainstTheShownPicture) {
    const QSizeF landscape(1920, 1080);
    const QRectF whole(0, 0, 1920, 1080);
    EXPECT_FALSE(applyCropField(CropField::Width, 2000, whole, landscape, false));
    EXPECT_FALSE(applyCropField(CropField::Width, 0, whole, landscape, false));
    auto r = applyCropField(CropField::Width, 640, whole, landscape, true);
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->width(), 640);
    EXPECT_DOUBLE_EQ(r->height(), 360);
    // A top or left margin of 0 is a real crop position.
    r = applyCropField(CropField::Top, 0, {0, 0, 960, 540}, landscape, false);
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->y(), 1080 - 540);
    r = applyCropField(CropField::Left, 0, {100, 0, 960, 540}, landscape, false);
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->x(), 0);
    EXPECT_FALSE(applyCropField(CropField::Left, 1920, whole, landscape, false));
    EXPECT_FALSE(applyCropField(CropField::Top, -1, whole, landscape, false));
    // Turned a quarter: the limits are the turned picture's.
    const QSizeF portrait(1080, 1920);
    EXPECT_FALSE(applyCropField(CropField::Width, 1500, {0, 0, 1080, 1920}, portrait, false));
    r = applyCropField(CropField::Height, 1900, {0, 0, 1080, 1920}, portrait, false);
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->height(), 1900);
    // Left pushes the width back inside the frame.
    r = applyCropField(CropField::Left, 1000, whole, landscape, false);
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->x() + r->width(), 1920);
}

TEST(EditorGeometry, ThumbnailsAre180High) {
    const struct { int w, h, tw; } cases[] = {{1920, 1080, 320}, {1280, 720, 320}, {720, 480, 270}, {1080, 1920, 101}};
    for (const auto& c : cases) EXPECT_EQ(kestrel::session::thumbnailSize(c.w, c.h), QSize(c.tw, 180)) << c.w << "x" << c.h;
    EXPECT_EQ(kestrel::session::thumbnailSize(0, 0), QSize());
}

TEST(EditorGeometry, TypedCropsLandOnEvenMarginsAndTheWrittenSize) {
    using kestrel::model::RECT;
    const struct {
        QRectF typed;
        QSizeF frame;
        bool even, topTyped;
        RECT margins;
        QRectF written;
    } cases[] = {
        // 251 x 187 at the top-left of 320 x 240: sizes round down to even.
        {{0, 0, 251, 187}, {320, 240}, true, false, {0, 54, 70, 0}, {0, 0, 250, 186}},
        // The typed top edge is kept (rounded down to even), the bottom moves.
        {{32, 37, 250, 186}, {320, 240}, true, true, {32, 16, 38, 38}, {32, 38, 250, 186}},
        // An odd frame: the margins stay even and the export drops the odd column and row.
        {{5, 88, 200, 150}, {321, 241}, true, true, {4, 2, 116, 88}, {4, 89, 200, 150}},
        // An encoder that keeps any size writes the odd size as it is.
        {{4, 88, 201, 151}, {321, 241}, false, true, {4, 2, 116, 88}, {4, 88, 201, 151}},
        // Never less than two pixels.
        {{0, 0, 1, 1}, {320, 240}, true, false, {0, 238, 318, 0}, {0, 0, 2, 2}},
    };
    for (const auto& c : cases) {
        const RECT m = marginsForTypedRect(c.typed, c.frame, c.even, c.topTyped);
        EXPECT_EQ(m, c.margins) << c.typed.x() << "," << c.typed.y() << " " << c.typed.width() << "x" << c.typed.height();
        EXPECT_EQ(m.left % 2 + m.top % 2 + m.right % 2 + m.bottom % 2, 0);
        EXPECT_EQ(writtenCropRect(m, c.frame, c.even), c.written);
    }
    EXPECT_EQ(writtenLength(321, true), 320);
    EXPECT_EQ(writtenLength(321, false), 321);
    EXPECT_EQ(writtenLength(1, true), 2);
}

// Watermark arithmetic: pixel edges, engine records, time fields, the stacking search and the
// placement box's zones and drags.
#include <gtest/gtest.h>

#include <cstring>

#include "editor/watermark/water_box_geometry.h"
#include "editor/watermark/watermark_stacking.h"
#include "editor/watermark/watermark_time_fields.h"
#include "session/edit/watermark_records.h"

using namespace kestrel::editor;
using namespace kestrel::session;

TEST(WatermarkRecords, FractionsBecomeTruncatedPixelEdgesWithTheYAxisFlipped) {
    struct Case {
        QRectF fractions;
        int left, top, right, bottom;
    };
    const Case cases[] = {
        {QRectF(0.25, 0.25, 0.5, 0.25), 480, 540, 1440, 810},
        // (1 - 0.6) x 1080 is a hair below 432 in double precision: truncated, not rounded.
        {QRectF(0.1, 0.2, 0.3, 0.4), 192, 431, 768, 864},
        {QRectF(0, 0, 1, 1), 0, 0, 1920, 1080},
    };
    for (const Case& c : cases) {
        const PixelEdges e = pixelEdgesFromFractions(c.fractions, 1920, 1080);
        EXPECT_EQ(e.left, c.left);
        EXPECT_EQ(e.top, c.top);
        EXPECT_EQ(e.right, c.right);
        EXPECT_EQ(e.bottom, c.bottom);
    }
}

TEST(WatermarkRecords, EachRecordCarriesTheWatermarksOwnTimeWindow) {
    kestrel::model::WaterParam mark;
    mark.waterType = 2;
    mark.waterImagePath = "/tmp/logo.png";
    mark.waterPercentClipRect = QRectF(0.5, 0.5, 0.25, 0.25);
    mark.waterAlph = 25.7;
    mark.startTime = 5;
    mark.duration = 2;
    mark.fileStartTime = 1.5f;
    mark.fileEndTime = 3;
    const auto image = makeImageWatermarkRecord(mark.waterImagePath, mark, 320, 240);
    ASSERT_TRUE(image);
    EXPECT_STREQ(image->path, "/tmp/logo.png");
    EXPECT_EQ(image->transparency, 25);
    EXPECT_EQ(image->start_us, 5000000);
    EXPECT_EQ(image->end_us, 7000000);
    EXPECT_EQ(image->left, 160);
    EXPECT_EQ(image->top, 60);
    const auto video = makeVideoWatermarkRecord(mark, 320, 240);
    ASSERT_TRUE(video);
    EXPECT_EQ(video->file_start_us, 1500000);
    EXPECT_EQ(video->file_end_us, 3000000);
    EXPECT_EQ(video->transparency, 25);
    EXPECT_EQ(video->zero0, 0);
}

TEST(WatermarkRecords, TextRecordScalesTheFontToVideoPixels) {
    kestrel::model::WaterParam mark;
    mark.waterType = 4;
    mark.waterText = "Hello";
    mark.waterFontName = "DejaVu Sans";
    mark.waterFontSize = 30;
    mark.waterViewFrameWidth = 160;  // the overlay was half the frame's width
    mark.waterFontColor = QColor(255, 0, 0);
    mark.waterPercentClipRect = QRectF(0.25, 0.5, 0.5, 0.1);
    const TextWatermarkRecord r = makeTextWatermarkRecord(mark, 320, 240, 0);
    EXPECT_STREQ(r.text, "Hello");
    EXPECT_STREQ(r.font_name, "DejaVu Sans");
    EXPECT_EQ(r.font_size, 60);
    EXPECT_EQ(r.x, 80);
    EXPECT_EQ(r.y, 120);  // counted from the bottom
    EXPECT_EQ(r.right, 240);
    EXPECT_EQ(r.colour, 0xFF000000u);
}

TEST(WatermarkRecords, LongTextIsCutAtACharacterAndALongPathIsRefused) {
    char field[8];
    EXPECT_TRUE(copyUtf8Field(field, sizeof field, "abc"));
    EXPECT_STREQ(field, "abc");
    // "aé€" is 1 + 2 + 3 bytes; a 5-byte field holds 4 bytes: "aé" and no half of the euro sign.
    char small[5];
    EXPECT_FALSE(copyUtf8Field(small, sizeof small, QString::fromUtf8("aé€")));
    EXPECT_STREQ(small, "aé");

    kestrel::model::WaterParam mark;
    mark.waterImagePath = "/" + QString(300, 'x');
    EXPECT_FALSE(makeImageWatermarkRecord(mark.waterImagePath, mark, 100, 100));
    EXPECT_FALSE(makeVideoWatermarkRecord(mark, 100, 100));
}

TEST(WatermarkTimeFields, HundredthsAreWrittenAndReadBackInTheSameUnit) {
    EXPECT_EQ(hundredthsTexts(3725.25), (QStringList{"01", "02", "05", "25"}));
    EXPECT_EQ(hundredthsTexts(0.999), (QStringList{"00", "00", "00", "99"}));
    EXPECT_EQ(hundredthsTexts(360000).first(), "100");
    EXPECT_DOUBLE_EQ(secondsFromHundredthsTexts("01", "02", "05", "25"), 3725.25);
    // What is shown is what is read back: 25 hundredths are a quarter second, not 25 ms.
    const QStringList shown = hundredthsTexts(12.5);
    EXPECT_DOUBLE_EQ(secondsFromHundredthsTexts(shown[0], shown[1], shown[2], shown[3]), 12.5);
    EXPECT_EQ(steppedFieldValue(99, +1, true), 99);
    EXPECT_EQ(steppedFieldValue(59, +1, false), 59);
    EXPECT_EQ(steppedFieldValue(0, -1, false), 0);
}

TEST(WatermarkStacking, BoxesStackUpwardThenWrapToTheNextColumn) {
    const QRectF proposed(0, 0, 50, 40);
    EXPECT_EQ(intersectsRect(proposed, {}, 100), proposed);
    EXPECT_EQ(intersectsRect(proposed, {QRectF(0, 0, 100, 40)}, 100), QRectF(0, 40, 50, 40));
    EXPECT_EQ(intersectsRect(proposed, {QRectF(0, 0, 100, 40), QRectF(0, 40, 100, 40)}, 100), QRectF(100, 1, 50, 40));
    // Sharing an edge is no overlap.
    EXPECT_EQ(intersectsRect(QRectF(100, 0, 10, 10), {QRectF(0, 0, 100, 40)}, 100), QRectF(100, 0, 10, 10));
}

TEST(WatermarkStacking, ZeroSizedBoxesNeverMakeTheSearchEndless) {
    // A zero-height obstacle could not move the box; a zero-sized box inside a real one still ends.
    const QRectF found = intersectsRect(QRectF(0, 0, 20, 20), {QRectF(0, 0, 30, 0), QRectF(0, 0, 0, 30)}, 100);
    EXPECT_EQ(found, QRectF(0, 0, 20, 20));
    const QRectF point = intersectsRect(QRectF(5, 5, 0, 0), {QRectF(0, 0, 30, 30)}, 100);
    EXPECT_EQ(point.y(), 35);
    // A preview too small for any column: the search stops at its bound instead of hanging.
    intersectsRect(QRectF(0, 0, 50, 50), {QRectF(-1000, -1000, 5000, 5000)}, 10);
}

TEST(WaterBoxGeometry, ZonesOfAPictureBox) {
    const QRectF box(100, 100, 100, 60);  // L 100, R 200, B 100, T 160
    struct Case {
        QPointF p;
        WaterZone zone;
    };
    const Case cases[] = {
        {{102, 158}, kZoneTopLeft}, {{198, 158}, kZoneTopRight},  {{102, 102}, kZoneBottomLeft},
        {{198, 102}, kZoneBottomRight}, {{105, 130}, kZoneLeft}, {{195, 130}, kZoneRight},
        {{150, 158}, kZoneTop},     {{150, 102}, kZoneBottom},    {{150, 130}, kZoneBody},
        {{125, 102}, kZoneNone},    {{300, 300}, kZoneNone},
    };
    for (const Case& c : cases) EXPECT_EQ(waterZoneAt(box, c.p, true), c.zone) << c.p.x() << "," << c.p.y();
    // A text box is always moved whole; a picture box 30 wide has no body.
    EXPECT_EQ(waterZoneAt(box, {102, 158}, false), kZoneBody);
    EXPECT_EQ(waterZoneAt(QRectF(0, 0, 30, 60), {15, 30}, true), kZoneLeft);
}

TEST(WaterBoxGeometry, DragsResizeWithinTheirLimitsAndMovesStayInside) {
    const QSizeF view(320, 240);
    const QRectF box(100, 100, 100, 60);
    // The left middle handle stops 40 points from the right edge, the right one 10 from the left.
    EXPECT_EQ(dragWaterBox(kZoneLeft, box, {300, 130}, view, false, {}, {})->width(), 40);
    EXPECT_EQ(dragWaterBox(kZoneRight, box, {0, 130}, view, false, {}, {})->width(), 10);
    // A body move past an edge stops flush against it.
    EXPECT_EQ(dragWaterBox(kZoneBody, box, {5, 5}, view, false, {}, {50, 30})->topLeft(), QPointF(0, 0));
    EXPECT_EQ(dragWaterBox(kZoneBody, box, {400, 400}, view, false, {}, {50, 30})->topLeft(), QPointF(220, 180));
    // Keeping the aspect: middles do nothing, corners keep the ratio (2:1 picture).
    EXPECT_FALSE(dragWaterBox(kZoneLeft, box, {50, 130}, view, true, {200, 100}, {}));
    const QRectF corner = *dragWaterBox(kZoneBottomRight, QRectF(100, 100, 100, 50), {260, 90}, view, true, {200, 100}, {});
    EXPECT_NEAR(corner.width() / corner.height(), 2.0, 1e-4);
    EXPECT_EQ(corner.top() + corner.height(), 150);  // the top edge stays
    // The bottom-left corner no longer runs below the view.
    const QRectF low = *dragWaterBox(kZoneBottomLeft, QRectF(100, 10, 100, 50), {0, 0}, view, true, {100, 100}, {});
    EXPECT_GE(low.y(), 0);
}

TEST(WaterBoxGeometry, BoxesSetFromOutsideAreLimitedAndFractionsFollowTheView) {
    EXPECT_EQ(limitedWaterBox(QRectF(160, 120, 0, 0), {320, 240}), QRectF(160, 120, 10, 10));
    EXPECT_EQ(limitedWaterBox(QRectF(0, 0, 900, 900), {320, 240}), QRectF(0, 0, 320, 240));
    EXPECT_EQ(fractionsOfView(QRectF(80, 60, 160, 120), {320, 240}), QRectF(0.25, 0.25, 0.5, 0.5));
    EXPECT_EQ(fractionsOfView(QRectF(1, 1, 1, 1), {0, 0}), QRectF());
}

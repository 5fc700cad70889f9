#include <gtest/gtest.h>

#include <QDateTime>
#include <QFontDatabase>
#include <QImage>
#include <cmath>
#include <limits>
#include <vector>

#include "services/help_class.h"

using services::HelpClass;

TEST(HelpTimeText, SecondsBecomeMillisecondTextsWithoutLosingPrecision) {
    const struct { double seconds; const char* text; } cases[] = {
        {0, "00:00:00.000"},
        {1.001, "00:00:01.001"},          // float arithmetic would give .000
        {double(1.001f), "00:00:01.001"},  // a value that went through a float
        {75.5, "00:01:15.500"},
        {3725.5, "01:02:05.500"},
        {59.9994, "00:00:59.999"},
        {59.9996, "00:01:00.000"},        // rounds up with a carry, never ".1000"
        {3599.9994, "00:59:59.999"},
        {3599.9996, "01:00:00.000"},
        {0.0004, "00:00:00.000"},
        {360000.25, "100:00:00.250"},      // hours are not wrapped
        {-5, "00:00:00.000"},
        {-0.0001, "00:00:00.000"},
        {std::numeric_limits<double>::quiet_NaN(), "00:00:00.000"},
    };
    for (const auto& c : cases) EXPECT_EQ(HelpClass::returnTimeToStr(c.seconds), c.text) << c.seconds;

    const QString edge = HelpClass::returnTimeToStr(3599.9995);
    EXPECT_TRUE(edge == "00:59:59.999" || edge == "01:00:00.000") << edge.toStdString();
    EXPECT_FALSE(HelpClass::returnTimeToStr(std::numeric_limits<double>::infinity()).isEmpty());

    EXPECT_EQ(HelpClass::returnTimeToCutFileName(75.5), "000115.500");
    EXPECT_EQ(HelpClass::returnTimeToCutFileName(3725.001), "010205.001");
    EXPECT_EQ(HelpClass::timeTextFromMilliseconds(3723004), "01:02:03.004");
    EXPECT_EQ(HelpClass::timeTextFromMilliseconds(-1), "00:00:00.000");
}

TEST(HelpTimeText, GivenPartsAreShownAsTheyAre) {
    EXPECT_EQ(HelpClass::retrnTimeToStr(1, 2, 3, 4), "01:02:03.004");
    EXPECT_EQ(HelpClass::retrnTimeToStr(0, -1, 61, 1000), "00:00:61.1000");
    EXPECT_EQ(HelpClass::retrnTimeToStr(123, 0, 0, 0), "123:00:00.000");
}

TEST(HelpFilename, IsTheCurrentLocalTimeAsFourteenDigits) {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QString name = HelpClass::createFilename();
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    ASSERT_EQ(name.size(), 14);
    const QDateTime parsed = QDateTime::fromString(name, "yyyyMMddHHmmss");
    ASSERT_TRUE(parsed.isValid());
    EXPECT_GE(parsed, before.addMSecs(-before.time().msec()));
    EXPECT_LE(parsed, after);
}

TEST(HelpColour, PacksRedGreenBlueIntoTheTopThreeBytes) {
    const struct { QColor colour; uint32_t word; } cases[] = {
        {QColor(255, 0, 0), 0xFF000000u},
        {QColor(255, 255, 255), 0xFFFFFF00u},
        {QColor(0, 0, 0, 0), 0x00000000u},
        {QColor(128, 64, 1, 10), 0x80400100u},  // 8-bit values survive, alpha dropped
        {QColor(18, 52, 86), 0x12345600u},
        {QColor::fromRgbF(0.5f, 0.25f, 1.0f), 0x7F3FFF00u},  // x 255 truncated
        {QColor::fromHsv(120, 255, 255), 0x00FF0000u},
        {QColor(), 0u},
    };
    for (const auto& c : cases) EXPECT_EQ(HelpClass::retDwordColorVolue(c.colour), c.word) << std::hex << c.word;
}

TEST(HelpText, MeasuringWidensAndHandlesMissingTextAndFont) {
    const QRectF empty = HelpClass::getWidthOfText("", 500, 100);
    EXPECT_EQ(empty.width(), 4.0);
    const QRectF shortText = HelpClass::getWidthOfText("Cut", 1000, 100);
    const QRectF longText = HelpClass::getWidthOfText("Cut the selected range", 1000, 100);
    EXPECT_GT(shortText.width(), 4.0);
    EXPECT_GT(longText.width(), shortText.width());

    QFont small = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    small.setPointSizeF(8);
    EXPECT_LT(HelpClass::getWidthOfText("Cut", 1000, 100, small).width(), shortText.width());

    // A narrow box wraps the text onto more lines, so the height form grows.
    const QString words = "one two three four five six seven eight";
    const QRectF wide = HelpClass::getHeightOfText(words, 2000, 1000);
    const QRectF narrow = HelpClass::getHeightOfText(words, 80, 1000);
    EXPECT_GT(narrow.height(), wide.height());
    EXPECT_EQ(HelpClass::getHeightOfText("", 10, 10).height(), 4.0);
}

TEST(HelpText, ButtonTitlesCarryTheRequestedStyle) {
    const QString family = QFontDatabase::families().value(0);
    ASSERT_FALSE(family.isEmpty());
    const auto plain = HelpClass::retButtonTitle("Export", QColor(), family, 0, false, 0);
    EXPECT_EQ(plain.text, "Export");
    EXPECT_EQ(plain.color, QColor(Qt::black));
    EXPECT_EQ(plain.alignment, Qt::AlignHCenter);
    ASSERT_TRUE(plain.hasFont);
    EXPECT_EQ(plain.font.pointSizeF(), 12.0);
    EXPECT_EQ(plain.shadowBlurRadius, 0.0);
    EXPECT_EQ(plain.shadowColor, QColor(Qt::black));

    const auto shadowed = HelpClass::retButtonTitle("Export", Qt::white, family, 16, true, 1);
    EXPECT_EQ(shadowed.font.pointSizeF(), 16.0);
    EXPECT_EQ(shadowed.alignment, Qt::AlignRight);
    EXPECT_EQ(shadowed.shadowBlurRadius, 2.0);
    EXPECT_EQ(shadowed.shadowOffset, QPointF(1.0, 2.0));

    const auto unknownFont = HelpClass::retButtonTitle("Export", Qt::red, "No Such Font 12345", 16, true, 4);
    EXPECT_FALSE(unknownFont.hasFont);
    EXPECT_FALSE(unknownFont.hasShadow);
    EXPECT_EQ(unknownFont.color, QColor(Qt::red));
    EXPECT_EQ(unknownFont.alignment, Qt::AlignLeft);
    EXPECT_TRUE(HelpClass::retButtonTitle("", Qt::red, family, 16, true, 0).isEmpty());
}

TEST(HelpPictures, CentredCropFillsTheTargetWithItsAspect) {
    const struct { QSize source, target; QRect crop; } cases[] = {
        {{1920, 1080}, {100, 100}, {420, 0, 1080, 1080}},
        {{1080, 1920}, {100, 100}, {0, 420, 1080, 1080}},
        {{1000, 1000}, {100, 100}, {0, 0, 1000, 1000}},  // no column lost to float rounding
        {{1920, 1080}, {1280, 720}, {0, 0, 1920, 1080}},
        {{100, 50}, {10, 10}, {25, 0, 50, 50}},
        {{101, 50}, {10, 10}, {25, 0, 50, 50}},
        {{640, 480}, {1920, 1080}, {0, 60, 640, 360}},
        {{0, 480}, {10, 10}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HelpClass::centredCropRect(c.source, c.target), c.crop)
            << c.source.width() << "x" << c.source.height() << " -> " << c.target.width() << "x" << c.target.height();
    }

    // Left quarter red, middle green, right quarter blue: a square crop keeps only green.
    QImage bands(200, 100, QImage::Format_RGB32);
    bands.fill(Qt::green);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 50; ++x) {
            bands.setPixel(x, y, qRgb(255, 0, 0));
            bands.setPixel(199 - x, y, qRgb(0, 0, 255));
        }
    const QImage resized = HelpClass::resizeImage(bands, QSize(40, 40));
    ASSERT_EQ(resized.size(), QSize(40, 40));
    for (const QPoint p : {QPoint(0, 0), QPoint(39, 0), QPoint(0, 39), QPoint(39, 39), QPoint(20, 20)})
        EXPECT_EQ(QColor(resized.pixel(p)), QColor(Qt::green)) << p.x() << "," << p.y();
    EXPECT_TRUE(HelpClass::resizeImage(QImage(), QSize(10, 10)).isNull());
}

TEST(HelpPictures, WatermarkIsStampedUnscaledInTheTopRightCorner) {
    QImage frame(100, 80, QImage::Format_RGB32);
    frame.fill(Qt::black);
    QImage mark(10, 10, QImage::Format_ARGB32);
    mark.fill(Qt::red);
    mark.setPixel(0, 9, qRgba(0, 0, 0, 0));  // transparent pixels let the frame through
    const QImage stamped = HelpClass::addwaterImage(frame, mark);
    ASSERT_EQ(stamped.size(), frame.size());
    EXPECT_EQ(QColor(stamped.pixel(90, 0)), QColor(Qt::red));
    EXPECT_EQ(QColor(stamped.pixel(99, 9)), QColor(Qt::red));
    EXPECT_EQ(QColor(stamped.pixel(90, 9)), QColor(Qt::black));
    EXPECT_EQ(QColor(stamped.pixel(89, 0)), QColor(Qt::black));
    EXPECT_EQ(QColor(stamped.pixel(99, 10)), QColor(Qt::black));
    EXPECT_EQ(QColor(stamped.pixel(0, 79)), QColor(Qt::black));
}

TEST(HelpPictures, BgraFramesBecomePngWithTheSamePixels) {
    uint8_t tiny[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const QByteArray tinyPng = HelpClass::GDIPlusBGRASaveImgFileA(2, 1, tiny);
    EXPECT_EQ(std::vector<uint8_t>(tiny, tiny + 8), (std::vector<uint8_t>{3, 2, 1, 4, 7, 6, 5, 8}));
    EXPECT_TRUE(tinyPng.startsWith("\x89PNG"));

    const int w = 17, h = 9;
    std::vector<uint8_t> frame(size_t(w) * h * 4);
    for (size_t i = 0; i < frame.size(); i += 4) {
        frame[i] = uint8_t(i * 7);       // blue
        frame[i + 1] = uint8_t(i * 13);  // green
        frame[i + 2] = uint8_t(i * 29);  // red
        frame[i + 3] = 255;
    }
    frame[3] = 0;  // one fully transparent pixel (premultiplied: colour 0)
    frame[0] = frame[1] = frame[2] = 0;
    const std::vector<uint8_t> original = frame;
    const QByteArray png = HelpClass::GDIPlusBGRASaveImgFileA(w, h, frame.data());
    const QImage decoded = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(decoded.size(), QSize(w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* px = &original[(size_t(y) * w + x) * 4];
            EXPECT_EQ(decoded.pixel(x, y), qRgba(px[2], px[1], px[0], px[3])) << x << "," << y;
        }

    EXPECT_TRUE(HelpClass::GDIPlusBGRASaveImgFileA(0, 5, frame.data()).isEmpty());
    EXPECT_TRUE(HelpClass::GDIPlusBGRASaveImgFileA(5, 5, nullptr).isEmpty());
}

TEST(HelpPictures, SplitScreenLinesAreFullOnTheBorderAndHalfInside) {
    const QColor red(Qt::red);
    const auto alphaAt = [](const QImage& img, int x, int y) { return qAlpha(img.pixel(x, y)); };

    const QImage single = HelpClass::screenImage({QRectF(0, 0, 1, 1)}, QSizeF(100, 100), red, 10);
    ASSERT_EQ(single.size(), QSize(100, 100));
    EXPECT_EQ(QColor(single.pixel(2, 50)), red);   // left border: half of 10 falls inside
    EXPECT_EQ(QColor(single.pixel(97, 50)), red);
    EXPECT_EQ(QColor(single.pixel(50, 2)), red);
    EXPECT_EQ(alphaAt(single, 7, 50), 0);
    EXPECT_EQ(alphaAt(single, 50, 50), 0);

    const QImage two = HelpClass::screenImage({QRectF(0, 0, 0.5, 1), QRectF(0.5, 0, 1, 1)}, QSizeF(100, 100), red, 10);
    EXPECT_EQ(QColor(two.pixel(49, 50)), red);
    EXPECT_EQ(QColor(two.pixel(51, 50)), red);
    EXPECT_EQ(alphaAt(two, 54, 50), 0);  // the shared line is 5 wide, not 10
    EXPECT_EQ(alphaAt(two, 45, 50), 0);

    // Fractions count from the top-left corner.
    const QImage quarter = HelpClass::screenImage({QRectF(0, 0, 0.5, 0.5)}, QSizeF(100, 100), red, 10);
    EXPECT_EQ(QColor(quarter.pixel(50, 25)), red);
    EXPECT_EQ(alphaAt(quarter, 50, 75), 0);
    EXPECT_EQ(QColor(quarter.pixel(25, 1)), red);
    EXPECT_EQ(alphaAt(quarter, 75, 1), 0);

    const QImage blank = HelpClass::screenImage({}, QSizeF(20, 10), red);
    ASSERT_EQ(blank.size(), QSize(20, 10));
    EXPECT_EQ(alphaAt(blank, 10, 5), 0);
    EXPECT_TRUE(HelpClass::screenImage({QRectF(0, 0, 1, 1)}, QSizeF(0, 10), red).isNull());
}

TEST(HelpPictures, FlipTurnsRowsUpsideDownOnly) {
    QImage img(3, 2, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(255, 0, 0));
    img.setPixel(1, 0, qRgb(0, 255, 0));
    img.setPixel(2, 0, qRgb(0, 0, 255));
    for (int x = 0; x < 3; ++x) img.setPixel(x, 1, qRgb(9, 9, 9));
    const QImage flipped = HelpClass::turnUpsideDownAndMirrorSourceImage(img);
    EXPECT_EQ(flipped.pixel(0, 1), qRgb(255, 0, 0));
    EXPECT_EQ(flipped.pixel(2, 1), qRgb(0, 0, 255));
    EXPECT_EQ(flipped.pixel(1, 0), qRgb(9, 9, 9));
    EXPECT_TRUE(HelpClass::turnUpsideDownAndMirrorSourceImage(QImage()).isNull());
}

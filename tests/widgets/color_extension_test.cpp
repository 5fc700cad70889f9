#include <gtest/gtest.h>

#include <QWidget>

#include "widgets/color_extension.h"
#include "widgets/view_extension.h"

using namespace kestrel::widgets;

TEST(ColorExtension, PackedFormsAgreeOnTheWorkedBlue) {
    const QColor blue = colorWithRGB(0x21B0EB);
    EXPECT_EQ(blue.toRgb(), QColor(33, 176, 235));
    EXPECT_EQ(colorWithHexBGRString("EBB021").toRgb(), blue.toRgb());
    EXPECT_EQ(colorWithHexBGRString("ffebb021").toRgb(), blue.toRgb());
    EXPECT_EQ(colorWithDecimalBGRValue(15446049).toRgb(), blue.toRgb());
    EXPECT_EQ(hexBGRStringValue(blue), "ebb021");
    EXPECT_EQ(decimalBGRIntValue(blue), 15446049u);
    EXPECT_EQ(RGBValueArray(blue), (QList<int>{33, 176, 235}));
    EXPECT_EQ(colorWithRGB(0xFF21B0EB).toRgb(), blue.toRgb());  // bits above 23 ignored
}

TEST(ColorExtension, AlphaAndEdgeValues) {
    for (const char* bad : {"12345", "1234567", "123456789", ""}) EXPECT_FALSE(colorWithHexBGRString(bad).isValid()) << bad;
    EXPECT_EQ(colorWithHexBGRString("zz0000").toRgb(), QColor(0, 0, 0));  // unreadable pair reads as 0
    EXPECT_EQ(colorWithDecimalBGRValue(0x00FFFFFF).toRgb(), QColor(255, 255, 255, 255));
    const QColor faint = colorWithDecimalBGRValue(0x01000000);
    EXPECT_EQ(faint.alpha(), 1);
    EXPECT_EQ(faint.red() + faint.green() + faint.blue(), 0);
    EXPECT_EQ(colorWithRGBA(0xFF000000).toRgb(), QColor(0, 0, 0, 255));
    EXPECT_EQ(colorWithRGBA(0x000000FF).toRgb(), QColor(0, 0, 255, 0));
    EXPECT_EQ(hexBGRStringValue(QColor::fromRgbF(1, 1, 1)), "ffffff");
    // Every byte survives the round trip through a colour.
    for (unsigned v = 0; v < 256; ++v) {
        const QColor c = colorWithRGB(v << 16 | (255 - v) << 8 | v / 2);
        ASSERT_EQ(RGBValueArray(c), (QList<int>{int(v), int(255 - v), int(v / 2)})) << v;
    }
    EXPECT_EQ(hexBGRStringValue(QColor()), "");
    EXPECT_EQ(decimalBGRIntValue(QColor()), 0u);
    EXPECT_TRUE(RGBValueArray(QColor()).isEmpty());
}

TEST(ViewExtension, BackgroundColourReadsBackWhatWasSet) {
    QWidget view;
    EXPECT_FALSE(backgroundColor(&view).isValid());
    setBackgroundColor(&view, QColor(12, 34, 56));
    EXPECT_EQ(backgroundColor(&view), QColor(12, 34, 56));  // not always black
    EXPECT_EQ(view.grab().toImage().pixelColor(1, 1), QColor(12, 34, 56));

    view.resize(100, 50);
    view.show();
    auto* child = new QWidget(&view);
    QWidget* backdrop = insertVibrancyViewBlendingMode(&view, 1);
    ASSERT_NE(backdrop, nullptr);
    // Below every other child: first in stacking order.
    EXPECT_LT(view.children().indexOf(backdrop), view.children().indexOf(child));
    EXPECT_EQ(backdrop->geometry(), QRect(0, 0, 100, 50));
    view.resize(200, 80);
    EXPECT_EQ(backdrop->geometry(), QRect(0, 0, 200, 80));
}

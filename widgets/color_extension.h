#pragma once
// Colours from packed integers and BGR texts, and back. Stored colours elsewhere in the program
// are BGR (red in the low byte), so both directions live here.
#include <QColor>
#include <QList>
#include <QString>
#include <cstdint>

namespace kestrel::widgets {

// 0xRRGGBB (bits above 23 ignored), opaque or with the given alpha.
QColor colorWithRGB(std::uint32_t rgb);
QColor colorWithRGB(std::uint32_t rgb, double alpha);
// 0xAARRGGBB: alpha in the top byte.
QColor colorWithRGBA(std::uint32_t argb);
// "BBGGRR" or "AABBGGRR", either case; any other length gives an invalid colour. A pair that is
// not hexadecimal reads as 0.
QColor colorWithHexBGRString(const QString& text);
// 0xAABBGGRR: opaque below 2^24, else alpha from the top byte.
QColor colorWithDecimalBGRValue(std::uint64_t value);

// "bbggrr" in lowercase; "" when the colour cannot be read as RGB (an invalid colour).
QString hexBGRStringValue(const QColor& color);
// hexBGRStringValue read as one hexadecimal number; 0 when it is empty.
std::uint32_t decimalBGRIntValue(const QColor& color);
// Red, green, blue as 0..255; empty when the colour cannot be read as RGB.
QList<int> RGBValueArray(const QColor& color);

}  // namespace kestrel::widgets

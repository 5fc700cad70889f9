#include "widgets/color_extension.h"

namespace kestrel::widgets {
namespace {

// Each channel goes through single precision, as colours are built everywhere in the program.
QColor fromChannels(unsigned red, unsigned green, unsigned blue, double alpha) {
    QColor c;
    c.setRgbF(static_cast<float>(red) / 255.0f, static_cast<float>(green) / 255.0f,
              static_cast<float>(blue) / 255.0f, static_cast<float>(alpha));
    return c;
}

// 255.99998 maps 1.0 to 255 and keeps every exact channel value when truncated.
int channelByte(float component) { return static_cast<int>(component * 255.99998474121094f); }

unsigned hexPair(const QString& text, int at) {
    bool ok = false;
    const unsigned v = text.mid(at, 2).toUInt(&ok, 16);
    return ok ? v : 0;
}

}  // namespace

QColor colorWithRGB(std::uint32_t rgb) { return colorWithRGB(rgb, 1.0); }

QColor colorWithRGB(std::uint32_t rgb, double alpha) {
    return fromChannels((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF, alpha);
}

QColor colorWithRGBA(std::uint32_t argb) {
    return fromChannels((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF,
                        static_cast<float>((argb >> 24) & 0xFF) / 255.0f);
}

QColor colorWithHexBGRString(const QString& text) {
    if (text.size() == 8) {
        return fromChannels(hexPair(text, 6), hexPair(text, 4), hexPair(text, 2),
                            static_cast<float>(hexPair(text, 0)) / 255.0f);
    }
    if (text.size() == 6) return fromChannels(hexPair(text, 4), hexPair(text, 2), hexPair(text, 0), 1.0);
    return QColor();
}

QColor colorWithDecimalBGRValue(std::uint64_t value) {
    const double alpha = value < 0x1000000u ? 1.0 : static_cast<float>((value >> 24) & 0xFF) / 255.0f;
    return fromChannels(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF, alpha);
}

QString hexBGRStringValue(const QColor& color) {
    if (!color.isValid()) return QString();
    const QColor rgb = color.toRgb();
    return QString::asprintf("%02x%02x%02x", channelByte(rgb.blueF()), channelByte(rgb.greenF()),
                             channelByte(rgb.redF()));
}

std::uint32_t decimalBGRIntValue(const QColor& color) {
    const QString hex = hexBGRStringValue(color);
    return hex.isEmpty() ? 0u : hex.toUInt(nullptr, 16);
}

QList<int> RGBValueArray(const QColor& color) {
    if (!color.isValid()) return {};
    const QColor rgb = color.toRgb();
    return {channelByte(rgb.redF()), channelByte(rgb.greenF()), channelByte(rgb.blueF())};
}

}  // namespace kestrel::widgets

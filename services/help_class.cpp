#include "services/help_class.h"

#include <QBuffer>
#include <QDateTime>
#include <QDebug>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QPen>
#include <cmath>
#include <limits>

namespace services {

namespace {

// Beyond this many milliseconds (about 31,700 years) a time text has no meaning; it is capped so
// the conversion to an integer cannot overflow.
constexpr double kMaxTimeMilliseconds = 1e15;

int64_t roundedMilliseconds(double seconds) {
    if (!(seconds > 0)) return 0;  // negative and not-a-number
    const double ms = seconds * 1000.0;
    return ms >= kMaxTimeMilliseconds ? int64_t(kMaxTimeMilliseconds) : std::llround(ms);
}

struct TimeParts {
    int64_t hours, minutes, seconds, milliseconds;
};

TimeParts splitMilliseconds(int64_t total) {
    total = std::max<int64_t>(total, 0);
    return {total / 3600000, total / 60000 % 60, total / 1000 % 60, total % 1000};
}

QString part(int64_t value, int width) {
    return QStringLiteral("%1").arg(std::max<int64_t>(value, 0), width, 10, QLatin1Char('0'));
}

Qt::Alignment alignmentFromCode(int64_t code) {
    switch (code) {
        case 1: return Qt::AlignRight;
        case 3: return Qt::AlignJustify;
        case 4: return Qt::AlignLeft;
        default: return Qt::AlignHCenter;  // 0 and 2
    }
}

QRectF measuredText(const QString& text, double width, double height, const std::optional<QFont>& font) {
    if (text.isEmpty()) return QRectF(0, 0, 0, 0);
    QFont measuring = font ? *font : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (!font) measuring.setPointSizeF(30);
    const QFontMetricsF metrics(measuring);
    return metrics.boundingRect(QRectF(0, 0, width, height), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}

// 0..255 from a 0..1 component, truncated. The tiny allowance keeps an 8-bit value that went
// through Qt's 16-bit storage from dropping to the value below.
int byteOfComponent(double component) {
    const double scaled = std::floor(component * 255.0 + 1e-6);
    return int(std::clamp(scaled, 0.0, 255.0));
}

}  // namespace

QString HelpClass::createFilename() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
}

QString HelpClass::timeTextFromMilliseconds(int64_t milliseconds) {
    const TimeParts t = splitMilliseconds(milliseconds);
    return part(t.hours, 2) + ":" + part(t.minutes, 2) + ":" + part(t.seconds, 2) + "." + part(t.milliseconds, 3);
}

QString HelpClass::returnTimeToStr(double seconds) { return timeTextFromMilliseconds(roundedMilliseconds(seconds)); }

QString HelpClass::returnTimeToCutFileName(double seconds) {
    const TimeParts t = splitMilliseconds(roundedMilliseconds(seconds));
    return part(t.hours, 2) + part(t.minutes, 2) + part(t.seconds, 2) + "." + part(t.milliseconds, 3);
}

QString HelpClass::retrnTimeToStr(int hour, int min, int sec, int miosec) {
    return part(hour, 2) + ":" + part(min, 2) + ":" + part(sec, 2) + "." + part(miosec, 3);
}

ButtonTitle HelpClass::retButtonTitle(const QString& title, const QColor& color, const QString& fontName,
                                      int64_t fontSize, bool shadow, int64_t textAlignment) {
    ButtonTitle result;
    if (title.isEmpty()) return result;
    result.text = title;
    result.color = color.isValid() ? color : QColor(Qt::black);
    result.alignment = alignmentFromCode(textAlignment);
    if (!QFontDatabase::hasFamily(fontName)) return result;

    result.hasFont = true;
    result.font = QFont(fontName);
    result.font.setPointSizeF(fontSize > 0 ? double(fontSize) : 12.0);
    result.hasShadow = true;
    if (shadow) {
        result.shadowBlurRadius = 2.0;
        result.shadowColor = QColor(Qt::darkGray);
        result.shadowOffset = QPointF(1.0, 2.0);
    } else {
        result.shadowBlurRadius = 0;
        result.shadowColor = result.color;
        result.shadowOffset = QPointF(0, 0);
    }
    return result;
}

uint32_t HelpClass::retDwordColorVolue(const QColor& color) {
    if (!color.isValid()) {
        qDebug() << "exception: colour without RGB components";
        return 0;
    }
    const QColor rgb = color.toRgb();
    const uint32_t red = uint32_t(byteOfComponent(rgb.redF()));
    const uint32_t green = uint32_t(byteOfComponent(rgb.greenF()));
    const uint32_t blue = uint32_t(byteOfComponent(rgb.blueF()));
    return (red << 24) | (green << 16) | (blue << 8);
}

QRectF HelpClass::getWidthOfText(const QString& text, double width, double height, const std::optional<QFont>& font) {
    QRectF rect = measuredText(text, width, height, font);
    rect.setWidth(2 * rect.x() + rect.width() + 4);
    return rect;
}

QRectF HelpClass::getHeightOfText(const QString& text, double width, double height, const std::optional<QFont>& font) {
    QRectF rect = measuredText(text, width, height, font);
    rect.setHeight(2 * rect.y() + rect.height() + 4);
    return rect;
}

QRect HelpClass::centredCropRect(const QSize& source, const QSize& target) {
    const int64_t w = source.width(), h = source.height();
    const int64_t W = target.width(), H = target.height();
    if (w <= 0 || h <= 0 || W <= 0 || H <= 0) return {};
    // Compared as H/h >= W/w without division, so no rounding picks the wrong side.
    int64_t cropW = w, cropH = h;
    if (H * w >= W * h) cropW = std::max<int64_t>(1, W * h / H);
    else cropH = std::max<int64_t>(1, H * w / W);
    return QRect(int((w - cropW) / 2), int((h - cropH) / 2), int(cropW), int(cropH));
}

QImage HelpClass::resizeImage(const QImage& image, const QSize& size) {
    const QRect crop = centredCropRect(image.size(), size);
    if (image.isNull() || crop.isEmpty()) return {};
    QImage resized(size, QImage::Format_ARGB32_Premultiplied);
    resized.fill(Qt::transparent);
    QPainter painter(&resized);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), image, crop);
    return resized;
}

QImage HelpClass::addwaterImage(const QImage& image, const QImage& water) {
    if (image.isNull()) return {};
    QImage stamped(image.size(), QImage::Format_ARGB32_Premultiplied);
    stamped.fill(Qt::transparent);
    QPainter painter(&stamped);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), image);
    if (!water.isNull()) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(QPoint(image.width() - water.width(), 0), water);
    }
    return stamped;
}

QByteArray HelpClass::GDIPlusBGRASaveImgFileA(int32_t width, int32_t height, uint8_t* buffer) {
    if (!buffer || width <= 0 || height <= 0 || width > std::numeric_limits<int>::max() / 4) return {};
    const size_t pixels = size_t(width) * size_t(height);
    for (size_t i = 0; i < pixels; ++i) std::swap(buffer[i * 4], buffer[i * 4 + 2]);

    const QImage frame(buffer, width, height, width * 4, QImage::Format_RGBA8888_Premultiplied);
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    QImageWriter writer(&out, "png");
    if (!writer.write(frame)) return {};
    return png;
}

QImage HelpClass::screenImage(const QList<QRectF>& cells, const QSizeF& size, const QColor& borderColor,
                              float borderWidth) {
    const double W = size.width(), H = size.height();
    if (!(W > 0) || !(H > 0)) return {};
    QImage lines(QSize(int(std::ceil(W)), int(std::ceil(H))), QImage::Format_ARGB32_Premultiplied);
    lines.fill(Qt::transparent);
    QPainter painter(&lines);
    painter.setRenderHint(QPainter::Antialiasing);

    const auto same = [](double a, double b, double scale) { return std::abs(a - b) <= 1e-6 * scale; };
    const auto onBorder = [&](QPointF a, QPointF b) {
        return (same(a.x(), 0, W) && same(b.x(), 0, W)) || (same(a.x(), W, W) && same(b.x(), W, W)) ||
               (same(a.y(), 0, H) && same(b.y(), 0, H)) || (same(a.y(), H, H) && same(b.y(), H, H));
    };
    for (const QRectF& cell : cells) {
        const double x0 = cell.x() * W, y0 = cell.y() * H;
        const double x1 = cell.width() * W, y1 = cell.height() * H;
        const QPointF corners[4] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
        for (int i = 0; i < 4; ++i) {
            const QPointF a = corners[i], b = corners[(i + 1) % 4];
            const float lineWidth = onBorder(a, b) ? borderWidth : borderWidth / 2.0f;
            painter.setPen(QPen(borderColor, lineWidth, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(a, b);
        }
    }
    // Drawn straight in top-left coordinates, which is where the original's final flip of its
    // bottom-left drawing lands.
    return lines;
}

QImage HelpClass::turnUpsideDownAndMirrorSourceImage(const QImage& image) {
    if (image.isNull() || image.width() == 0 || image.height() == 0) return {};
    return image.mirrored(false, true);
}

}  // namespace services

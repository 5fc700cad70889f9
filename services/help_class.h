#pragma once
// Stateless helpers the tool windows share: the default output name, time texts, text
// measuring and button titles, the packed colour word of the engines, and the picture
// operations of the exports (resize with a centred crop, watermark stamp, BGRA frame to PNG,
// split-screen border lines, vertical flip).
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

namespace services {

// What a styled button title carries. Alignment 0 means centred. A font name that does not
// resolve leaves hasFont false and no shadow, as such titles carry only colour and alignment.
struct ButtonTitle {
    QString text;
    QColor color = Qt::black;
    Qt::Alignment alignment = Qt::AlignHCenter;
    bool hasFont = false;
    QFont font;
    bool hasShadow = false;     // set together with the font
    double shadowBlurRadius = 0;
    QColor shadowColor;
    QPointF shadowOffset;       // bottom-left coordinates: y grows upward

    bool isEmpty() const { return text.isEmpty(); }
};

class HelpClass {
public:
    HelpClass() = delete;

    // Local date and time as "yyyyMMddHHmmss": the default output base name.
    static QString createFilename();

    // "HH:MM:SS.mmm" of a time in seconds, rounded to the nearest millisecond; negative and
    // not-a-number times give 00:00:00.000; hours are not wrapped.
    static QString returnTimeToStr(double seconds);
    // The same parts without colons: "HHMMSS.mmm".
    static QString returnTimeToCutFileName(double seconds);
    // "HH:MM:SS.mmm" of a whole number of milliseconds (negative gives zero).
    static QString timeTextFromMilliseconds(int64_t milliseconds);
    // The four parts as given ("%02i:%02i:%02i.%03i"), each below 1 shown as 0, no carrying.
    static QString retrnTimeToStr(int hour, int min, int sec, int miosec);

    // Alignment by the original numbering: 0 and 2 centred, 1 right, 3 justified, 4 natural
    // (left). Size 0 or below means 12. No colour (invalid) means black.
    static ButtonTitle retButtonTitle(const QString& title, const QColor& color, const QString& fontName,
                                      int64_t fontSize, bool shadow, int64_t textAlignment);

    // 0xRRGGBB00: each of red, green and blue x 255, truncated; alpha dropped. An invalid
    // colour gives 0.
    static uint32_t retDwordColorVolue(const QColor& color);

    // Bounding rectangle of the text laid out (wrapping) in the box; no font means the system
    // font at 30. The width form widens the width to 2x + width + 4, the height form the height
    // to 2y + height + 4.
    static QRectF getWidthOfText(const QString& text, double width, double height,
                                 const std::optional<QFont>& font = std::nullopt);
    static QRectF getHeightOfText(const QString& text, double width, double height,
                                  const std::optional<QFont>& font = std::nullopt);

    // The part of a source picture that fills the target with its aspect kept, the overflow
    // cut evenly from both sides (in source pixels, top-left origin).
    static QRect centredCropRect(const QSize& source, const QSize& target);
    // A new picture of the target size filled by the centred crop of the image.
    static QImage resizeImage(const QImage& image, const QSize& size);
    // The image with the watermark drawn unscaled into its top-right corner.
    static QImage addwaterImage(const QImage& image, const QImage& water);

    // PNG data of a width x height BGRA frame (rows packed, top row first, alpha
    // premultiplied). Blue and red are swapped in the caller's buffer, which then holds RGBA.
    // Empty data for a non-positive size or a null buffer.
    static QByteArray GDIPlusBGRASaveImgFileA(int32_t width, int32_t height, uint8_t* buffer);

    // Transparent picture of the frame size with every cell's four edges stroked. Each cell is
    // given as corners: (x(), y()) one corner, (width(), height()) the opposite one, as
    // fractions of the frame counted from its top-left corner. Edges on the frame's border get
    // the full width, inner edges half of it so that two neighbours add up to the full width.
    // A frame with no area gives a null picture.
    static QImage screenImage(const QList<QRectF>& cells, const QSizeF& size, const QColor& borderColor,
                              float borderWidth = 10.0f);

    // The picture upside down (top row to bottom, left and right kept); null for a null or
    // empty picture.
    static QImage turnUpsideDownAndMirrorSourceImage(const QImage& image);
};

}  // namespace services

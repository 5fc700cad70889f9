#pragma once
// A view that shows one picture, scaled and aligned as the platform picture view does. It takes
// no mouse events of its own, so presses on it reach the control it belongs to.
#include <QPixmap>
#include <QRectF>
#include <QWidget>

namespace kestrel::widgets {

enum class ImageScaling { ProportionallyDown = 0, AxesIndependently = 1, None = 2, ProportionallyUpOrDown = 3 };

enum class ImageAlignment {
    Center = 0, Top = 1, TopLeft = 2, TopRight = 3, Left = 4,
    Bottom = 5, BottomLeft = 6, BottomRight = 7, Right = 8,
};

// Where a picture of imageSize (points) is drawn inside bounds (top-left origin).
QRectF imageRectInBounds(const QSizeF& imageSize, const QRectF& bounds, ImageScaling scaling,
                         ImageAlignment alignment);

// Size of a picture in points (a "@2x" pixmap counts half its pixels).
QSizeF pointSize(const QPixmap& pixmap);

class ImageView : public QWidget {
    Q_OBJECT
public:
    explicit ImageView(QWidget* parent = nullptr);

    void setImage(const QPixmap& image);
    const QPixmap& image() const { return image_; }
    void setImageScaling(ImageScaling scaling);
    ImageScaling imageScaling() const { return scaling_; }
    void setImageAlignment(ImageAlignment alignment);
    ImageAlignment imageAlignment() const { return alignment_; }
    // Kept for owners that set it; frames are not drawn.
    void setImageFrameStyle(int style) { frameStyle_ = style; }
    int imageFrameStyle() const { return frameStyle_; }
    void setTag(qint64 tag) { tag_ = tag; }
    qint64 tag() const { return tag_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Draws the platform picture; subclasses call it from their own painting.
    void drawPlatformImage(QPainter& painter) const;

private:
    QPixmap image_;
    ImageScaling scaling_ = ImageScaling::ProportionallyDown;
    ImageAlignment alignment_ = ImageAlignment::Center;
    int frameStyle_ = 0;
    qint64 tag_ = 0;
};

}  // namespace kestrel::widgets

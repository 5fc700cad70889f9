#pragma once
// The transparent overlay laid over the preview picture while a watermark is edited. It shows the
// selected watermark (a picture or a text) in a box with a dashed border; the box is moved by
// dragging its inside and a picture box is resized by its eight handles, freely or keeping the
// picture's aspect. Box values are overlay points with a bottom-left origin, y upward.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QWidget>

#include "editor/watermark/water_box_geometry.h"

namespace kestrel::editor {

class RDWaterView;

class RDWaterViewDelegate {
public:
    virtual ~RDWaterViewDelegate() = default;
    // At every press, with the zero rectangle.
    virtual void actionMouseMoveBeginForWaterViewBlock(RDWaterView* view, const QRectF& waterRect) {}
    // At every release, with the box as fractions of the overlay.
    virtual void actionMouseMoveEndForWaterViewBlock(RDWaterView* view, const QRectF& waterRect) {}
    // After every drag step, with the box in points.
    virtual void actionMouseMovedForWaterViewBlock(RDWaterView* view, const QRectF& waterRect) {}
};

class RDWaterView : public QWidget {
public:
    explicit RDWaterView(const QRectF& frame, QWidget* parent = nullptr);

    void setVideoSize(const QSizeF& size) { videoSize_ = size; }
    QSizeF videoSize() const { return videoSize_; }
    // New frame in the parent's bottom-left coordinates; the box keeps its point values.
    void setFrameRect(const QRectF& frame);
    void setClipRect(const QRectF& rect);
    QRectF getclipRectFrame() const { return cliprect_; }
    QRectF getPercentImageClipRect() const;
    QRectF getPercentTextClipRect() const;

    // 1 resize freely, 3 keep the picture's aspect (the box is reshaped to it at once).
    void setScale_Type(int type);
    int scale_Type() const { return scaleType_; }
    // 2 picture, 4 text; anything else draws nothing.
    void setMarkWaterType(int type);
    int markWaterType() const { return markWaterType_; }
    void setWaterMarkAlph(int transparency);
    int waterMarkAlph() const { return waterMarkAlph_; }
    void setWaterMark(const QImage& picture);
    const QImage& waterMark() const { return waterMark_; }
    void setWaterMarkString(const QString& text);
    const QString& waterMarkString() const { return waterMarkString_; }
    void setWaterMarkFont(const QFont& font) { waterMarkFont_ = font; update(); }
    const QFont& waterMarkFont() const { return waterMarkFont_; }
    void setWaterMarkColor(const QColor& colour) { waterMarkColor_ = colour; update(); }
    QColor waterMarkColor() const { return waterMarkColor_.isValid() ? waterMarkColor_ : QColor(Qt::white); }
    void setEnabledForEditing(bool enabled) { enabled_ = enabled; }
    bool enabledForEditing() const { return enabled_; }
    // Not owned; cleared by the owner before it goes away.
    void setDelegate(RDWaterViewDelegate* delegate) { delegate_ = delegate; }

    QSizeF viewSize() const { return QSizeF(width(), height()); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointF boxPoint(const QPointF& qtPoint) const;
    QRectF qtRectOf(const QRectF& box) const;
    bool hasContent() const;
    void updateHoverCursor(const QPointF& point);

    QRectF cliprect_;
    QSizeF videoSize_;
    WaterZone zone_ = kZoneNone;
    QPointF bodyOffset_;
    bool pressInside_ = false;
    bool enabled_ = true;
    int scaleType_ = 1;
    int markWaterType_ = 0;
    int waterMarkAlph_ = 0;
    QImage waterMark_;
    QString waterMarkString_;
    QFont waterMarkFont_;
    QColor waterMarkColor_;
    RDWaterViewDelegate* delegate_ = nullptr;
};

}  // namespace kestrel::editor

#pragma once
// The crop overlay laid over the preview picture: the user drags a box whose outside is veiled.
// The box is the overlay's own state, kept in its points with the origin at the bottom-left
// corner; every change of it lays the veils and redraws, so what is drawn, grabbed and reported
// is always that one box. Presses, drags and releases are told to the delegate; boxes set by
// the owner are never reported back.
#include <QRectF>
#include <QSizeF>
#include <QWidget>
#include <cstdint>

namespace kestrel::widgets {
class RDCropTmpView;
}

namespace kestrel::editor {

class RDUICliper;

class RDUICliperDelegate {
public:
    virtual ~RDUICliperDelegate() = default;
    virtual void actionMoveBeginForRDUICliperBlock(RDUICliper* cliper, const QRectF& clipRect) {}
    virtual void actionMoveEndForRDUICliperBlock(RDUICliper* cliper, const QRectF& clipRect) {}
    virtual void actionMovedForRDUICliperBlock(RDUICliper* cliper, const QRectF& clipRect) {}
};

class RDUICliper : public QWidget {
public:
    // Zones a press can grab.
    enum Zone { kNone = 0, kTopLeft, kTopRight, kBottomLeft, kBottomRight, kLeft, kRight, kTop, kBottom, kInside };

    // frame: bottom-left frame inside the parent.
    RDUICliper(const QRectF& frame, QWidget* parent);

    void setFrameRect(const QRectF& frame);
    void setVideoSize(const QSizeF& size);
    QSizeF videoSize() const { return videoSize_; }
    void setCropType(int32_t type);
    int32_t crop_Type() const { return cropType_; }
    void setCrop_Type(int32_t type) { cropType_ = type; }
    int64_t fileType() const { return fileType_; }
    void setFileType(int64_t type) { fileType_ = type; }
    void setDelegate(RDUICliperDelegate* delegate) { delegate_ = delegate; }

    // Box in points, at least 60 x 60 (or the whole overlay when it is smaller), no larger than
    // the overlay and moved onto it.
    void setClipRect(const QRectF& rect);
    void setclipEDGE(const QRectF& rect);
    void ChangeclipEDGE(float dx1, float dx2, float dy1, float dy2);
    QRectF getclipRectFrame() const { return cliprect_; }
    double getclipRectScale() const;
    QRectF getclipRect() const;
    QRectF getPercentClipRect() const;
    QRectF oFrame() const { return oFrame_; }
    int32_t cropTouchPoint() const { return cropTouchPoint_; }
    bool isMoving() const { return isMoving_; }

    // The box as the veils show it.
    QRectF veilRect() const;
    // The zone a press at p would grab.
    int32_t zoneAt(const QPointF& p) const;

    // Pointer handling in the overlay's own bottom-left points (the mouse events call these).
    void pressAt(const QPointF& p);
    void dragTo(const QPointF& p);
    void releaseAt(const QPointF& p);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Veils from edges (left, bottom, right, top) in bottom-left points.
    void layVeils(double left, double bottom, double right, double top);
    void layVeilsFor(const QRectF& r);
    // Stores the box, lays the veils for it and redraws.
    void setBox(const QRectF& r);
    QRectF fitted(const QRectF& rect) const;
    void keepRatioMove(const QPointF& p);
    void moveBox(const QPointF& p);
    QPointF eventPoint(const QPointF& qtPoint) const;
    double W() const { return width(); }
    double H() const { return height(); }

    QRectF cliprect_;
    QRectF oFrame_;
    QSizeF videoSize_;
    QPointF touchPoint_;
    QPointF touchBeginPoint_;
    int32_t cropTouchPoint_ = kNone;
    bool isMoving_ = false;
    float left_ = 0;
    float bottom_ = 0;
    int32_t cropType_ = 0;
    int64_t fileType_ = 0;
    // Edges the veils show.
    double edgeLeft_ = 0, edgeBottom_ = 0, edgeRight_ = 0, edgeTop_ = 0;
    kestrel::widgets::RDCropTmpView* leftView_ = nullptr;
    kestrel::widgets::RDCropTmpView* rightView_ = nullptr;
    kestrel::widgets::RDCropTmpView* topView_ = nullptr;
    kestrel::widgets::RDCropTmpView* bottomView_ = nullptr;
    RDUICliperDelegate* delegate_ = nullptr;
};

}  // namespace kestrel::editor

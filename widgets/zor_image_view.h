#pragma once
// A picture view with normal, pressed and selected pictures over a background colour or
// picture and a rounded border; it reports presses and releases through blocks, and while
// enabled with a drag block it can be dragged sideways within its parent.
#include <QPixmap>
#include <functional>

#include "widgets/image_view.h"
#include "widgets/layer_style.h"

class QMouseEvent;

namespace kestrel::widgets {

// New left edge of a view dragged sideways: the pointer's x in the parent, kept within
// 0 .. parentWidth - viewWidth.
qreal zorDraggedX(qreal pointerXInParent, qreal parentWidth, qreal viewWidth);

class ZorImageView : public ImageView {
    Q_OBJECT
public:
    using Block = std::function<void(ZorImageView*)>;
    using EventBlock = std::function<void(ZorImageView*, QMouseEvent*)>;

    explicit ZorImageView(QWidget* parent = nullptr);

    const QColor& backGroundColor() const { return style_.fillColor; }
    void setBackGroundColor(const QColor& c) { style_.fillColor = c; update(); }
    const QPixmap& normalBackGroundImage() const { return style_.fillPicture; }
    void setNormalBackGroundImage(const QPixmap& p) { style_.fillPicture = p; }
    const QColor& bordColor() const { return style_.borderColor; }
    void setBordColor(const QColor& c) { style_.borderColor = c; update(); }
    float cornerRadius() const { return style_.cornerRadius; }
    void setCornerRadius(float v) { style_.cornerRadius = v; update(); }
    float borderWidth() const { return style_.borderWidth; }
    void setBorderWidth(float v) { style_.borderWidth = v; update(); }

    float value() const { return value_; }
    void setValue(float v) { value_ = v; }
    qint64 index() const { return index_; }
    void setIndex(qint64 v) { index_ = v; }

    const QPixmap& normalImage() const { return normalImage_; }
    void setNormalImage(const QPixmap& p) { normalImage_ = p; update(); }
    const QPixmap& downImage() const { return downImage_; }
    void setDownImage(const QPixmap& p) { downImage_ = p; update(); }
    const QPixmap& selectedImage() const { return selectedImage_; }
    void setSelectedImage(const QPixmap& p) { selectedImage_ = p; update(); }
    bool isSelected() const { return isSelected_; }
    void setIsSelected(bool v) { isSelected_ = v; update(); }
    bool isDown() const { return isDown_; }

    void setMouseDraggedBlock(Block b) { mouseDraggedBlock_ = std::move(b); }
    const Block& MouseDraggedBlock() const { return mouseDraggedBlock_; }
    void setMouseUpBlock(EventBlock b) { mouseUpBlock_ = std::move(b); }
    const EventBlock& MouseUpBlock() const { return mouseUpBlock_; }
    void setMouseDownBlock(EventBlock b) { mouseDownBlock_ = std::move(b); }
    const EventBlock& MouseDownBlock() const { return mouseDownBlock_; }

    // The content picture the current state shows (null when none).
    const QPixmap* shownImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // A disabled view still tells of presses and releases; only its drags stop.
    bool event(QEvent* event) override;

private:
    LayerStyle style_;
    float value_ = 0;
    qint64 index_ = 0;
    QPixmap normalImage_, downImage_, selectedImage_;
    bool isSelected_ = false;
    bool isDown_ = false;
    Block mouseDraggedBlock_;
    EventBlock mouseUpBlock_, mouseDownBlock_;
};

}  // namespace kestrel::widgets

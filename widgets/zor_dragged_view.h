#pragma once
// A picture view the user slides sideways inside its superview. It can draw its own pin marker
// (a dot over a vertical line) and evenly spaced repeat marks.
#include <vector>

#include "widgets/named_image_view.h"

namespace kestrel::widgets {

class ZorDraggedView;

class ZorDraggedViewDelegate {
public:
    virtual ~ZorDraggedViewDelegate() = default;
    // Told after each move the user made; the view has already moved.
    virtual void mouseDraggedWithSender(ZorDraggedView* sender) {}
};

class ZorDraggedView : public NamedImageView {
public:
    explicit ZorDraggedView(QWidget* parent = nullptr);
    ZorDraggedView(const QRectF& frame, QWidget* parent);

    void setIsDraw(bool draw);
    bool isDraw() const { return isDraw_; }
    // How near the superview's right edge a drag may take the view: by default 10 points, and
    // none for a view that draws its pin. An owner whose value must reach its end sets 0.
    void setDragRightMargin(double margin) { dragRightMargin_ = margin; }
    double dragRightMargin() const;
    // Distance between repeat marks in points; 0 draws none. While it is positive the marks are
    // drawn instead of the picture, which is kept and shows again when the width returns to 0.
    void setRepeatWidth(float width);
    float repeatWidth() const { return repeatWidth_; }
    // Not owned; the owner clears it before the delegate goes away.
    void setDelegate(ZorDraggedViewDelegate* delegate) { delegate_ = delegate; }
    ZorDraggedViewDelegate* delegate() const { return delegate_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool isDraw_ = false;
    double dragRightMargin_ = -1;  // negative: the default for the view's kind
    float repeatWidth_ = 0;
    double grabOffset_ = 0;
    ZorDraggedViewDelegate* delegate_ = nullptr;
};

// Left edge of a dragged view: the pointer less the grab offset, kept inside the superview
// with rightMargin points to spare on the right.
double draggedViewX(double pointerXInSuperview, double grabOffset, double superviewWidth, double viewWidth,
                    double rightMargin);
// x positions of the repeat marks for a view of the given width. Marks closer than one point
// would merge into a solid block, so none are drawn then.
std::vector<double> repeatMarkXs(double repeatWidth, double viewWidth);

}  // namespace kestrel::widgets

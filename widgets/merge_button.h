#pragma once
// A two-position slide switch: a background picture with a knob on its left or right half.
#include <QAbstractButton>
#include <QRectF>

namespace kestrel::widgets {

class ImageView;

// The knob's frame (bottom-left) in a W x H switch.
QRectF mergeKnobFrame(bool selected, qreal W, qreal H);

class MergeButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit MergeButton(const QRectF& frame, QWidget* parent = nullptr);

    // Moves the knob: right half for YES, left half for NO.
    void setselected(bool selected);
    // Stores only; the knob stays where it is.
    void setSelected(bool selected) { selected_ = selected; }
    bool selected() const { return selected_; }
    ImageView* knobView() const { return knobView_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool selected_ = false;
    bool knobOnRight_ = false;
    QPixmap background_;
    ImageView* knobView_;
};

}  // namespace kestrel::widgets

#pragma once
// A toggle with a picture and a label: each click flips it and tells the delegate.
#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <QWidget>

class QLabel;

namespace kestrel::widgets {

class ImageView;
class RDSwitchButton;

class RDSwitchButtonDelegate {
public:
    virtual ~RDSwitchButtonDelegate() = default;
    virtual void actionMouseUpForSwitchButtonBlock(RDSwitchButton* button) {}
};

class RDSwitchButton : public QWidget {
    Q_OBJECT
public:
    explicit RDSwitchButton(const QRectF& frame, QWidget* parent = nullptr);

    bool selected() const { return selected_; }
    void setSelected(bool selected);

    // Stored only; they show at the next setSelected or press.
    QString title;
    QPixmap normalImage, heightedImage, selectedImage;
    QColor normalColor, heightedColor, selectedColor;

    RDSwitchButtonDelegate* delegate() const { return delegate_; }
    void setDelegate(RDSwitchButtonDelegate* d) { delegate_ = d; }
    ImageView* imageView() const { return imageView_; }
    QLabel* titleLabel() const { return titleLabel_; }

    void down();
    void up();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeSubviews();

    bool selected_ = false;
    ImageView* imageView_;
    QLabel* titleLabel_;
    RDSwitchButtonDelegate* delegate_ = nullptr;
};

}  // namespace kestrel::widgets

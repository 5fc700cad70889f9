#pragma once
// A small view-based push button: a stretched background picture with a centred title. It shows
// the pressed background while held; a click latches the selected look and tells the delegate.
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRectF>
#include <QWidget>

class QLabel;

namespace kestrel::widgets {

class ImageView;
class RDButton;

class RDButtonDelegate {
public:
    virtual ~RDButtonDelegate() = default;
    virtual void actionMouseUpForRDButtonBlock(RDButton* button) {}
};

class RDButton : public QWidget {
    Q_OBJECT
public:
    explicit RDButton(const QRectF& frame, QWidget* parent = nullptr);

    // The button's own enabled flag: presses are ignored while it is NO.
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool selected() const { return selected_; }
    void setSelected(bool selected);
    const QString& title() const { return title_; }
    void setTitle(const QString& title);
    const QFont& font() const { return font_; }
    void setFont(const QFont& font);
    const QPixmap& backImage() const { return backImage_; }
    void setBackImage(const QPixmap& p);
    const QPixmap& heightBackImage() const { return heightBackImage_; }
    void setHeightBackImage(const QPixmap& p);
    const QColor& normalColor() const { return normalColor_; }
    void setNormalColor(const QColor& c);
    const QColor& heightedColor() const { return heightedColor_; }
    void setHeightedColor(const QColor& c) { heightedColor_ = c; }
    const QColor& selectedColor() const { return selectedColor_; }
    void setSelectedColor(const QColor& c) { selectedColor_ = c; }
    const QColor& disabledColor() const { return disabledColor_; }
    void setDisabledColor(const QColor& c) { disabledColor_ = c; }
    // Stored for owners; never drawn.
    QPixmap normalImage, heightedImage, selectedHeightedImage, selectedImage, disabledImage, selectedDisabledImage;

    ImageView* backgroundView() const { return backgroundView_; }
    QLabel* titleLabel() const { return titleLabel_; }
    const QRectF& titleLabelFrame() const { return titleLabelFrame_; }
    void setTitleLabelFrame(const QRectF& frame);

    RDButtonDelegate* delegate() const { return delegate_; }
    void setDelegate(RDButtonDelegate* d) { delegate_ = d; }

    // A click: latches the selected look and tells the delegate.
    void actioniconBtn();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyStateColor();

    bool enabled_ = true;
    bool selected_ = false;
    QString title_;
    QFont font_;
    QPixmap backImage_, heightBackImage_;
    QColor normalColor_, heightedColor_, selectedColor_, disabledColor_;
    ImageView* backgroundView_;
    QLabel* titleLabel_;
    QRectF titleLabelFrame_;
    RDButtonDelegate* delegate_ = nullptr;
};

}  // namespace kestrel::widgets

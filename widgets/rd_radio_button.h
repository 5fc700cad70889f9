#pragma once
// A radio choice: a platform radio indicator with a text label beside it, over an optional
// background picture. A click always ends selected and tells the delegate; the owner clears
// the other buttons of its group.
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRectF>
#include <QWidget>

class QLabel;
class QRadioButton;

namespace kestrel::widgets {

class ImageView;
class RDRadioButton;

class RDRadioButtonDelegate {
public:
    virtual ~RDRadioButtonDelegate() = default;
    virtual void actionMouseUpForRDRadioButtonBlock(RDRadioButton* button) {}
};

class RDRadioButton : public QWidget {
    Q_OBJECT
public:
    explicit RDRadioButton(const QRectF& frame, QWidget* parent = nullptr);

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool selected() const { return selected_; }
    void setSelected(bool selected);
    const QFont& font() const { return font_; }
    void setFont(const QFont& font);
    const QString& title() const { return title_; }
    void setTitle(const QString& t) { title_ = t; }

    // Of the pictures only heightedImage is shown (while pressed); the others are kept.
    QPixmap normalImage, heightedImage, selectedHeightedImage, selectedImage, disabledImage, selectedDisabledImage;
    QColor normalColor, heightedColor, selectedColor, disabledColor;

    RDRadioButtonDelegate* delegate() const { return delegate_; }
    void setDelegate(RDRadioButtonDelegate* d) { delegate_ = d; }

    ImageView* backgroundView() const { return backgroundView_; }
    QRadioButton* iconView() const { return iconView_; }
    QLabel* titleLabel() const { return titleLabel_; }

    // A choice by the user: selects, applies the look and tells the delegate.
    void actioniconBtn();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyLook();
    void placeSubviews();

    bool enabled_ = true;
    bool selected_ = false;
    QFont font_;
    QString title_ = QStringLiteral("title");
    ImageView* backgroundView_;
    QRadioButton* iconView_;
    QLabel* titleLabel_;
    RDRadioButtonDelegate* delegate_ = nullptr;
};

}  // namespace kestrel::widgets

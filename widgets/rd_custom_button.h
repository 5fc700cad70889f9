#pragma once
// A picture-and-title tile (the tabs of the output-format bars): background picture, foreground
// picture and a title button; selected, normal and disabled looks applied by setSelected, and a
// click reported to the delegate (on release when a pressed background is set, else on press).
#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <QWidget>
#include <optional>

#include "widgets/rd_title_button.h"

namespace kestrel::widgets {

class ImageView;
class RDCustomButton;

class RDCustomButtonDelegate {
public:
    virtual ~RDCustomButtonDelegate() = default;
    virtual void actionMouseUpForCustomButtonBlock(RDCustomButton* button) {}
    virtual void actionMouseDownForCustomButtonBlock(RDCustomButton* button) {}
};

// Frames (bottom-left, in a W x H button) of picture and title for a layout code 0..4;
// nullopt for the title when it is not moved, nullopt for both for an unknown code.
struct RDCustomButtonLayout {
    std::optional<QRectF> picture;
    std::optional<QRectF> title;
};
RDCustomButtonLayout rdCustomButtonLayout(quint64 code, qreal W, qreal H, bool titleLab);

class RDCustomButton : public QWidget, public RDTitleButtonDelegate {
    Q_OBJECT
public:
    explicit RDCustomButton(const QRectF& frame, QWidget* parent = nullptr);

    // Write-only looks: they show at the next setSelected.
    void setTitle(const QString& title) { title_ = title; }
    void setNormalTitleColor(const QColor& c) { normalTitleColor_ = c; }
    void setSelectedTitleColor(const QColor& c) { selectedTitleColor_ = c; }
    void setDisableTitleColor(const QColor& c) { disableTitleColor_ = c; }
    void setNormalBackImage(const QPixmap& p) { normalBackImage_ = p; }
    void setSelectedBackImage(const QPixmap& p) { selectedBackImage_ = p; }
    void setNormalImage(const QPixmap& p) { normalImage_ = p; }
    void setSelectedImage(const QPixmap& p) { selectedImage_ = p; }
    void setDisableImage(const QPixmap& p) { disableImage_ = p; }
    void setDisableBackImage(const QPixmap& p) { disableBackImage_ = p; }
    const QPixmap& hightideBackImage() const { return hightideBackImage_; }
    void setHightideBackImage(const QPixmap& p) { hightideBackImage_ = p; }

    bool selected() const { return selected_; }
    void setSelected(bool selected);
    bool enabled() const { return enabled_; }
    void setEnabled(bool v) { enabled_ = v; }
    bool titleLab() const { return titleLab_; }
    void setTitleLab(bool v) { titleLab_ = v; }
    qint32 index() const { return index_; }
    void setIndex(qint32 v) { index_ = v; }
    qint32 fontsize() const { return fontsize_; }
    void setFontsize(qint32 v) { fontsize_ = v; }
    const QString& fontname() const { return fontname_; }
    void setFontname(const QString& v) { fontname_ = v; }
    quint64 cellTextPosition() const { return cellTextPosition_; }
    void setCellTextPosition(quint64 code);

    void setTitleRect(const QRectF& frame);
    // The title drawn by the title button, styled with fontname and fontsize.
    void setTitle(const QString& title, const QColor& color, qint64 textAlignment);

    ImageView* imageView() const { return imageView_; }
    ImageView* backView() const { return backView_; }
    RDTitleButton* titleBtn() const { return titleBtn_; }

    RDCustomButtonDelegate* delegate() const { return delegate_; }
    void setDelegate(RDCustomButtonDelegate* d) { delegate_ = d; }

    // Reports the click to the delegate (when enabled).
    void actionTouchUpInslid();

    void actionMouseUpForTitleButtonBlock(RDTitleButton* button) override;
    void actionMouseDownForTitleButtonBlock(RDTitleButton* button) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void pressed();
    void released();

    ImageView* backView_;
    ImageView* imageView_;
    RDTitleButton* titleBtn_;
    QString title_;
    QColor normalTitleColor_, selectedTitleColor_, disableTitleColor_;
    QPixmap normalBackImage_, selectedBackImage_, normalImage_, selectedImage_, disableImage_, disableBackImage_;
    QPixmap hightideBackImage_;
    bool selected_ = false;
    bool enabled_ = true;
    bool titleLab_ = false;
    qint32 index_ = 0;
    qint32 fontsize_ = 12;
    quint64 cellTextPosition_ = 0;
    QString fontname_ = QStringLiteral(".AppleSystemUIFont");
    RDCustomButtonDelegate* delegate_ = nullptr;
};

}  // namespace kestrel::widgets

#pragma once
// A tile showing one clip's thumbnail and "start-end" time text, with a fill and background
// picture per selected state; entering and leaving report the pointer to blocks.
#include <QAbstractButton>
#include <QColor>
#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <functional>

#include "widgets/cut_item.h"

class QLabel;

namespace kestrel::widgets {

class ImageView;

// "HH:MM:SS.mmm-HH:MM:SS.mmm" of a clip.
QString cutItemTitle(const CutItem& item);

class CutItemView : public QAbstractButton {
    Q_OBJECT
public:
    using PointBlock = std::function<void(QPointF)>;

    explicit CutItemView(const QRectF& frame, QWidget* parent = nullptr);

    bool selected() const { return selected_; }
    void setSelected(bool v) { selected_ = v; update(); }
    // Kept for owners; they take no part in drawing.
    float cornerRadius = 0;
    float borderWidth = 0;
    const QColor& nbordColor() const { return nbordColor_; }
    void setNbordColor(const QColor& c) { nbordColor_ = c; update(); }
    const QColor& sbordColor() const { return sbordColor_; }
    void setSbordColor(const QColor& c) { sbordColor_ = c; update(); }

    QColor nbackGroundColor, sbackGroundColor;
    QPixmap nbackGroundImage, sbackGroundImage;

    const CutItem& item() const { return item_; }
    void setItem(const CutItem& item);

    ImageView* backView() const { return backView_; }
    ImageView* iconView() const { return iconView_; }
    QLabel* titleField() const { return titleField_; }

    // Run with the pointer's place (bottom-left, relative to the tile) when it enters or leaves.
    PointBlock mouseEntered, mouseExited;
    // Kept for the owner; the tile never runs it.
    PointBlock mouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPointF pointerInTile() const;

    bool selected_ = false;
    QColor nbordColor_, sbordColor_;
    CutItem item_;
    ImageView* backView_;
    ImageView* iconView_;
    QLabel* titleField_;
};

}  // namespace kestrel::widgets

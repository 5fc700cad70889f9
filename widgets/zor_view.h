#pragma once
// A plain panel: background colour, background picture, rounded border.
#include <QWidget>

#include "widgets/layer_style.h"

namespace kestrel::widgets {

class ZorView : public QWidget {
    Q_OBJECT
public:
    explicit ZorView(QWidget* parent = nullptr);

    const QPixmap& backGroundImage() const { return style_.fillPicture; }
    void setBackGroundImage(const QPixmap& p) { style_.fillPicture = p; update(); }
    const QColor& backGroundColor() const { return style_.fillColor; }
    void setBackGroundColor(const QColor& c) { style_.fillColor = c; update(); }
    const QColor& bordColor() const { return style_.borderColor; }
    void setBordColor(const QColor& c) { style_.borderColor = c; update(); }
    float cornerRadius() const { return style_.cornerRadius; }
    void setCornerRadius(float v) { style_.cornerRadius = v; update(); }
    float borderWidth() const { return style_.borderWidth; }
    void setBorderWidth(float v) { style_.borderWidth = v; update(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    LayerStyle style_;
};

}  // namespace kestrel::widgets

#pragma once
// A text field that draws only its text, in its font and text colour, over its bounds: no
// background, bezel or placeholder (the watermark overlay's text).
#include <QLineEdit>

namespace kestrel::widgets {

class QYTextFiledCenter : public QLineEdit {
    Q_OBJECT
public:
    explicit QYTextFiledCenter(QWidget* parent = nullptr);

    double oringeY() const { return oringeY_; }
    void setOringeY(double v) { oringeY_ = v; }
    void setTextColor(const QColor& color);
    QColor textColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double oringeY_ = 0;
};

}  // namespace kestrel::widgets

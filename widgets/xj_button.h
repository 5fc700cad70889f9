#pragma once
// A push button whose background, border, corners and title colour follow four states:
// 0 normal, 1 hover, 2 highlight (pressed), 3 selected. Clicks arrive through clicked().
#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace kestrel::widgets {

class XJButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit XJButton(QWidget* parent = nullptr);

    bool selected() const { return selected_; }
    bool hover() const { return hover_; }
    bool mouseUp() const { return mouseUp_; }
    const QPixmap& defaultImage() const { return defaultImage_; }
    bool canSelected() const { return canSelected_; }
    void setCanSelected(bool v);
    bool hasBorder() const { return hasBorder_; }
    void setHasBorder(bool v);
    quint64 buttonState() const { return buttonState_; }
    // Applies the state's look; the state already shown does nothing.
    void setButtonState(quint64 state);

    // Per-state values (index 0..3); stored only, shown at the next state applied.
    double cornerRadius[4] = {0, 0, 0, 0};
    double borderWidth[4] = {1, 1, 1, 2};
    QColor borderColor[4];
    QColor titleColor[4];
    QColor backgroundColor[4];
    QPixmap image[4];

    void setNormalColor(const QColor& c) { titleColor[0] = c; setFontColor(c); }
    QColor appliedTitleColor() const { return applied_.title; }
    QColor appliedBackgroundColor() const { return applied_.background; }
    double appliedBorderWidth() const { return applied_.borderWidth; }

    void updateButtonApperaceWithState(quint64 state);
    void setFontColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Applied {
        double radius = 0;
        double borderWidth = 0;
        QColor border, title, background;
    };
    bool selected_ = false;
    bool hover_ = false;
    bool mouseUp_ = false;
    bool canSelected_ = true;
    bool hasBorder_ = false;
    quint64 buttonState_ = 0;
    QPixmap defaultImage_;
    Applied applied_;
};

}  // namespace kestrel::widgets

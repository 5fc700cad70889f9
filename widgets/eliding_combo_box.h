#pragma once
// A pop-up button whose chosen text is cut with an ellipsis when the box is too narrow for it,
// the whole text then shown as its tool tip; the list that drops down is wide enough for every
// entry.
#include <QComboBox>

namespace kestrel::widgets {

class ElidingComboBox : public QComboBox {
public:
    explicit ElidingComboBox(QWidget* parent = nullptr);

    // The chosen text as the box draws it.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showPopup() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect labelRect() const;
    void followChoice();
};

}  // namespace kestrel::widgets

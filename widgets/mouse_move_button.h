#pragma once
// The scroll buttons of the output-format bars: a plain push button (clicks through the usual
// clicked signal) that carries a mouse delegate for its owner. Pointer entering and leaving
// change nothing.
#include <QPushButton>

namespace kestrel::widgets {

class MouseMoveButton;

class ButtonMouseDelegate {
public:
    virtual ~ButtonMouseDelegate() = default;
    virtual void mouseupEntered(MouseMoveButton* button) {}
    virtual void mousedownExited(MouseMoveButton* button) {}
};

class MouseMoveButton : public QPushButton {
    Q_OBJECT
public:
    explicit MouseMoveButton(QWidget* parent = nullptr) : QPushButton(parent) {}

    // Not owned; the owner clears it before it goes away.
    ButtonMouseDelegate* mouseDelegate() const { return mouseDelegate_; }
    void setMouseDelegate(ButtonMouseDelegate* d) { mouseDelegate_ = d; }

protected:
    void enterEvent(QEnterEvent*) override {}
    void leaveEvent(QEvent*) override {}

private:
    ButtonMouseDelegate* mouseDelegate_ = nullptr;
};

}  // namespace kestrel::widgets

#include "tests/widgets/mouse_helpers.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace widgets_test {
namespace {
void send(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
}  // namespace

void pressAt(QWidget* widget, QPointF at) {
    send(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}

void dragTo(QWidget* widget, QPointF at) { send(widget, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }

void releaseAt(QWidget* widget, QPointF at) {
    send(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void gesture(QWidget* widget, QPointF press, std::initializer_list<QPointF> steps) {
    pressAt(widget, press);
    QPointF last = press;
    for (QPointF step : steps) {
        dragTo(widget, step);
        last = step;
    }
    releaseAt(widget, last);
}

}  // namespace widgets_test

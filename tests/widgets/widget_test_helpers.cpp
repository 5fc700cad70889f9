#include "tests/widgets/widget_test_helpers.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>

namespace widgets_test {

QPixmap solidPixmap(QSize size, const QColor& color) {
    QPixmap pixmap(size);
    pixmap.fill(color);
    return pixmap;
}

void sendEnter(QWidget* widget, QPoint at) {
    QEnterEvent event(at, widget->mapToGlobal(at), widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
}

void sendLeave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

QColor pixelAt(QWidget* widget, QPoint at) {
    return widget->grab().toImage().pixelColor(at);
}

}  // namespace widgets_test

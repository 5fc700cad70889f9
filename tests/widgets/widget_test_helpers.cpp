#include "tests/widgets/widget_test_helpers.h"

#include <QImage>

namespace widgets_test {

QPixmap solidPixmap(QSize size, const QColor& color) {
    QPixmap pixmap(size);
    pixmap.fill(color);
    return pixmap;
}

QColor pixelAt(QWidget* widget, QPoint at) {
    return widget->grab().toImage().pixelColor(at);
}

}  // namespace widgets_test

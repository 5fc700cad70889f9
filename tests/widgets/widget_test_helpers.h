#pragma once
// Small helpers for widget tests: solid pictures of a given size and pixel reads of a widget's
// rendering. Pointer and keyboard input comes from tests/support/user_input.h.
#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

namespace widgets_test {

QPixmap solidPixmap(QSize size, const QColor& color);
// The colour of one pixel of the widget as it renders now.
QColor pixelAt(QWidget* widget, QPoint at);

}  // namespace widgets_test

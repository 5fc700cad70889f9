#pragma once
// Small helpers for driving widgets in tests: solid pictures of a given size, enter and leave
// events, and pixel reads of a widget's rendering.
#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

namespace widgets_test {

QPixmap solidPixmap(QSize size, const QColor& color);
void sendEnter(QWidget* widget, QPoint at = QPoint(1, 1));
void sendLeave(QWidget* widget);
// The colour of one pixel of the widget as it renders now.
QColor pixelAt(QWidget* widget, QPoint at);

}  // namespace widgets_test

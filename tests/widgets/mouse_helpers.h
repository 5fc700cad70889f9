#pragma once
// Mouse gestures sent straight to one widget, with the button state Qt would carry, at points
// given in the widget's own Qt coordinates.
#include <QPointF>

class QWidget;

namespace widgets_test {

void pressAt(QWidget* widget, QPointF at);
void dragTo(QWidget* widget, QPointF at);
void releaseAt(QWidget* widget, QPointF at);
// Press, one drag step per point, release at the last point.
void gesture(QWidget* widget, QPointF press, std::initializer_list<QPointF> steps);

}  // namespace widgets_test

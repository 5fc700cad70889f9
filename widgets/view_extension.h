#pragma once
// Operations every view of the program may use: a background colour, and a dark backdrop
// inserted below all of a view's children.
#include <QColor>

class QWidget;

namespace kestrel::widgets {

// Fills the view's background with the colour (an invalid colour clears it).
void setBackgroundColor(QWidget* view, const QColor& color);
// The colour last given to setBackgroundColor; invalid when none was given.
QColor backgroundColor(const QWidget* view);

// Adds a dark, always-active backdrop covering the view and following its size, below all
// its other children; returns it (owned by the view). blendingMode is kept on the backdrop
// as the property "blendingMode" (0 behind the window, 1 within it).
QWidget* insertVibrancyViewBlendingMode(QWidget* view, int blendingMode);

}  // namespace kestrel::widgets

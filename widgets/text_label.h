#pragma once
// A one-line, non-editable text field as the view-based controls use it for their titles
// (a label: presses on it reach the control underneath).
#include <QColor>
#include <QLabel>

namespace kestrel::widgets {

// A label with a clear background, no border, the given font size and alignment.
QLabel* makeTextLabel(QWidget* parent, qreal pointSize, Qt::Alignment alignment);
// Text colour of a label; an invalid colour restores the default text colour.
void setTextColor(QLabel* label, const QColor& color);
QColor textColor(const QLabel* label);

}  // namespace kestrel::widgets

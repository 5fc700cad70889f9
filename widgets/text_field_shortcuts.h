#pragma once
// The edit shortcuts every text field answers to (Ctrl with X, C, V, A and nothing else held),
// and the colour of its insertion point.
#include <QColor>

class QKeyEvent;
class QLineEdit;

namespace kestrel::widgets {

// Cut, copy, paste or select all for exactly Ctrl+X/C/V/A; false (not handled) otherwise.
bool performKeyEquivalent(QLineEdit* field, const QKeyEvent& event);

// Kept on the field as the property "insertionPointColor"; Qt draws the caret in the text
// colour, so fields that draw their own caret read it from there.
void customizeCursorColor(QLineEdit* field, const QColor& color);
QColor insertionPointColor(const QLineEdit* field);

}  // namespace kestrel::widgets

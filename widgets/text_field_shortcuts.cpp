#include "widgets/text_field_shortcuts.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace kestrel::widgets {

bool performKeyEquivalent(QLineEdit* field, const QKeyEvent& event) {
    if (!field) return false;
    // Only Ctrl: any other modifier held (Shift, Alt, Meta, keypad) makes it an ordinary key.
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier || event.modifiers() & Qt::KeypadModifier)
        return false;
    switch (event.key()) {
    case Qt::Key_X: field->cut(); return true;
    case Qt::Key_C: field->copy(); return true;
    case Qt::Key_V: field->paste(); return true;
    case Qt::Key_A: field->selectAll(); return true;
    default: return false;
    }
}

void customizeCursorColor(QLineEdit* field, const QColor& color) {
    if (field) field->setProperty("insertionPointColor", color);
}

QColor insertionPointColor(const QLineEdit* field) {
    return field ? field->property("insertionPointColor").value<QColor>() : QColor();
}

}  // namespace kestrel::widgets

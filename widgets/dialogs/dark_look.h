#pragma once
// The look the shell's windows share: the dark window colour, the text colours, and the text
// direction of the chosen language (Arabic reads right to left inside each control; windows
// themselves are never mirrored).
#include <QColor>

#include "widgets/view_extension.h"  // setBackgroundColor

class QWidget;

namespace kestrel::widgets {

inline const QColor kDarkWindowColor(23, 26, 32);
inline const QColor kTitleBarColor(33, 176, 235);
inline const QColor kTextColor(205, 214, 221);
inline const QColor kHoverTextColor(96, 222, 208);
inline const QColor kAlertTextColor(204, 204, 204);

void setTextColor(QWidget* widget, const QColor& color);
void setPointSize(QWidget* widget, int points);

// Sets the text direction of every text control under root (root included) for the language
// now chosen; containers keep their layout.
void applyTextDirection(QWidget* root);

}  // namespace kestrel::widgets

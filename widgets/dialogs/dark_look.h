#pragma once
// The look the shell's windows share: the dark window colour, the text colours, and the text
// direction of the chosen language (Arabic reads right to left inside each control; windows
// themselves are never mirrored).
#include <QColor>
#include <QPalette>

#include "widgets/view_extension.h"  // setBackgroundColor

class QLabel;
class QWidget;

namespace kestrel::widgets {

inline const QColor kDarkWindowColor(23, 26, 32);
inline const QColor kTitleBarColor(33, 176, 235);
inline const QColor kTextColor(205, 214, 221);
inline const QColor kHoverTextColor(96, 222, 208);
inline const QColor kAlertTextColor(204, 204, 204);
inline const QColor kPanelColor(34, 39, 48);
inline const QColor kRaisedColor(44, 50, 61);
inline const QColor kSunkenColor(28, 32, 39);
inline const QColor kOutlineColor(58, 65, 77);
inline const QColor kPressedAccentColor(63, 179, 167);

// The look guide's palette as a Qt palette: every stock piece Qt draws (file dialogs, menus,
// message boxes, push buttons, progress bars, tool tips, scroll bars) takes it.
QPalette darkPalette();

// Gives the whole application the dark look, once, before the first window: Qt's own file
// dialog instead of the desktop's (the desktop's cannot be styled), the Fusion style (it draws
// with the palette alone, unlike the desktop styles) with check and radio indicators in the
// guide's colours, and the dark palette. Pop-ups (menus,
// pop-up button lists) are kept inside the window they open from (see keepInside).
void applyDarkLook();

// Moves popUp (a shown top-level pop-up) so that it lies inside window where it can.
void keepInside(QWidget* popUp, const QWidget* window);

void setTextColor(QWidget* widget, const QColor& color);
void setPointSize(QWidget* widget, int points);

// Shows text in label on one line: at points when it fits, else at the largest size down to
// floorPoints that fits, else at floorPoints cut at the end with the whole text as the tool tip.
// Returns the point size used.
int fitOneLine(QLabel* label, const QString& text, int points, int floorPoints);

// As fitOneLine, allowing up to two lines (the label wraps) before the text is cut; the label's
// height must hold two lines at points.
int fitTwoLines(QLabel* label, const QString& text, int points, int floorPoints);

// Sets the text direction of every text control under root (root included) for the language
// now chosen; containers keep their layout.
void applyTextDirection(QWidget* root);

}  // namespace kestrel::widgets

#pragma once
// The flat dark look of the tool windows built as forms (the splitter, its prompt and the reverse
// tool): background 23, 26, 32, texts 170, 177, 185 at 13 points, dark panels and buttons, the
// export button in the accent colour. Buttons and panels are made here so both windows name and
// draw them alike.
class QFrame;
class QPushButton;
class QString;
class QWidget;

namespace kestrel::tools::shared {

// Applies the look to a window; the button named accentButton is drawn in the accent colour.
void applyFormLook(QWidget* window, const QString& accentButton);

// A flat button with a pointing cursor, named for the style sheet and for tests.
QPushButton* makeFormButton(QWidget* parent, const QString& name);
// A rounded dark panel grouping controls.
QFrame* makeFormPanel(QWidget* parent);

}  // namespace kestrel::tools::shared

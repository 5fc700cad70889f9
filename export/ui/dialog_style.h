#pragma once
// Shared looks of the export and settings dialogs: the dark window, caption texts and the
// picture buttons of the dialogs.
#include <QColor>
#include <QList>
#include <QString>

class QLabel;
class QWidget;

namespace kestrel::widgets {
class ZorButton;
}

namespace exportkit::style {

inline const QColor kWindowColor(23, 26, 32);
inline const QColor kBorderColor(49, 60, 72);
inline const QColor kCaptionColor(204, 204, 204, 153);  // white 0.8 at alpha 0.6
inline const QColor kTitleColor(204, 204, 204);         // white 0.8
inline const QColor kSettingsTextColor(170, 177, 185);

void styleWindow(QWidget* window);
void styleCaption(QLabel* label, const QColor& color, int pointSize = 13);
// A button drawn from the four state pictures "<stem>_Normal<suffix>", "_On", "_Down",
// "_Disable"; a plain dark face where the pictures are missing.
kestrel::widgets::ZorButton* makePictureButton(QWidget* parent, const QString& stem, const QString& suffix);
// A check box drawn from the "ZantImage/Cut/chk_..." pictures; withDown=false has no down look.
kestrel::widgets::ZorButton* makeCheckButton(QWidget* parent, bool withDown);
// A bordered box (RGB 49, 60, 72, width 1, radius 3).
void styleBorderedBox(QWidget* box, int radius = 3);

// Width of text in widget's font, rounded up.
int textWidth(const QWidget* widget, const QString& text);
// Sizes a check box to its picture and title, at most maxWidth; a title that does not fit even
// then is cut with an ellipsis and shown whole in the tooltip. Returns the width given.
int fitCheckBox(kestrel::widgets::ZorButton* box, const QString& title, int maxWidth);
// Shows text in label, cut in the middle with an ellipsis when wider than the label (the whole
// text then goes to the tooltip).
void setElidedText(QLabel* label, const QString& text);
// Arabic reads right to left inside each text control under root (root included); the window
// layout itself is never mirrored. Controls in leftToRight (paths) always read left to right.
void applyTextDirection(QWidget* root, const QList<QWidget*>& leftToRight = {});

}  // namespace exportkit::style

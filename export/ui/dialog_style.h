#pragma once
// Shared looks of the export and settings dialogs: the dark window, caption texts and the
// picture buttons of the dialogs.
#include <QColor>
#include <QString>

class QLabel;
class QWidget;

namespace widgets {
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
widgets::ZorButton* makePictureButton(QWidget* parent, const QString& stem, const QString& suffix);
// A check box drawn from the "ZantImage/Cut/chk_..." pictures; withDown=false has no down look.
widgets::ZorButton* makeCheckButton(QWidget* parent, bool withDown);
// A bordered box (RGB 49, 60, 72, width 1, radius 3).
void styleBorderedBox(QWidget* box, int radius = 3);

}  // namespace exportkit::style

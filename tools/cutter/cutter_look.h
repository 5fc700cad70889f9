#pragma once
// The cutters' controls in the dark look: picture buttons named by stem and state, the grey
// text buttons, dim labels and radio-like check buttons.
#include <QString>

class QLabel;
class QWidget;

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::cutter {

// A button showing "<stem>_Normal|On|Down|Disable<suffix>".
kestrel::widgets::ZorButton* pictureButton(const QString& stem, const QString& suffix, QWidget* parent);
void setButtonPictures(kestrel::widgets::ZorButton* button, const QString& stem, const QString& suffix);
// The grey list and panel buttons (RGB 47, 54, 62, white text at 70 %); they grow with their text.
kestrel::widgets::ZorButton* textButton(QWidget* parent);
void setButtonText(kestrel::widgets::ZorButton* button, const QString& text);
// A check box picture before a title; selected shows the ticked picture.
kestrel::widgets::ZorButton* checkButton(QWidget* parent);
// Text RGBA (204, 204, 204, 0.6).
QLabel* dimLabel(QWidget* parent, int pixelSize, const QString& text = QString());

}  // namespace kestrel::tools::cutter

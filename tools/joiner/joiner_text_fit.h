#pragma once
// Texts of the joiner window fitted to their controls in every language: the font shrinks from
// its size to a floor, and only a text that still does not fit is cut, with the whole text in
// the tool tip.
#include <QString>

class QLabel;
class QWidget;

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::joiner {

// The largest point size from basePt down to floorPt at which text fits width; floorPt when
// none does.
int fittingPointSize(const QWidget* widget, const QString& text, int width, int basePt, int floorPt);

void fitLabel(QLabel* label, const QString& text, int basePt, int floorPt = 9);
// A button drawing its own title; padding is the room its picture and margins take.
void fitButton(kestrel::widgets::ZorButton* button, const QString& text, int basePt, int padding, int floorPt = 9);

// Whether a fitted label's or button's shown text is whole (not cut).
bool textFits(const QWidget* control);

}  // namespace kestrel::tools::joiner

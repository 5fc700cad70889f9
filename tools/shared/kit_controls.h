#pragma once
// The widget-kit controls the splitter, the reverse tool and the GIF maker are built from, made
// alike: picture buttons whose four state pictures are named "<stem>_Normal|On|Down|Disable",
// titled buttons over background pictures, radio buttons with a picture before their title,
// picture controls of three looks, and the window's labels in the tools' text colours.
#include <QColor>
#include <QString>

class QLabel;
class QWidget;

namespace kestrel::widgets {
class XJGraphicButton;
class ZorButton;
}  // namespace kestrel::widgets

namespace kestrel::tools::shared {

// Text colours of these windows.
inline const QColor kToolText(170, 177, 185);
inline const QColor kToolCaption(204, 204, 204, 153);
inline const QColor kToolAccent(96, 222, 208);
// Panel faces: the content panels, the preview area and the time-field wells.
inline const QColor kToolPanel(32, 35, 43);
inline const QColor kToolWell(21, 27, 33);
inline const QColor kToolFrameLine(49, 60, 72);

// The content pictures of the four states; a missing pressed picture is the normal one.
void setStatePictures(widgets::ZorButton* button, const QString& stem, const QString& suffix);
// The same four pictures drawn behind the button's title.
void setBackgroundPictures(widgets::ZorButton* button, const QString& stem, const QString& suffix);

// A button showing only its state pictures, as large as its normal picture; name for the tests.
widgets::ZorButton* pictureButton(QWidget* parent, const QString& stem, const QString& suffix, const QString& name);
// A button titled over its background pictures, at least as wide as its title needs.
widgets::ZorButton* titledButton(QWidget* parent, const QString& stem, const QString& suffix, const QColor& text,
                                 const QString& name);
// A radio button of a group: "<folder>/rb_NoChecked" pictures before the title, the chosen
// picture "<folder>/rb_Checked_Normal@2x.png" while selected.
widgets::ZorButton* radioButton(QWidget* parent, const QString& folder, const QString& name);
// A title for a titled or radio button; the button grows to show it whole.
void setButtonTitle(widgets::ZorButton* button, const QString& title);

// A picture control of three looks (normal, hover, pressed: "<stem>_Normal|On|Down<suffix>").
widgets::XJGraphicButton* graphicButton(QWidget* parent, const QString& stem, const QString& suffix, const QString& name);
// Enabled or not, in both the control's own flag and its look.
void setGraphicEnabled(widgets::XJGraphicButton* button, bool enabled);

// A label in the system font of pixelSize and the colour given.
QLabel* toolLabel(QWidget* parent, int pixelSize, const QColor& colour, const QString& name = QString());
// A plain view filled with colour, rounded by radius; with a frame line when frameWidth > 0.
QWidget* toolPanel(QWidget* parent, const QColor& colour, int radius, const QString& name, int frameWidth = 0);

// Cuts every connection from the owner's child controls to the owner. A window calls it first
// in its destructor: a field that still has the focus commits while the base class destroys it,
// and must not reach the half-destroyed window.
void disconnectChildren(QWidget* owner);

// A control that reads left to right in every language (times, numbers).
void keepLeftToRight(QWidget* control);
// Text controls under root read in the language's direction, those kept left to right aside.
void applyToolTextDirection(QWidget* root);

}  // namespace kestrel::tools::shared

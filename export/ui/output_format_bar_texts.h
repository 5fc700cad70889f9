#pragma once
// Texts of the output-format bar measured against the room they get: a text that does not fit
// is cut (a profile name under its picture in the middle, where both ends say most; the header
// title at its end, so it still reads from the start) and the whole text goes into a tool tip;
// a text that fits gets no tool tip.
#include <QFont>
#include <QPixmap>
#include <QString>

class QLabel;
class QWidget;

namespace exportkit {

struct FittedText {
    QString shown;
    bool cut = false;
};

// text when it fits width in font, else text cut with an ellipsis.
FittedText fitText(const QFont& font, const QString& text, int width, Qt::TextElideMode mode = Qt::ElideMiddle);

// The header title "Target Format: %@" with the profile name (a fixed text, as the bar's other
// texts: category and profile names are shown as the profile tree names them).
QString headerTitle(const QString& profileName);
// The header title cut in the name when the whole does not fit width.
FittedText fitHeaderTitle(const QFont& font, const QString& profileName, int width);

// Where a profile button's name goes: under its picture and above the settings button's row,
// so the settings button (bottom right, shown on the chosen profile) never covers it.
struct ProfileFaceLayout {
    int nameTop = 0;
    int nameHeight = 0;
    int pictureMaxHeight = 0;
};
ProfileFaceLayout profileFaceLayout(const QFont& nameFont, int buttonHeight, int settingsButtonSize);

// picture, scaled down (aspect kept) when taller than maxHeight points.
QPixmap fitPictureHeight(const QPixmap& picture, int maxHeight);

// Sets label to text, cut to the label's width; the tool tip of tipOwner carries the whole text
// only when it was cut.
void setFittedText(QLabel* label, const QString& text, QWidget* tipOwner);

}  // namespace exportkit

#pragma once
// Colours, fonts and small view helpers of the editor window and its panels.
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <functional>

class QLabel;
class QWidget;
namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::editor::look {

inline const QColor kWindowBackground(23, 26, 32);
inline const QColor kPanelBackground(32, 35, 43);
inline const QColor kFieldBorder(49, 60, 72);
inline const QColor kControlText(170, 177, 185);
inline const QColor kAccent(96, 222, 208);
inline const QColor kTimeLabelText = QColor::fromRgbF(0.8, 0.8, 0.8, 0.6);
inline const QColor kPlayerBackground(23, 23, 23);

constexpr int kWindowWidth = 1180;
constexpr int kWindowHeight = 780;
constexpr int kTitleHeight = 36;
constexpr int kLeftColumnWidth = 408;
constexpr int kToolRowHeight = 64;
constexpr int kBottomBarHeight = 100;
constexpr int kFormatBarHeight = 180;
constexpr int kFormatBarCollapsedHeight = 32;

QFont systemFont(int pointSize);
QPixmap picture(const QString& name);
void setBackground(QWidget* view, const QColor& colour);
QLabel* makeLabel(QWidget* parent, int pointSize, const QColor& colour = kControlText);

// A borderless button whose face is a picture per state: <stem>_Normal@2x.png, _On, _Down and
// _Disable.
kestrel::widgets::ZorButton* makeStateButton(QWidget* parent, const QString& stem);
// A check box, its picture leading: ZantImage/<folder>/chk_NoChecked_<state>@2x.png, and
// chk_Checked_Normal@2x.png while selected.
kestrel::widgets::ZorButton* makeCheckButton(QWidget* parent, const QString& folder);
// The up or down spin-button look; such buttons start disabled.
void styleSpinButton(kestrel::widgets::ZorButton* button, bool up, std::function<void(kestrel::widgets::ZorButton*)> action);
// The four pictures of a transport button: play, or pause while something plays.
void setPlayPictures(kestrel::widgets::ZorButton* button, bool pause);

}  // namespace kestrel::editor::look

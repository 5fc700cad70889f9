#pragma once
// Where the shell puts windows: the screen-scaled fixed sizes of the large tool windows, and
// dialogs centred over the window they belong to.
#include <QRect>
#include <QSizeF>
#include <QString>

class QWidget;

namespace app {

// The fixed size of a large tool window: w = min(screenWidth / 1920, 1) * baseWidth and
// h = baseHeight * w / baseWidth, in single precision.
QSizeF scaledToolWindowSize(float screenWidth, float baseWidth, float baseHeight);
// The main screen's width in points (1920 when there is no screen).
float mainScreenWidth();

// A frame of the given size centred over owner (owner's origin + half the size difference).
QRect frameCentredOver(const QWidget* owner, const QSizeF& size);

// Centres a window on the main screen.
void centreOnScreen(QWidget* window);
// Fixes a window to a size (it cannot be resized) and centres it on the main screen.
void fixSizeCentred(QWidget* window, const QSizeF& size);

// Shows a tool window as the shell does: it frees itself when closed, is titled by the text of
// titleKey and brought to the front.
void presentToolWindow(QWidget* window, const QString& titleKey);

}  // namespace app

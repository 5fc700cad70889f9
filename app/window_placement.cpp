#include "app/window_placement.h"

#include "services/language.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace app {

QSizeF scaledToolWindowSize(float screenWidth, float baseWidth, float baseHeight) {
    const float scale = std::min(screenWidth / 1920.0f, 1.0f);
    const float w = scale * baseWidth;
    const float h = baseHeight * w / baseWidth;
    return QSizeF(w, h);
}

float mainScreenWidth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? float(screen->geometry().width()) : 1920.0f;
}

QRect frameCentredOver(const QWidget* owner, const QSizeF& size) {
    const QRect base = owner ? owner->frameGeometry() : QRect();
    const float x = float(base.x()) + float(base.width() - size.width()) / 2.0f;
    const float y = float(base.y()) + float(base.height() - size.height()) / 2.0f;
    return QRect(int(std::lround(x)), int(std::lround(y)), int(std::lround(size.width())), int(std::lround(size.height())));
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void fixSizeCentred(QWidget* window, const QSizeF& size) {
    const QSize pixels(int(std::lround(size.width())), int(std::lround(size.height())));
    window->setFixedSize(pixels);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const float x = (float(area.width()) - float(size.width())) / 2.0f;
    const float y = (float(area.height()) - float(size.height())) / 2.0f;
    window->move(area.x() + int(std::lround(x)), area.y() + int(std::lround(y)));
}

void presentToolWindow(QWidget* window, const QString& titleKey) {
    window->setAttribute(Qt::WA_DeleteOnClose, true);
    window->setWindowTitle(services::localized(titleKey));
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace app

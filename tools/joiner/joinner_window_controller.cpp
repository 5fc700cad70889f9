#include "tools/joiner/joinner_window_controller.h"

#include "platform/notification_center.h"

#include <QCloseEvent>
#include <QPalette>

namespace joiner {

JoinnerWindowController::JoinnerWindowController(QWidget* parent) : QWidget(parent, Qt::Window) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(23, 26, 32));
    setPalette(palette);
    setAutoFillBackground(true);
    resize(1100, 720);
}

void JoinnerWindowController::closeEvent(QCloseEvent* event) {
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
    event->accept();
}

}  // namespace joiner

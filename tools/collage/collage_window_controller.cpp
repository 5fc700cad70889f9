#include "tools/collage/collage_window_controller.h"

#include "platform/notification_center.h"

#include <QCloseEvent>
#include <QPalette>

namespace collage {

CollageWindowController::CollageWindowController(QWidget* parent) : QWidget(parent, Qt::Window) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(23, 26, 32));
    setPalette(palette);
    setAutoFillBackground(true);
    resize(1370, 770);
}

void CollageWindowController::closeEvent(QCloseEvent* event) {
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
    event->accept();
}

}  // namespace collage

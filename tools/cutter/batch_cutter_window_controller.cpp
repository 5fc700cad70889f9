#include "tools/cutter/batch_cutter_window_controller.h"

#include "platform/notification_center.h"

#include <QCloseEvent>
#include <QPalette>

namespace cutter {

BatchCutterWindowController::BatchCutterWindowController(QWidget* parent) : QWidget(parent, Qt::Window) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(23, 26, 32));
    setPalette(palette);
    setAutoFillBackground(true);
    resize(1000, 680);
}

void BatchCutterWindowController::closeEvent(QCloseEvent* event) {
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
    event->accept();
}

}  // namespace cutter

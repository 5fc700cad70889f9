#include "tools/converter3d/ui3d_converter_window_controller.h"

#include "platform/notification_center.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

namespace converter3d {

UI3DConverterWindowController::UI3DConverterWindowController(QWidget* parent) : QWidget(parent, Qt::Window) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(23, 26, 32));
    palette.setColor(QPalette::WindowText, QColor(205, 214, 221));
    setPalette(palette);
    setAutoFillBackground(true);
    resize(1500, 876);
    infoLabel_ = new QLabel(this);
    infoLabel_->setAlignment(Qt::AlignCenter);
    infoLabel_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoLabel_);
}

void UI3DConverterWindowController::showEvent(QShowEvent* event) {
    if (!loaded_) {
        loaded_ = true;
        windowDidLoad();
    }
    QWidget::showEvent(event);
}

void UI3DConverterWindowController::windowDidLoad() {
    infoLabel_->setText(QDir::toNativeSeparators(videoPath_));
}

void UI3DConverterWindowController::closeEvent(QCloseEvent* event) {
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
    event->accept();
}

}  // namespace converter3d

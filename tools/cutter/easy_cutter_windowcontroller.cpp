#include "tools/cutter/easy_cutter_windowcontroller.h"

#include "platform/notification_center.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

namespace cutter {

EasyCutterWindowcontroller::EasyCutterWindowcontroller(QWidget* parent) : QWidget(parent, Qt::Window) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(23, 26, 32));
    palette.setColor(QPalette::WindowText, QColor(205, 214, 221));
    setPalette(palette);
    setAutoFillBackground(true);
    resize(1000, 680);
    infoLabel_ = new QLabel(this);
    infoLabel_->setAlignment(Qt::AlignCenter);
    infoLabel_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoLabel_);
}

void EasyCutterWindowcontroller::showEvent(QShowEvent* event) {
    if (!loaded_) {
        loaded_ = true;
        windowDidLoad();
    }
    QWidget::showEvent(event);
}

void EasyCutterWindowcontroller::windowDidLoad() {
    infoLabel_->setText(QDir::toNativeSeparators(filePath_));
}

void EasyCutterWindowcontroller::closeEvent(QCloseEvent* event) {
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
    event->accept();
}

}  // namespace cutter

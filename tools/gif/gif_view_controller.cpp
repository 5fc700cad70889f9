#include "tools/gif/gif_view_controller.h"

#include "platform/notification_center.h"

#include <QDir>
#include <QLabel>
#include <QVBoxLayout>

namespace gif {

GIFViewController::GIFViewController(QWidget* parent) : QWidget(parent) {
    infoLabel_ = new QLabel(this);
    infoLabel_->setAlignment(Qt::AlignCenter);
    infoLabel_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoLabel_);
}

void GIFViewController::showEvent(QShowEvent* event) {
    if (!loaded_) {
        loaded_ = true;
        viewDidLoad();
    }
    QWidget::showEvent(event);
}

void GIFViewController::viewDidLoad() {
    infoLabel_->setText(QDir::toNativeSeparators(videoPath_));
}

void GIFViewController::windowWillClose() {
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
}

}  // namespace gif

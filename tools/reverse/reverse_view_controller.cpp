#include "tools/reverse/reverse_view_controller.h"

#include "platform/notification_center.h"

#include <QDir>
#include <QLabel>
#include <QVBoxLayout>

namespace reverse {

ReverseViewController::ReverseViewController(QWidget* parent) : QWidget(parent) {
    infoLabel_ = new QLabel(this);
    infoLabel_->setAlignment(Qt::AlignCenter);
    infoLabel_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoLabel_);
}

void ReverseViewController::showEvent(QShowEvent* event) {
    if (!loaded_) {
        loaded_ = true;
        viewDidLoad();
    }
    QWidget::showEvent(event);
}

void ReverseViewController::viewDidLoad() {
    infoLabel_->setText(QDir::toNativeSeparators(filePath_));
}

void ReverseViewController::windowWillClose() {
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
}

}  // namespace reverse

#include "widgets/tool_window.h"

#include "platform/notification_center.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

namespace kestrel::widgets {

void applyToolWindowLook(QWidget* window) {
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, QColor(23, 26, 32));
    palette.setColor(QPalette::WindowText, QColor(205, 214, 221));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

ToolWindow::ToolWindow(QWidget* parent) : QWidget(parent, Qt::Window) { applyToolWindowLook(this); }

void ToolWindow::showPath(const QString& path) {
    if (!pathLabel_) {
        pathLabel_ = new QLabel(this);
        pathLabel_->setAlignment(Qt::AlignCenter);
        pathLabel_->setWordWrap(true);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(pathLabel_);
    }
    pathLabel_->setText(QDir::toNativeSeparators(path));
}

void ToolWindow::showEvent(QShowEvent* event) {
    if (!loaded_) {
        loaded_ = true;
        windowDidLoad();
    }
    QWidget::showEvent(event);
}

void ToolWindow::closeEvent(QCloseEvent* event) {
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
    event->accept();
}

}  // namespace kestrel::widgets

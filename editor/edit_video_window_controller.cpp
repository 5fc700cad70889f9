#include "editor/edit_video_window_controller.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/notification_center.h"

namespace {
class EditorWindow : public QWidget {
public:
    std::function<void()> onClose;
protected:
    void closeEvent(QCloseEvent* event) override {
        QWidget::closeEvent(event);
        if (event->isAccepted() && onClose) onClose();
    }
};
}  // namespace

struct EditVideoWindowController::State {
    int64_t toolItemType = 0;
    int64_t oldToolItemType = 0;
    bool isMagicEnhance = false;
    QString filePath;
    EditorWindow* window = nullptr;
};

EditVideoWindowController::EditVideoWindowController(int64_t toolItemType, QObject* parent)
    : QObject(parent), d_(new State) {
    d_->toolItemType = toolItemType;
}

EditVideoWindowController::~EditVideoWindowController() {
    delete d_->window;
    delete d_;
}

void EditVideoWindowController::setToolItemType(int64_t type) { d_->toolItemType = type; }
int64_t EditVideoWindowController::toolItemType() const { return d_->toolItemType; }
int64_t EditVideoWindowController::oldToolItemType() const { return d_->oldToolItemType; }
void EditVideoWindowController::setIsMagicEnhance(bool on) { d_->isMagicEnhance = on; }
bool EditVideoWindowController::isMagicEnhance() const { return d_->isMagicEnhance; }
void EditVideoWindowController::setFilePath(const QString& path) { d_->filePath = path; }
QString EditVideoWindowController::filePath() const { return d_->filePath; }

QWidget* EditVideoWindowController::window() {
    if (!d_->window) {
        d_->window = new EditorWindow;
        d_->window->resize(1100, 720);
        d_->window->onClose = [this] {
            platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
            deleteLater();
        };
    }
    return d_->window;
}

void EditVideoWindowController::showWindow(const QString& title) {
    QWidget* w = window();
    if (!title.isEmpty()) w->setWindowTitle(title);
    w->show();
    w->raise();
    w->activateWindow();
}

void EditVideoWindowController::closeAction() {
    if (d_->window) d_->window->close();
}

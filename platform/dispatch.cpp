#include "platform/dispatch.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QRunnable>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

namespace platform {

bool isMainThread() {
    auto* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void dispatchMainAsync(std::function<void()> fn) {
    auto* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

void dispatchMainSync(const std::function<void()>& fn) {
    auto* app = QCoreApplication::instance();
    if (!app || isMainThread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(app, fn, Qt::BlockingQueuedConnection);
}

void dispatchGlobalAsync(std::function<void()> fn) {
    QThreadPool::globalInstance()->start(QRunnable::create(std::move(fn)));
}

void dispatchMainAfter(int delay_ms, std::function<void()> fn) {
    auto* app = QCoreApplication::instance();
    if (!app) return;
    if (isMainThread()) {
        QTimer::singleShot(delay_ms, app, std::move(fn));
    } else {
        dispatchMainAsync([delay_ms, fn = std::move(fn)]() mutable {
            QTimer::singleShot(delay_ms, QCoreApplication::instance(), std::move(fn));
        });
    }
}

}  // namespace platform

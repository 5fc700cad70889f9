#include "engine/editing/preview_view.h"

#include "engine/editing/preview_surface.h"

#include <QCoreApplication>
#include <QMutexLocker>
#include <QPainter>
#include <QPointer>

namespace kestrel::editing {

PreviewView::PreviewView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewView::setPicture(QImage picture) {
    {
        QMutexLocker lock(&mutex_);
        picture_ = std::move(picture);
    }
    QPointer<PreviewView> self(this);
    QMetaObject::invokeMethod(
        qApp, [self] { if (self) self->update(); }, Qt::QueuedConnection);
}

QImage PreviewView::picture() const {
    QMutexLocker lock(&mutex_);
    return picture_;
}

void PreviewView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    QImage shown = picture();
    if (shown.isNull()) return;
    QSize fitted = shown.size().scaled(size(), Qt::KeepAspectRatio);
    QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, shown);
}

namespace {

class QtPreviewSurface : public PreviewSurface {
public:
    QtPreviewSurface(int width, int height) : view_(new PreviewView()) {
        if (width > 0 && height > 0) view_->resize(width, height);
    }
    void* widget() override { return static_cast<QWidget*>(view_.data()); }
    void present(const Canvas& canvas) override {
        if (canvas.width <= 0 || canvas.height <= 0) return;
        // Format_ARGB32 is B, G, R, A in memory on little-endian machines, as the canvas.
        QImage image(canvas.bgra.data(), canvas.width, canvas.height, canvas.width * 4, QImage::Format_ARGB32);
        QPointer<PreviewView> view = view_;
        if (view) view->setPicture(image.copy());
    }
    void release() override {
        QPointer<PreviewView> view = view_;
        if (view && !view->parent()) view->deleteLater();
    }

private:
    QPointer<PreviewView> view_;
};

}  // namespace

std::shared_ptr<PreviewSurface> createPreviewSurface(int width, int height) {
    if (!QCoreApplication::instance()) return nullptr;
    return std::make_shared<QtPreviewSurface>(width, height);
}

}  // namespace kestrel::editing

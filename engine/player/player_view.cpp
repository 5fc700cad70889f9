#include "engine/player/player_view.h"

#include <QPainter>

namespace kestrel::player {

PlayerView::PlayerView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlayerView::showImage(const QImage& image) {
    image_ = image;
    update();
}

QRect PlayerView::pictureRect() const {
    if (image_.isNull() || width() <= 0 || height() <= 0) return {};
    QSize fitted = image_.size().scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

void PlayerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QRect target = pictureRect();
    if (target.isEmpty()) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image_);
}

}  // namespace kestrel::player

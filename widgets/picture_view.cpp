#include "widgets/picture_view.h"

#include <QPainter>

#include "services/language.h"

namespace widgets {

QPixmap bundlePicture(const QString& name) { return services::Language::pixmapWithfileName(name); }

PictureView::PictureView(QWidget* parent) : LayerView(parent) {
    // Clicks belong to the control the picture is part of.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PictureView::setImage(const QPixmap& image) {
    image_ = image;
    imageName_.clear();
    update();
}

void PictureView::setImageNamed(const QString& name) {
    image_ = bundlePicture(name);
    imageName_ = name;
    update();
}

void PictureView::setImageScaling(ImageScaling scaling) {
    scaling_ = scaling;
    update();
}

QSizeF PictureView::imagePointSize() const {
    if (image_.isNull()) return {};
    return QSizeF(image_.size()) / image_.devicePixelRatio();
}

void PictureView::paintContent(QPainter& painter) {
    if (image_.isNull()) return;
    const QRectF bounds(rect());
    const QSizeF natural = imagePointSize();
    QSizeF drawn = natural;
    switch (scaling_) {
        case ImageScaling::AxesIndependently:
            painter.drawPixmap(bounds, image_, QRectF(image_.rect()));
            return;
        case ImageScaling::None:
            break;
        case ImageScaling::ProportionallyDown:
            if (natural.width() > bounds.width() || natural.height() > bounds.height())
                drawn = natural.scaled(bounds.size(), Qt::KeepAspectRatio);
            break;
        case ImageScaling::ProportionallyUpOrDown:
            drawn = natural.scaled(bounds.size(), Qt::KeepAspectRatio);
            break;
    }
    const QRectF target(bounds.center() - QPointF(drawn.width() / 2, drawn.height() / 2), drawn);
    painter.drawPixmap(target, image_, QRectF(image_.rect()));
}

}  // namespace widgets

#include "widgets/named_image_view.h"

#include <QPainter>
#include <QPainterPath>

#include "services/language.h"

namespace kestrel::widgets {

NamedImageView::NamedImageView(QWidget* parent) : ImageView(parent) {}

void NamedImageView::setImageNamed(const QString& name) {
    // Owners re-apply looks on every drag step; the picture shown already needs no new load.
    if (!name.isEmpty() && name == imageName() && !image().isNull()) return;
    setImage(services::Language::pixmapWithfileName(name));
    imageName_ = name;
    namedImageKey_ = image().cacheKey();
}

QString NamedImageView::imageName() const {
    // A picture set directly since then has no name.
    return image().cacheKey() == namedImageKey_ ? imageName_ : QString();
}

void NamedImageView::setLayerCornerRadius(qreal radius) {
    cornerRadius_ = radius;
    update();
}

void NamedImageView::setMasksToBounds(bool masks) {
    masksToBounds_ = masks;
    update();
}

void NamedImageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (masksToBounds_ && cornerRadius_ > 0) {
        QPainterPath rounded;
        rounded.addRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setClipPath(rounded);
    }
    drawPlatformImage(painter);
}

}  // namespace kestrel::widgets

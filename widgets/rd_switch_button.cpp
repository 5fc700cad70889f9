#include "widgets/rd_switch_button.h"

#include <QLabel>
#include <QMouseEvent>

#include "widgets/image_view.h"
#include "widgets/text_label.h"
#include "widgets/view_frame.h"

namespace kestrel::widgets {

RDSwitchButton::RDSwitchButton(const QRectF& frame, QWidget* parent) : QWidget(parent) {
    setViewFrame(this, frame);
    titleLabel_ = makeTextLabel(this, 13, Qt::AlignLeft | Qt::AlignVCenter);
    setTextColor(titleLabel_, Qt::white);
    // The picture lies above the label.
    imageView_ = new ImageView(this);
    placeSubviews();
}

void RDSwitchButton::placeSubviews() {
    const QSizeF size = viewSize(this);
    const qreal W = size.width();
    const qreal H = size.height();
    setViewFrame(imageView_, QRectF(0, 0, H, H));
    setViewFrame(titleLabel_, QRectF(H + 5, (H - 18) / 2, W - (H + 10), 20));
}

void RDSwitchButton::resizeEvent(QResizeEvent*) { placeSubviews(); }

void RDSwitchButton::setSelected(bool selected) {
    selected_ = selected;
    QColor& color = selected ? selectedColor : normalColor;
    const QPixmap& picture = selected ? selectedImage : normalImage;
    if (!picture.isNull()) imageView_->setImage(picture);
    if (!color.isValid()) color = Qt::black;
    if (!title.isEmpty()) {
        titleLabel_->setText(title);
        setTextColor(titleLabel_, color);
    }
}

void RDSwitchButton::down() {
    if (!heightedImage.isNull()) imageView_->setImage(heightedImage);
    if (!title.isEmpty()) {
        titleLabel_->setText(title);
        setTextColor(titleLabel_, heightedColor.isValid() ? heightedColor : QColor(Qt::black));
    }
}

void RDSwitchButton::up() {
    setSelected(!selected_);
    if (delegate_) delegate_->actionMouseUpForSwitchButtonBlock(this);
}

void RDSwitchButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) down();
}

void RDSwitchButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) up();
}

}  // namespace kestrel::widgets

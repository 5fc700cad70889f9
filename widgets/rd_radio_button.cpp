#include "widgets/rd_radio_button.h"

#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>

#include "widgets/image_view.h"
#include "widgets/text_label.h"
#include "widgets/view_frame.h"

namespace kestrel::widgets {
namespace {
constexpr qreal kIconSize = 20;
}

RDRadioButton::RDRadioButton(const QRectF& frame, QWidget* parent) : QWidget(parent) {
    setViewFrame(this, frame);
    backgroundView_ = new ImageView(this);
    backgroundView_->setImageScaling(ImageScaling::AxesIndependently);
    iconView_ = new QRadioButton(this);
    iconView_->setAutoExclusive(false);
    iconView_->setChecked(true);
    iconView_->setFocusPolicy(Qt::NoFocus);
    connect(iconView_, &QRadioButton::clicked, this, [this] { actioniconBtn(); });
    titleLabel_ = makeTextLabel(this, 13, Qt::AlignLeft | Qt::AlignVCenter);
    setTextColor(titleLabel_, Qt::black);
    placeSubviews();

    setEnabled(true);
    normalColor = heightedColor = selectedColor = QColor(0, 0, 0);
    setSelected(false);
}

void RDRadioButton::placeSubviews() {
    const QSizeF size = viewSize(this);
    const qreal W = size.width();
    const qreal H = size.height();
    setViewFrame(backgroundView_, QRectF(0, 0, W, H));
    setViewFrame(iconView_, QRectF(5, (H - kIconSize) / 2, kIconSize, kIconSize));
    setViewFrame(titleLabel_, QRectF(kIconSize + 5, (H - 25) / 2 - 3, W - (kIconSize + 10), 25));
}

void RDRadioButton::resizeEvent(QResizeEvent*) { placeSubviews(); }

void RDRadioButton::applyLook() {
    if (enabled_) {
        iconView_->setChecked(selected_);
        setTextColor(titleLabel_, selected_ ? selectedColor : normalColor);
    } else {
        setTextColor(titleLabel_, disabledColor);
    }
}

void RDRadioButton::setEnabled(bool enabled) {
    enabled_ = enabled;
    iconView_->setEnabled(enabled);
    applyLook();
}

void RDRadioButton::setSelected(bool selected) {
    selected_ = selected;
    applyLook();
    if (!title_.isNull()) titleLabel_->setText(title_);
    update();
}

void RDRadioButton::setFont(const QFont& font) {
    font_ = font;
    titleLabel_->setFont(font);
    update();
}

void RDRadioButton::actioniconBtn() {
    selected_ = true;
    iconView_->setEnabled(enabled_);
    applyLook();
    if (!enabled_) return;
    QPointer<RDRadioButton> self(this);
    if (delegate_) delegate_->actionMouseUpForRDRadioButtonBlock(this);
    if (self) update();
}

void RDRadioButton::mousePressEvent(QMouseEvent* event) {
    if (!enabled_ || event->button() != Qt::LeftButton) return;
    if (!heightedImage.isNull()) iconView_->setIcon(QIcon(heightedImage));
    setTextColor(titleLabel_, heightedColor);
}

void RDRadioButton::mouseReleaseEvent(QMouseEvent* event) {
    if (!enabled_ || event->button() != Qt::LeftButton) return;
    actioniconBtn();
}

}  // namespace kestrel::widgets

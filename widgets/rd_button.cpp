#include "widgets/rd_button.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPointer>

#include "services/language.h"
#include "widgets/image_view.h"
#include "widgets/text_label.h"
#include "widgets/view_frame.h"

namespace kestrel::widgets {

RDButton::RDButton(const QRectF& frame, QWidget* parent) : QWidget(parent) {
    setViewFrame(this, frame);
    const qreal W = frame.width();
    const qreal H = frame.height();
    title_ = QStringLiteral("title");

    backgroundView_ = new ImageView(this);
    setViewFrame(backgroundView_, QRectF(0, 0, W, H));
    backgroundView_->setImageScaling(ImageScaling::AxesIndependently);
    backgroundView_->setImageAlignment(ImageAlignment::Center);
    backImage_ = services::Language::pixmapWithfileName("Resources/edit_cancel_normal.png");
    heightBackImage_ = services::Language::pixmapWithfileName("Resources/edit_cancel_alternate.png");
    backgroundView_->setImage(backImage_);

    titleLabel_ = makeTextLabel(this, 12, Qt::AlignHCenter | Qt::AlignTop);
    titleLabelFrame_ = QRectF(0, -5, W, 30);
    setViewFrame(titleLabel_, titleLabelFrame_);
    setTextColor(titleLabel_, Qt::white);

    setEnabled(true);
    setNormalColor(Qt::white);
    heightedColor_ = Qt::white;
    selectedColor_ = QColor::fromRgbF(1.0f, 0.3176470588f, 0.0f, 1.0f);
    setSelected(false);
}

void RDButton::applyStateColor() {
    if (!enabled_) setTextColor(titleLabel_, disabledColor_);
    else setTextColor(titleLabel_, selected_ ? selectedColor_ : normalColor_);
}

void RDButton::setEnabled(bool enabled) {
    enabled_ = enabled;
    applyStateColor();
}

void RDButton::setSelected(bool selected) {
    selected_ = selected;
    applyStateColor();
    if (!title_.isNull()) titleLabel_->setText(title_);
    update();
}

void RDButton::setTitle(const QString& title) {
    title_ = title;
    titleLabel_->setText(title);
    applyStateColor();
    update();
}

void RDButton::setFont(const QFont& font) {
    font_ = font;
    titleLabel_->setFont(font);
    update();
}

void RDButton::setBackImage(const QPixmap& p) {
    backImage_ = p;
    backgroundView_->setImage(p);
}

void RDButton::setHeightBackImage(const QPixmap& p) {
    heightBackImage_ = p;
    backgroundView_->setImage(p);
}

void RDButton::setNormalColor(const QColor& c) {
    normalColor_ = c;
    setTextColor(titleLabel_, c);
    update();
}

void RDButton::setTitleLabelFrame(const QRectF& frame) {
    titleLabelFrame_ = frame;
    setViewFrame(titleLabel_, frame);
}

void RDButton::actioniconBtn() {
    selected_ = true;  // stored directly: the label text stays as it is
    setTextColor(titleLabel_, enabled_ ? selectedColor_ : disabledColor_);
    if (!enabled_) return;
    QPointer<RDButton> self(this);
    if (delegate_) delegate_->actionMouseUpForRDButtonBlock(this);
    if (self) update();
}

void RDButton::mousePressEvent(QMouseEvent* event) {
    if (!enabled_ || event->button() != Qt::LeftButton) return;
    setTextColor(titleLabel_, heightedColor_);
    backgroundView_->setImage(heightBackImage_);
}

void RDButton::mouseReleaseEvent(QMouseEvent* event) {
    if (!enabled_ || event->button() != Qt::LeftButton) return;
    backgroundView_->setImage(backImage_);
    // Dragging off the button before letting go backs out of the click.
    if (!rect().contains(event->position().toPoint())) {
        applyStateColor();
        return;
    }
    actioniconBtn();
}

void RDButton::resizeEvent(QResizeEvent*) {
    // The background follows the button in width and height.
    setViewFrame(backgroundView_, QRectF(0, 0, width(), height()));
    setViewFrame(titleLabel_, titleLabelFrame_);
}

}  // namespace kestrel::widgets

#include "widgets/rd_custom_button.h"

#include <QMouseEvent>
#include <QPointer>

#include "widgets/image_view.h"
#include "widgets/view_frame.h"

namespace kestrel::widgets {

RDCustomButtonLayout rdCustomButtonLayout(quint64 code, qreal W, qreal H, bool titleLab) {
    RDCustomButtonLayout out;
    QRectF picture;
    std::optional<QRectF> title;
    switch (code) {
    case 0:
        picture = QRectF(W - H, 0, H, H);
        title = QRectF(0, 0, picture.x(), H);
        break;
    case 1:
        picture = QRectF(0, 0, H, H);
        title = QRectF(picture.right(), 0, W - picture.right(), H);
        break;
    case 2:
        picture = QRectF(0, 0, W, H - 15);
        title = QRectF(0, picture.y() + picture.height(), W, 18);
        break;
    case 3:
        picture = QRectF(0, 18, W, H - 15);
        title = QRectF(0, 4, W, 18);
        break;
    case 4:
        picture = QRectF(0, 0, W, H);
        break;
    default:
        return out;
    }
    out.picture = picture;
    if (titleLab) out.title = title;
    return out;
}

RDCustomButton::RDCustomButton(const QRectF& frame, QWidget* parent) : QWidget(parent) {
    setViewFrame(this, frame);
    const qreal W = frame.width();
    const qreal H = frame.height();
    backView_ = new ImageView(this);
    setViewFrame(backView_, QRectF(0, 0, W, H));
    backView_->setImageScaling(ImageScaling::AxesIndependently);
    imageView_ = new ImageView(this);
    setViewFrame(imageView_, QRectF(0, 15, W, H - 15));
    titleBtn_ = new RDTitleButton(this);
    setViewFrame(titleBtn_, QRectF(-2, 0, W + 4, H));
    titleBtn_->setTitle(QString());
    titleBtn_->setBordered(false);
    // The title button stays enabled in Qt terms so its presses still arrive; it never clicks
    // by itself, it only forwards presses here.
    titleBtn_->setDelegate(this);
}

void RDCustomButton::setCellTextPosition(quint64 code) {
    cellTextPosition_ = code;
    const RDCustomButtonLayout layout = rdCustomButtonLayout(code, viewSize(this).width(), viewSize(this).height(), titleLab_);
    if (layout.picture) setViewFrame(imageView_, *layout.picture);
    if (layout.title) setViewFrame(titleBtn_, *layout.title);
}

void RDCustomButton::setTitleRect(const QRectF& frame) { setViewFrame(titleBtn_, frame); }

void RDCustomButton::setTitle(const QString& title, const QColor& color, qint64 textAlignment) {
    titleBtn_->setAttributedStringTitle(services::HelpClass::retButtonTitle(
        title, color, fontname_, fontsize_ < 1 ? 12 : fontsize_, false, textAlignment));
    titleBtn_->setBordered(false);
}

void RDCustomButton::setSelected(bool selected) {
    selected_ = selected;
    if (title_.isEmpty()) title_ = QStringLiteral("  ");
    const QColor kBlue = QColor::fromRgbF(0.404f, 0.756f, 1.0f, 1.0f);
    QColor color;
    if (enabled_ && selected) {
        backView_->setImage(selectedBackImage_);
        imageView_->setImage(selectedImage_);
        if (!selectedTitleColor_.isValid()) selectedTitleColor_ = kBlue;
        color = selectedTitleColor_;
    } else if (enabled_) {
        backView_->setImage(normalBackImage_);
        imageView_->setImage(normalImage_);
        if (!normalTitleColor_.isValid()) normalTitleColor_ = QColor::fromRgbF(0.828f, 0.828f, 0.828f, 1.0f);
        color = normalTitleColor_;
    } else {
        backView_->setImage(disableBackImage_);
        imageView_->setImage(disableImage_);
        if (!disableTitleColor_.isValid()) disableTitleColor_ = kBlue;
        color = disableTitleColor_;
    }
    setTitle(title_, color, 0);
}

void RDCustomButton::actionTouchUpInslid() {
    if (enabled_ && delegate_) delegate_->actionMouseUpForCustomButtonBlock(this);
}

void RDCustomButton::pressed() {
    if (!enabled_) return;
    if (!hightideBackImage_.isNull()) backView_->setImage(hightideBackImage_);
    else actionTouchUpInslid();
}

void RDCustomButton::released() {
    if (enabled_ && !hightideBackImage_.isNull()) actionTouchUpInslid();
}

void RDCustomButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed();
}

void RDCustomButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) released();
}

void RDCustomButton::actionMouseUpForTitleButtonBlock(RDTitleButton*) { released(); }

void RDCustomButton::actionMouseDownForTitleButtonBlock(RDTitleButton*) { pressed(); }

}  // namespace kestrel::widgets

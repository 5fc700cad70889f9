#include "widgets/cut_item_view.h"

#include <QCursor>
#include <QEnterEvent>
#include <QLabel>
#include <QPainter>

#include "platform/frame.h"
#include "services/help_class.h"
#include "widgets/image_view.h"
#include "widgets/text_label.h"
#include "widgets/view_frame.h"

namespace kestrel::widgets {

QString cutItemTitle(const CutItem& item) {
    return services::HelpClass::returnTimeToStr(item.startTime) + "-" + services::HelpClass::returnTimeToStr(item.endTime);
}

CutItemView::CutItemView(const QRectF& frame, QWidget* parent) : QAbstractButton(parent) {
    setViewFrame(this, frame);
    const qreal W = frame.width();
    const qreal H = frame.height();
    backView_ = new ImageView(this);
    setViewFrame(backView_, QRectF(0, 0, W, H - 20));
    iconView_ = new ImageView(this);
    setViewFrame(iconView_, QRectF(10, 10, W - 20, 67.5));
    titleField_ = makeTextLabel(this, 11, Qt::AlignHCenter | Qt::AlignTop);
    titleField_->setContentsMargins(0, 0, 0, 0);
    setTextColor(titleField_, Qt::black);
    setViewFrame(titleField_, QRectF(0, H - 37, W, 12));
    setMouseTracking(true);
}

void CutItemView::setItem(const CutItem& item) {
    item_ = item;
    iconView_->setImage(item.thumbImage);
    titleField_->setText(cutItemTitle(item));
    update();
}

void CutItemView::paintEvent(QPaintEvent* event) {
    const QColor& fill = selected_ ? sbackGroundColor : nbackGroundColor;
    const QPixmap& picture = selected_ ? sbackGroundImage : nbackGroundImage;
    if (!picture.isNull()) backView_->setImage(picture);
    if (!fill.isValid()) return;
    QPainter painter(this);
    painter.fillRect(rect(), fill);
}

QPointF CutItemView::pointerInTile() const {
    // The pointer relative to the tile, y up from its bottom edge.
    return platform::pointFromQt(mapFromGlobal(QCursor::pos()), height());
}

void CutItemView::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    if (isEnabled() && mouseEntered) {
        mouseEntered(platform::pointFromQt(event->position(), height()));
    }
}

void CutItemView::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    if (isEnabled() && mouseExited) mouseExited(pointerInTile());
}

}  // namespace kestrel::widgets

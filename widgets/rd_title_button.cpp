#include "widgets/rd_title_button.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

namespace kestrel::widgets {
namespace {

// The centred rectangle of a one-line text measured with the font inside the bounds.
QRectF centredTextRect(const QString& text, const QFont& font, const QRectF& bounds) {
    const QRectF measured = QFontMetricsF(font).boundingRect(QRectF(0, 0, bounds.width(), bounds.height()),
                                                             Qt::AlignHCenter | Qt::TextWordWrap, text);
    return QRectF((bounds.width() - measured.width()) / 2, (bounds.height() - measured.height()) / 2,
                  measured.width(), measured.height());
}

QFont verdana12() {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(12);
    return font;
}

}  // namespace

RDTitleButton::RDTitleButton(QWidget* parent) : QAbstractButton(parent) { setFocusPolicy(Qt::NoFocus); }

void RDTitleButton::setTitleFont(const std::optional<QFont>& font) {
    titleFont_ = font;
    update();
}

void RDTitleButton::setAttributedStringTitle(const std::optional<services::ButtonTitle>& title) {
    attributedStringTitle_ = title;
    update();
}

void RDTitleButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF bounds(rect());
    // The fill goes first so that it never hides a title.
    if (backgroundColor_.isValid()) painter.fillRect(bounds, backgroundColor_);
    if (attributedStringTitle_ && !attributedStringTitle_->isEmpty()) {
        const services::ButtonTitle& t = *attributedStringTitle_;
        QFont measureFont = font();
        measureFont.setPointSizeF(14);
        const QFont drawFont = t.hasFont ? t.font : font();
        const QRectF area = centredTextRect(t.text, measureFont, bounds);
        painter.setFont(drawFont);
        if (t.hasShadow && t.shadowColor.isValid()) {
            // Shadow offsets are bottom-left: y up.
            painter.setPen(t.shadowColor);
            painter.drawText(area.translated(t.shadowOffset.x(), -t.shadowOffset.y()), Qt::AlignCenter, t.text);
        }
        painter.setPen(t.color.isValid() ? t.color : QColor(Qt::white));
        painter.drawText(area, int(t.alignment | Qt::AlignVCenter), t.text);
    }
    if (!text().isEmpty()) {
        const QFont plainFont = titleFont_ ? *titleFont_ : verdana12();
        painter.setFont(plainFont);
        painter.setPen(titleColor_.isValid() ? titleColor_ : QColor(Qt::black));
        painter.drawText(centredTextRect(text(), plainFont, bounds), Qt::AlignCenter, text());
    }
}

void RDTitleButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (delegate_) delegate_->actionMouseDownForTitleButtonBlock(this);
}

void RDTitleButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (delegate_) delegate_->actionMouseUpForTitleButtonBlock(this);
}

}  // namespace kestrel::widgets

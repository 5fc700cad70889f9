#include "widgets/qy_text_filed_center.h"

#include <QPainter>

namespace kestrel::widgets {

QYTextFiledCenter::QYTextFiledCenter(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setReadOnly(true);
}

void QYTextFiledCenter::setTextColor(const QColor& color) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, color);
    setPalette(palette);
}

QColor QYTextFiledCenter::textColor() const { return palette().color(QPalette::Text); }

void QYTextFiledCenter::paintEvent(QPaintEvent*) {
    if (text().isEmpty()) return;
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(textColor());
    painter.drawText(QRectF(rect()), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text());
}

}  // namespace kestrel::widgets

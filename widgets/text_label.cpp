#include "widgets/text_label.h"

#include <QApplication>

namespace kestrel::widgets {

QLabel* makeTextLabel(QWidget* parent, qreal pointSize, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setPointSizeF(pointSize);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setTextFormat(Qt::PlainText);
    // The inset a platform text field keeps around its text.
    label->setContentsMargins(2, 2, 2, 0);
    return label;
}

void setTextColor(QLabel* label, const QColor& color) {
    if (!label) return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     color.isValid() ? color : QApplication::palette().color(QPalette::WindowText));
    label->setPalette(palette);
}

QColor textColor(const QLabel* label) { return label ? label->palette().color(QPalette::WindowText) : QColor(); }

}  // namespace kestrel::widgets

#include "widgets/eliding_combo_box.h"

#include <QAbstractItemView>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>

namespace kestrel::widgets {

ElidingComboBox::ElidingComboBox(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::currentIndexChanged, this, [this] { followChoice(); });
}

QRect ElidingComboBox::labelRect() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
}

QString ElidingComboBox::shownText() const {
    return fontMetrics().elidedText(currentText(), Qt::ElideRight, std::max(0, labelRect().width() - 2));
}

void ElidingComboBox::followChoice() {
    setToolTip(shownText() == currentText() ? QString() : currentText());
}

void ElidingComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = shownText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void ElidingComboBox::resizeEvent(QResizeEvent* event) {
    QComboBox::resizeEvent(event);
    followChoice();
}

void ElidingComboBox::showPopup() {
    int widest = 0;
    for (int i = 0; i < count(); ++i) widest = std::max(widest, view()->fontMetrics().horizontalAdvance(itemText(i)));
    view()->setMinimumWidth(std::max(width(), widest + 40));
    QComboBox::showPopup();
}

}  // namespace kestrel::widgets

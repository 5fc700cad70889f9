#include "widgets/xj_label.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QMouseEvent>

#include "widgets/text_field_shortcuts.h"

namespace kestrel::widgets {

XJLabel::XJLabel(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    setPalette(palette);
    customizeCursorColor(this, Qt::white);
}

XJLabel::~XJLabel() { removeLocalMonitor(); }

void XJLabel::setEditable(bool editable) {
    setReadOnly(!editable);
    setFocusPolicy(editable ? Qt::StrongFocus : Qt::NoFocus);
}

void XJLabel::setTextColor(const QColor& color) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, color);
    setPalette(palette);
}

QColor XJLabel::textColor() const { return palette().color(QPalette::Text); }

void XJLabel::focusInEvent(QFocusEvent* event) {
    addLocalMonitor();
    QLineEdit::focusInEvent(event);
}

void XJLabel::mousePressEvent(QMouseEvent* event) {
    if (mDelegate_) mDelegate_->labelMouseDownInView(this, event);
    if (isReadOnly()) {
        event->ignore();  // a label: the press belongs to the control underneath
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void XJLabel::keyPressEvent(QKeyEvent* event) {
    if (performKeyEquivalent(this, *event)) return;
    QLineEdit::keyPressEvent(event);
}

void XJLabel::addLocalMonitor() {
    if (monitoring_) return;
    qApp->installEventFilter(this);
    monitoring_ = true;
}

void XJLabel::removeLocalMonitor() {
    if (!monitoring_) return;
    qApp->removeEventFilter(this);
    monitoring_ = false;
}

bool XJLabel::pressIsInSiblingStepper(const QPoint& globalPos) const {
    if (!parentWidget()) return false;
    for (QObject* child : parentWidget()->children()) {
        auto* stepper = qobject_cast<QAbstractSpinBox*>(child);
        if (stepper && stepper->isVisible() && stepper->rect().contains(stepper->mapFromGlobal(globalPos))) return true;
    }
    return false;
}

bool XJLabel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress || !watched->isWidgetType()) return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton && mouse->button() != Qt::RightButton) return false;
    const QPoint global = mouse->globalPosition().toPoint();
    if (pressIsInSiblingStepper(global)) return false;  // stepping the value keeps the editing
    if (rect().contains(mapFromGlobal(global))) return false;
    // A press elsewhere ends the editing.
    removeLocalMonitor();
    if (mDelegate_) mDelegate_->labelMouseDownOutView(this, mouse);
    clearFocus();
    return false;  // the press goes on unchanged
}

}  // namespace kestrel::widgets

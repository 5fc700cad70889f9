#include "widgets/rd_text_field.h"

#include <QPainter>

#include "widgets/view_frame.h"
#include "widgets/widget_log.h"

namespace kestrel::widgets {

RDTextField::RDTextField(QWidget* parent) : QLineEdit(parent) {
    // Every field starts disabled; the owner enables it when it may be used.
    setEnabled(false);
}

RDTextField::RDTextField(const QRectF& frame, QWidget* parent, Construction) : RDTextField(parent) {
    setViewFrame(this, frame);
}

void RDTextField::setTintCursorColor(const QColor& color) {
    insertionPointColor_ = color;
    update();
}

void RDTextField::mousePressEvent(QMouseEvent* event) {
    qCDebug(lcWidgets) << "down";
    if (!isEnabled()) {
        QLineEdit::mousePressEvent(event);
        return;
    }
    // The press is the owner's: the field's own handling does not see it.
    if (mouseDelegate_) mouseDelegate_->actionMouseDownForTextFieldBlock(this);
}

void RDTextField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    insertionPointColor_ = pointColor_.isValid() ? pointColor_ : QColor(Qt::black);
    update();
}

void RDTextField::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    // The line edit draws its insertion point in the text colour; draw it over in its own
    // colour while the field is being edited.
    if (!hasFocus() || !isEnabled() || isReadOnly() || hasSelectedText()) return;
    QPainter painter(this);
    const QRect cursor = cursorRect();
    // Two pixels wide so it also covers the line edit's own one-pixel caret beside the centre.
    const QRect bar(cursor.center().x(), cursor.top(), 2, cursor.height());
    painter.fillRect(bar, insertionPointColor_);
}

}  // namespace kestrel::widgets

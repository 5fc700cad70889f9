#pragma once
// The text field of the time and value entries. It starts disabled; while enabled, a press is
// told to the mouse delegate instead of being handled by the field, so the owner learns which
// entry the user is about to change. The owner may choose the insertion point's colour.
#include <QColor>
#include <QLineEdit>
#include <QRectF>

#include "widgets/construction.h"

namespace kestrel::widgets {

class RDTextField;

class RDTextFieldDelegate {
public:
    virtual ~RDTextFieldDelegate() = default;
    virtual void actionMouseDownForTextFieldBlock(RDTextField* field) {}
};

class RDTextField : public QLineEdit {
    Q_OBJECT
public:
    explicit RDTextField(QWidget* parent = nullptr);
    RDTextField(const QRectF& frame, QWidget* parent, Construction how = Construction::InCode);

    // Colour of the insertion point while the field is edited; invalid means black.
    void setPointColor(const QColor& color) { pointColor_ = color; }
    QColor pointColor() const { return pointColor_; }
    // Sets the insertion point's colour at once, without storing it in pointColor.
    void setTintCursorColor(const QColor& color);
    // The colour the insertion point is drawn in now.
    QColor insertionPointColor() const { return insertionPointColor_; }

    // Not owned; the owner clears it before the delegate goes away.
    void setMouseDelegate(RDTextFieldDelegate* delegate) { mouseDelegate_ = delegate; }
    RDTextFieldDelegate* mouseDelegate() const { return mouseDelegate_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor pointColor_;
    QColor insertionPointColor_ = Qt::black;
    RDTextFieldDelegate* mouseDelegate_ = nullptr;
};

}  // namespace kestrel::widgets

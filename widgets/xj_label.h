#pragma once
// A text field used as a label, its text centred vertically. While it is being edited it
// watches presses anywhere in the application and ends the editing when one falls outside it
// (a spin box beside it excepted), telling its delegate.
#include <QLineEdit>

namespace kestrel::widgets {

class XJLabel;

class XJLabelDelegate {
public:
    virtual ~XJLabelDelegate() = default;
    virtual void labelMouseDownInView(XJLabel* label, QMouseEvent* event) {}
    virtual void labelMouseDownOutView(XJLabel* label, QMouseEvent* event) {}
};

class XJLabel : public QLineEdit {
    Q_OBJECT
public:
    explicit XJLabel(QWidget* parent = nullptr);
    ~XJLabel() override;

    XJLabelDelegate* mDelegate() const { return mDelegate_; }
    void setMDelegate(XJLabelDelegate* d) { mDelegate_ = d; }
    // A plain label look: not editable, no frame, clear background.
    void setEditable(bool editable);
    bool isEditable() const { return !isReadOnly(); }
    void setTextColor(const QColor& color);
    QColor textColor() const;
    // Whether the outside-press watch is installed.
    bool hasEventMonitor() const { return monitoring_; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addLocalMonitor();
    void removeLocalMonitor();
    bool pressIsInSiblingStepper(const QPoint& globalPos) const;

    XJLabelDelegate* mDelegate_ = nullptr;
    bool monitoring_ = false;
};

}  // namespace kestrel::widgets

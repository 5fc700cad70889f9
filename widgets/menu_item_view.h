#pragma once
// The custom row of a pop-up menu (placed in a QWidgetAction): a rounded dark label that
// reports clicks and hovering with the index of its item in the menu.
#include <QRectF>
#include <QWidget>

class QLabel;
class QMenu;
class QWidgetAction;

namespace kestrel::widgets {

class MenuItemView;

class MenuItemViewDelegate {
public:
    virtual ~MenuItemViewDelegate() = default;
    virtual void menuClicked(MenuItemView* view, qint64 index) {}
    virtual void mouseEntered(MenuItemView* view, qint64 index) {}
    virtual void mouseExited(MenuItemView* view, qint64 index) {}
};

class MenuItemView : public QWidget {
    Q_OBJECT
public:
    explicit MenuItemView(const QRectF& frame, QWidget* parent = nullptr);

    MenuItemViewDelegate* mdelegate() const { return mdelegate_; }
    void setMdelegate(MenuItemViewDelegate* d) { mdelegate_ = d; }
    qint64 type() const { return type_; }
    void setType(qint64 v) { type_ = v; }
    qint64 viewTag() const { return viewTag_; }
    void setViewTag(qint64 v) { viewTag_ = v; }
    QLabel* titleLabel() const { return titleLabel_; }

    // The menu item showing this row and its menu (null when the row is in none).
    QWidgetAction* enclosingMenuItem() const;
    QMenu* enclosingMenu() const;
    // Position of the row's item in its menu; -1 when it is in none.
    qint64 itemIndex() const;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    MenuItemViewDelegate* mdelegate_ = nullptr;
    qint64 type_ = 0;
    qint64 viewTag_ = 0;
    QLabel* titleLabel_;
};

}  // namespace kestrel::widgets

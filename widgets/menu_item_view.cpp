#include "widgets/menu_item_view.h"

#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QWidgetAction>

#include "widgets/text_label.h"
#include "widgets/view_frame.h"

namespace kestrel::widgets {

MenuItemView::MenuItemView(const QRectF& frame, QWidget* parent) : QWidget(parent) {
    setViewFrame(this, frame);
    setMouseTracking(true);
    titleLabel_ = makeTextLabel(this, 13, Qt::AlignLeft | Qt::AlignVCenter);
    titleLabel_->setAttribute(Qt::WA_TranslucentBackground, false);
    titleLabel_->setAutoFillBackground(false);
    titleLabel_->setStyleSheet(QStringLiteral("QLabel { background-color: rgb(22, 22, 22); border-radius: 5px; "
                                              "color: white; padding-left: 2px; }"));
    setTextColor(titleLabel_, Qt::white);
    setViewFrame(titleLabel_, QRectF(5, 5, frame.width() - 10, frame.height() - 10));
}

QWidgetAction* MenuItemView::enclosingMenuItem() const {
    QMenu* menu = enclosingMenu();
    if (!menu) return nullptr;
    for (QAction* action : menu->actions()) {
        auto* widgetAction = qobject_cast<QWidgetAction*>(action);
        if (widgetAction && widgetAction->defaultWidget() == this) return widgetAction;
    }
    return nullptr;
}

QMenu* MenuItemView::enclosingMenu() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* menu = qobject_cast<QMenu*>(w)) return menu;
    return nullptr;
}

qint64 MenuItemView::itemIndex() const {
    QMenu* menu = enclosingMenu();
    QWidgetAction* item = enclosingMenuItem();
    return (menu && item) ? menu->actions().indexOf(item) : -1;
}

void MenuItemView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    QPointer<MenuItemView> self(this);
    QMenu* menu = enclosingMenu();
    QWidgetAction* item = enclosingMenuItem();
    if (menu) menu->close();
    if (item) item->trigger();
    if (!self) return;
    // Looked up again: the action may have changed the menu.
    if (mdelegate_) mdelegate_->menuClicked(this, itemIndex());
}

void MenuItemView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (mdelegate_) mdelegate_->mouseEntered(this, itemIndex());
}

void MenuItemView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (mdelegate_) mdelegate_->mouseExited(this, itemIndex());
}

}  // namespace kestrel::widgets

#pragma once
// One row of the effect list: the check picture and the effect's name. A click on the check
// picture asks to switch the effect, a click elsewhere asks to highlight the row. After each
// mouse-up the row keeps a 0.2 s latch (isCheck), so the delegate can tell the second click of
// a double click: it sees the latch as the previous click left it.
#include <QPointer>
#include <QWidget>
#include <cstdint>

#include "editor/effects/effect_item.h"

class QLabel;
class QMouseEvent;
class QTimer;

namespace kestrel::editor {

class EffectCollectionViewItem;

class EffectCollectionViewItemDelegate {
public:
    virtual ~EffectCollectionViewItemDelegate() = default;
    // A click outside the check picture.
    virtual void selectEffectCollectionViewItem(EffectCollectionViewItem* item, QMouseEvent* event) {}
    // A click on the check picture.
    virtual void checkEffectCollectionViewItem(EffectCollectionViewItem* item, QMouseEvent* event) {}
};

class EffectCollectionViewItem : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 30;
    static constexpr int kLatchMs = 200;

    explicit EffectCollectionViewItem(QWidget* parent = nullptr);

    // Shows the entry: its name (a key of the strings table), the row colour of its highlight
    // and the picture of its check.
    void setItem(const EffectItem& item);
    const EffectItem& item() const { return item_; }
    void setViewTag(int64_t tag) { viewTag_ = tag; }
    int64_t viewTag() const { return viewTag_; }
    void setMDelegate(EffectCollectionViewItemDelegate* delegate) { mDelegate_ = delegate; }

    // The click latch.
    bool isCheck() const { return isCheck_; }
    void mouseUpAfter();

    QLabel* selectedView() const { return selectedView_; }
    QLabel* nameLabel() const { return nameLabel_; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutRow();

    bool isCheck_ = false;
    QLabel* selectedView_;
    QLabel* nameLabel_;
    int64_t viewTag_ = 0;
    EffectItem item_;
    EffectCollectionViewItemDelegate* mDelegate_ = nullptr;
    QTimer* latchTimer_;
};

}  // namespace kestrel::editor

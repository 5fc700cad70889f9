#pragma once
// One row of the watermark list: a check picture, and the watermark's name (its text, or its
// file path). A click on the check picture toggles the check; a click elsewhere selects the row;
// the selected text watermark's name can be typed over.
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "model/water_param.h"

namespace kestrel::editor {

class WaterMarkCollectionViewItem;

class WaterMarkCollectionViewItemDelegate {
public:
    virtual ~WaterMarkCollectionViewItemDelegate() = default;
    virtual void selectWaterMarkCollectionViewItem(WaterMarkCollectionViewItem* item) {}
    virtual void checkWaterMarkCollectionViewItem(WaterMarkCollectionViewItem* item) {}
    virtual void changeWaterMarkTextCollectionViewItem(WaterMarkCollectionViewItem* item, const QString& waterText) {}
};

class WaterMarkCollectionViewItem : public QWidget {
public:
    explicit WaterMarkCollectionViewItem(QWidget* parent = nullptr);

    void setItem(const kestrel::model::WaterParam& item);
    const kestrel::model::WaterParam& item() const { return item_; }
    void setViewTag(int tag) { viewTag_ = tag; }
    int viewTag() const { return viewTag_; }
    // Not owned.
    void setMDelegate(WaterMarkCollectionViewItemDelegate* delegate) { mDelegate_ = delegate; }
    QLabel* selectedView() const { return selectedView_; }
    QLineEdit* nameLabel() const { return nameLabel_; }
    bool isEditFileding() const { return isEditFileding_; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void controlTextDidChange(const QString& text);

    QLabel* selectedView_ = nullptr;
    QLineEdit* nameLabel_ = nullptr;
    kestrel::model::WaterParam item_;
    int viewTag_ = 0;
    bool isEditFileding_ = false;
    WaterMarkCollectionViewItemDelegate* mDelegate_ = nullptr;
};

}  // namespace kestrel::editor

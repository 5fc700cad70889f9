#pragma once
// The cell of a material list: a thumbnail with a delete button. Every mouse gesture on it is
// passed to the delegate; selection marks, dragging and deletion are the owner's business.
#include <QWidget>

class QMouseEvent;

namespace kestrel::widgets {

class ImageView;
class MaterialCollectionItem;
class ZorButton;

class MaterialCollectionItemDelegate {
public:
    virtual ~MaterialCollectionItemDelegate() = default;
    virtual void DragMaterialCellectionItem(MaterialCollectionItem* item, QMouseEvent* event) {}
    virtual void DeleteMaterialCellectionItem(MaterialCollectionItem* item) {}
    virtual void MaterialCollectionItemSelectedEvent(MaterialCollectionItem* item, QObject* sender) {}
    virtual void MaterialCollectionItemDownCilcked(MaterialCollectionItem* item, QMouseEvent* event) {}
    virtual void MaterialCollectionItemUpCilcked(MaterialCollectionItem* item, QMouseEvent* event) {}
    virtual void MaterialCollectionItemRightClicked(MaterialCollectionItem* item, QMouseEvent* event) {}
};

class MaterialCollectionItem : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kIdentifier = "MaterialCollectionItem";
    static constexpr int kDeleteButtonSize = 20;

    explicit MaterialCollectionItem(QWidget* parent = nullptr);

    bool isShowSelecte() const { return isShowSelecte_; }
    void setIsShowSelecte(bool v) { isShowSelecte_ = v; }
    bool isShowDeleted() const { return isShowDeleted_; }
    void setIsShowDeleted(bool v);
    qint64 viewTag() const { return viewTag_; }
    void setViewTag(qint64 v) { viewTag_ = v; }
    MaterialCollectionItemDelegate* mDelegate() const { return mDelegate_; }
    void setMDelegate(MaterialCollectionItemDelegate* d) { mDelegate_ = d; }

    ImageView* coverView() const { return coverView_; }
    ZorButton* deleteBtn() const { return deleteBtn_; }

    void deleteAction(QObject* sender);
    // The action of a select control placed on the item.
    void selectButtonAction(QObject* sender);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void changeLoanguage();
    void placeSubviews();

    bool isShowSelecte_ = false;
    bool isShowDeleted_ = false;
    qint64 viewTag_ = 0;
    MaterialCollectionItemDelegate* mDelegate_ = nullptr;
    ImageView* coverView_;
    ZorButton* deleteBtn_;
};

}  // namespace kestrel::widgets

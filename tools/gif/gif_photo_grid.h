#pragma once
// The GIF maker's photo list as a grid of thumbnails, four to a row, in GIF order: a press
// selects a photo (drawn with the accent border), a drag of more than 20 points moves it to the
// cell under the pointer. The grid only shows the list its owner hands it and reports what the
// user did; the owner changes the list.
#include <QList>
#include <QScrollArea>
#include <QStringList>

#include "widgets/material_collection_item.h"

namespace kestrel::tools::gif {

class GifPhotoGrid : public QScrollArea, private widgets::MaterialCollectionItemDelegate {
    Q_OBJECT
public:
    static constexpr int kColumns = 4;
    static constexpr int kSpacing = 10;
    static constexpr int kDragSlack = 20;

    explicit GifPhotoGrid(QWidget* parent = nullptr);
    ~GifPhotoGrid() override;

    // Shows these photos, the one at selected marked (-1: none).
    void setPhotos(const QStringList& paths, int selected);
    const QStringList& photos() const { return paths_; }
    int count() const { return int(paths_.size()); }
    int selectedIndex() const { return selected_; }
    void setSelectedIndex(int index);
    // The cell of photo index (null when there is none), for the tests and the look.
    widgets::MaterialCollectionItem* cell(int index) const;

Q_SIGNALS:
    // The user pressed a photo: it is the selected one now.
    void photoPressed(int index);
    // The user dragged a photo to another place in the list.
    void photoMoved(int from, int to);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void MaterialCollectionItemDownCilcked(widgets::MaterialCollectionItem* item, QMouseEvent* event) override;
    void DragMaterialCellectionItem(widgets::MaterialCollectionItem* item, QMouseEvent* event) override;
    void MaterialCollectionItemUpCilcked(widgets::MaterialCollectionItem* item, QMouseEvent* event) override;
    void placeCells();
    void markSelection();
    int cellSide() const;
    QPoint inGrid(QMouseEvent* event) const;

    QWidget* content_;
    QList<QWidget*> frames_;
    QList<widgets::MaterialCollectionItem*> cells_;
    QStringList paths_;
    int selected_ = -1;
    int dragFrom_ = -1;
    int dragTo_ = -1;
    QPoint dragStart_;
};

}  // namespace kestrel::tools::gif

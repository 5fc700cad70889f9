#pragma once
// One row of the music list: a check picture and the music file's name (its path as tool tip). A click on the check
// picture toggles the check; a click elsewhere selects the row, and a second click on the same
// row within 0.2 s toggles its check as well.
#include <QElapsedTimer>
#include <QLabel>
#include <QWidget>

#include "model/music_info.h"

namespace kestrel::editor {

class MusicCollectionViewItem;

class MusicCollectionViewItemDelegate {
public:
    virtual ~MusicCollectionViewItemDelegate() = default;
    virtual void selectMusicCollectionViewItem(MusicCollectionViewItem* item) {}
    virtual void checkMusicCollectionViewItem(MusicCollectionViewItem* item) {}
};

class MusicCollectionViewItem : public QWidget {
public:
    explicit MusicCollectionViewItem(QWidget* parent = nullptr);

    void setItem(const kestrel::model::MusicInfo& item);
    const kestrel::model::MusicInfo& item() const { return item_; }
    void setViewTag(int tag) { viewTag_ = tag; }
    int viewTag() const { return viewTag_; }
    void setMDelegate(MusicCollectionViewItemDelegate* delegate) { mDelegate_ = delegate; }
    // The click latch: set when a previous click on this row came less than 0.2 s ago.
    bool isCheck() const { return isCheck_; }
    QLabel* selectedView() const { return selectedView_; }
    QLabel* nameLabel() const { return nameLabel_; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* selectedView_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    kestrel::model::MusicInfo item_;
    int viewTag_ = 0;
    bool isCheck_ = false;
    QElapsedTimer lastClick_;
    MusicCollectionViewItemDelegate* mDelegate_ = nullptr;
};

}  // namespace kestrel::editor

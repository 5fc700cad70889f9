#pragma once
// The GIF maker's photo list: the photos in GIF order, each with a small picture of itself.
// Rows are reordered by dragging; files dropped from outside are added when they are pictures
// (extension tested whole and lower-cased, so "PHOTO.JPG" is one).
#include <QListWidget>
#include <QStringList>

namespace kestrel::tools::gif {

// The photo kinds the GIF maker takes.
QStringList photoFileTypes();
// The paths that are photos, in their order.
QStringList acceptedPhotos(const QStringList& paths);

class GifPhotoList : public QListWidget {
    Q_OBJECT
public:
    explicit GifPhotoList(QWidget* parent = nullptr);

    QStringList paths() const;
    // Adds the photos among paths at the end; returns how many were added.
    int addPhotos(const QStringList& paths);
    void removeSelected();
    // Moves a row (a drag does the same).
    void moveRow(int from, int to);

Q_SIGNALS:
    // The list or its order changed.
    void photosChanged();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

}  // namespace kestrel::tools::gif

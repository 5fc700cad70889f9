#include "tools/gif/gif_photo_list.h"

#include "widgets/dialogs/file_kinds.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>

namespace kestrel::tools::gif {

namespace {
constexpr int kIconSide = 56;
constexpr int kPathRole = Qt::UserRole + 1;
}  // namespace

QStringList photoFileTypes() { return widgets::splitExtensionList(QStringLiteral(".jpg,.jpeg,.bmp,.png,.gif,.tiff")); }

QStringList acceptedPhotos(const QStringList& paths) {
    QStringList photos;
    const QStringList types = photoFileTypes();
    for (const QString& path : paths)
        if (widgets::hasAllowedExtension(path, types)) photos.append(path);
    return photos;
}

GifPhotoList::GifPhotoList(QWidget* parent) : QListWidget(parent) {
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setIconSize(QSize(kIconSide, kIconSide));
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideMiddle);
    setAcceptDrops(true);
    setObjectName(QStringLiteral("gifPhotoList"));
}

QStringList GifPhotoList::paths() const {
    QStringList list;
    for (int i = 0; i < count(); ++i) list.append(item(i)->data(kPathRole).toString());
    return list;
}

int GifPhotoList::addPhotos(const QStringList& candidates) {
    const QStringList photos = acceptedPhotos(candidates);
    for (const QString& path : photos) {
        auto* row = new QListWidgetItem(QFileInfo(path).fileName(), this);
        row->setData(kPathRole, path);
        row->setToolTip(path);
        QImageReader reader(path);
        QSize size = reader.size();
        if (size.isValid()) reader.setScaledSize(size.scaled(kIconSide, kIconSide, Qt::KeepAspectRatio));
        QImage image = reader.read();
        if (!image.isNull()) row->setIcon(QIcon(QPixmap::fromImage(image)));
    }
    if (!photos.isEmpty()) Q_EMIT photosChanged();
    return int(photos.size());
}

void GifPhotoList::removeSelected() {
    const auto selected = selectedItems();
    if (selected.isEmpty()) return;
    for (QListWidgetItem* row : selected) delete takeItem(this->row(row));
    Q_EMIT photosChanged();
}

void GifPhotoList::moveRow(int from, int to) {
    if (from < 0 || from >= count() || to < 0 || to >= count() || from == to) return;
    QListWidgetItem* row = takeItem(from);
    insertItem(to, row);
    setCurrentRow(to);
    Q_EMIT photosChanged();
}

void GifPhotoList::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && event->source() != this) event->acceptProposedAction();
    else QListWidget::dragEnterEvent(event);
}

void GifPhotoList::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls() && event->source() != this) event->acceptProposedAction();
    else QListWidget::dragMoveEvent(event);
}

void GifPhotoList::dropEvent(QDropEvent* event) {
    if (event->source() == this) {
        // A reorder inside the list: Qt moves the rows, then the new order is announced.
        QListWidget::dropEvent(event);
        Q_EMIT photosChanged();
        return;
    }
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) files.append(url.toLocalFile());
    addPhotos(files);
    event->acceptProposedAction();
}

}  // namespace kestrel::tools::gif

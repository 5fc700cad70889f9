#include "tools/gif/gif_photo_grid.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "widgets/image_view.h"

namespace kestrel::tools::gif {
namespace {

constexpr int kBorder = 2;

QString cellFrameStyle(bool selected) {
    return selected ? QStringLiteral("#photoFrame { background: black; border: 2px solid rgb(96,222,208); }")
                    : QStringLiteral("#photoFrame { background: black; border: 2px solid rgba(170,177,185,77); }");
}

QPixmap thumbnail(const QString& path, int side) {
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid()) reader.setScaledSize(size.scaled(side * 2, side * 2, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(2);
    return pixmap;
}

}  // namespace

GifPhotoGrid::GifPhotoGrid(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("photoListView"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    content_ = new QWidget(this);
    content_->setObjectName(QStringLiteral("photoGrid"));
    content_->setAttribute(Qt::WA_StyledBackground, true);
    content_->setStyleSheet(QStringLiteral("#photoGrid { background: rgb(26,30,37); }"));
    setWidget(content_);
    viewport()->setStyleSheet(QStringLiteral("background: rgb(26,30,37);"));
}

GifPhotoGrid::~GifPhotoGrid() {
    for (widgets::MaterialCollectionItem* cell : cells_) cell->setMDelegate(nullptr);
}

int GifPhotoGrid::cellSide() const {
    const int room = viewport()->width() - kSpacing * (kColumns + 1);
    return std::max(24, room / kColumns);
}

void GifPhotoGrid::setPhotos(const QStringList& paths, int selected) {
    for (QWidget* frame : frames_) delete frame;
    frames_.clear();
    cells_.clear();
    paths_ = paths;
    const int side = cellSide();
    for (int i = 0; i < paths_.size(); ++i) {
        auto* frame = new QWidget(content_);
        frame->setObjectName(QStringLiteral("photoFrame"));
        frame->setAttribute(Qt::WA_StyledBackground, true);
        auto* cell = new widgets::MaterialCollectionItem(frame);
        cell->setObjectName(QStringLiteral("MaterialCollectionItem"));
        cell->setViewTag(i);
        cell->setMDelegate(this);
        cell->setIsShowDeleted(false);
        cell->coverView()->setImage(thumbnail(paths_.at(i), side));
        cell->setToolTip(paths_.at(i));
        frame->show();
        frames_.append(frame);
        cells_.append(cell);
    }
    selected_ = selected >= 0 && selected < paths_.size() ? selected : -1;
    placeCells();
    markSelection();
}

void GifPhotoGrid::setSelectedIndex(int index) {
    selected_ = index >= 0 && index < paths_.size() ? index : -1;
    markSelection();
}

widgets::MaterialCollectionItem* GifPhotoGrid::cell(int index) const {
    return index >= 0 && index < cells_.size() ? cells_.at(index) : nullptr;
}

void GifPhotoGrid::placeCells() {
    const int side = cellSide();
    const int rows = (int(frames_.size()) + kColumns - 1) / kColumns;
    content_->resize(viewport()->width(), std::max(viewport()->height(), kSpacing + rows * (side + kSpacing)));
    for (int i = 0; i < frames_.size(); ++i) {
        const int row = i / kColumns, column = i % kColumns;
        frames_[i]->setGeometry(kSpacing + column * (side + kSpacing), kSpacing + row * (side + kSpacing), side, side);
        cells_[i]->setGeometry(kBorder, kBorder, side - 2 * kBorder, side - 2 * kBorder);
    }
}

void GifPhotoGrid::markSelection() {
    for (int i = 0; i < frames_.size(); ++i) frames_[i]->setStyleSheet(cellFrameStyle(i == selected_));
}

void GifPhotoGrid::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    placeCells();
}

QPoint GifPhotoGrid::inGrid(QMouseEvent* event) const { return content_->mapFromGlobal(event->globalPosition().toPoint()); }

void GifPhotoGrid::MaterialCollectionItemDownCilcked(widgets::MaterialCollectionItem* item, QMouseEvent* event) {
    dragFrom_ = int(item->viewTag());
    dragTo_ = -1;
    dragStart_ = inGrid(event);
    setSelectedIndex(dragFrom_);
    Q_EMIT photoPressed(dragFrom_);
}

void GifPhotoGrid::DragMaterialCellectionItem(widgets::MaterialCollectionItem*, QMouseEvent* event) {
    if (dragFrom_ < 0) return;
    const QPoint at = inGrid(event);
    // A small movement is still a press, not a drag.
    if (std::abs(at.x() - dragStart_.x()) <= kDragSlack && std::abs(at.y() - dragStart_.y()) <= kDragSlack) return;
    const int step = cellSide() + kSpacing;
    const int row = std::max(0, at.y() / step);
    const int column = std::clamp(at.x() / step, 0, kColumns - 1);
    // A drop past the last photo goes to the end of the list.
    dragTo_ = std::min(column + row * kColumns, count() - 1);
}

void GifPhotoGrid::MaterialCollectionItemUpCilcked(widgets::MaterialCollectionItem*, QMouseEvent*) {
    const int from = dragFrom_, to = dragTo_;
    dragFrom_ = dragTo_ = -1;
    // Told once the cell's own release has returned: the owner's new list replaces the cells.
    if (from >= 0 && to >= 0 && to != from)
        QMetaObject::invokeMethod(this, [this, from, to] { Q_EMIT photoMoved(from, to); }, Qt::QueuedConnection);
}

}  // namespace kestrel::tools::gif

// The collage window's layouts, aspect, border and cells.
#include "services/folders.h"
#include "services/help_class.h"
#include "services/language.h"
#include "session/export/collage/collage_export_job.h"
#include "session/preview/collage_preview.h"
#include "tools/collage/cell_geometry.h"
#include "tools/collage/collage_aspects.h"
#include "tools/collage/collage_cell_view.h"
#include "tools/collage/collage_window_controller.h"
#include "widgets/dialogs/file_kinds.h"
#include "widgets/dialogs/open_panel.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QSlider>

namespace kestrel::tools::collage {

namespace {

using services::localized;

QList<QRectF> cornerRects(const Layout& layout) {
    QList<QRectF> rects;
    for (const session::CellEdges& e : layout) rects.append(QRectF(e.left, e.top, e.right, e.bottom));
    return rects;
}

QIcon layoutIcon(const Layout& layout, QSize size) {
    QImage face(size, QImage::Format_ARGB32_Premultiplied);
    face.fill(QColor(34, 39, 48));
    QImage lines = services::HelpClass::screenImage(cornerRects(layout), QSizeF(size), QColor(96, 222, 208), 3.0f);
    QPainter painter(&face);
    if (!lines.isNull()) painter.drawImage(QRect(QPoint(0, 0), size), lines);
    painter.end();
    return QIcon(QPixmap::fromImage(face));
}

bool writePng(const QImage& image, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

void CollageWindowController::fillLayoutList() {
    updatingControls_ = true;
    layoutList->clear();
    const double ratio = aspectRatio(aspectIndex_);
    // Four thumbnails a row in the panel's fixed width.
    const int side = 70;
    const QSize icon = ratio >= 1 ? QSize(side, int(side / ratio)) : QSize(int(side * ratio), side);
    layoutList->setIconSize(QSize(side, side));
    layoutList->setGridSize(QSize(side + 6, side + 6));
    for (int i = 0; i < layouts_.size(); ++i) {
        auto* item = new QListWidgetItem(layoutIcon(layouts_[i], icon), QString());
        item->setToolTip(QString::number(layouts_[i].size()));
        layoutList->addItem(item);
    }
    layoutList->setCurrentRow(layoutIndex_);
    updatingControls_ = false;
}

void CollageWindowController::chooseLayout(int index) {
    if (index < 0 || index >= layouts_.size() || index == layoutIndex_) return;
    stopPlay();
    layoutIndex_ = index;
    makeCells();
    redrawBorder();
    rebuildPreview();
    updateEnabling();
}

void CollageWindowController::chooseAspect(int index) {
    if (index < 0 || index >= kAspectCount) return;
    stopPlay();
    aspectIndex_ = index;
    fillLayoutList();
    placeCells();
    for (CollageCellView* cell : cells_) resetClip(cell);
    recreatePreview();
    updateEnabling();
}

void CollageWindowController::redrawBorder() {
    const QString folder = services::FileManager::sharedManager().rootScreensDirPath();
    if (folder.isEmpty() || layouts_.isEmpty()) return;
    const session::FrameSize frame = session::collageExportSize(aspectIndex_);
    // The width is set in points of a 540-line frame; the picture is drawn at the export size.
    const float scale = frame.height / 540.0f;
    const QImage picture = services::HelpClass::screenImage(cornerRects(layouts_.value(layoutIndex_)),
                                                            QSizeF(frame.width, frame.height), borderColor_,
                                                            borderWidth_ * scale);
    const QString path = QDir(folder).filePath(QStringLiteral("border_%1_%2_%3_%4.png")
                                                   .arg(aspectIndex_)
                                                   .arg(layoutIndex_)
                                                   .arg(borderWidth_, 0, 'f', 0)
                                                   .arg(borderColor_.name(QColor::HexRgb).mid(1)));
    const QString previous = borderPath_;
    if (borderWidth_ <= 0 || picture.isNull()) {
        borderPath_.clear();
    } else if (path == borderPath_ && QFileInfo::exists(path)) {
        return;
    } else {
        borderPath_ = writePng(picture, path) ? path : QString();
    }
    // One picture per window: the one it no longer shows goes (the preview is rebuilt from the new one).
    if (!previous.isEmpty() && previous != borderPath_) QFile::remove(previous);
}

void CollageWindowController::setBorderWidth(float width) {
    borderWidth_ = std::clamp(width, 0.0f, 20.0f);
    updatingControls_ = true;
    borderWidthSlider->setValue(int(borderWidth_));
    updatingControls_ = false;
    // The field counts in half widths: an outer line of width w shows as thick as two inner halves.
    borderWidthText->setText(QString::number(std::lround(borderWidth_ / 2.0f)));
    redrawBorder();
    scheduleRebuild();
}

void CollageWindowController::setBorderColor(const QColor& color) {
    borderColor_ = color;
    borderColorBtn->setStyleSheet(QStringLiteral("QPushButton { background: %1; }").arg(color.name()));
    redrawBorder();
    scheduleRebuild();
}

void CollageWindowController::makeCells() {
    // Cells of the old layout keep their files by position; the rest are dropped.
    QList<CollageCellView*> old = cells_;
    cells_.clear();
    const Layout layout = layouts_.value(layoutIndex_);
    for (int i = 0; i < layout.size(); ++i) {
        CollageCellView* cell = i < old.size() ? old[i] : nullptr;
        if (!cell) {
            cell = new CollageCellView(i, playerFrame_);
            connect(cell, &CollageCellView::clicked, this, [this](int index) {
                const bool wasEmpty = !cells_.value(index) || !cells_[index]->holdsFile();
                selectCell(index);
                if (wasEmpty) openPanelForCell(index);
            });
            connect(cell, &CollageCellView::fileDropped, this, [this](int index, const QString& path) {
                selectCell(index);
                loadFile(index, path);
            });
            connect(cell, &CollageCellView::panStarted, this, [this](int index) { panBase_ = cells_[index]->cell.clip; });
            connect(cell, &CollageCellView::panned, this, [this](int index, QPoint offset) { panCell(index, offset); });
        }
        cell->cell.show = layout[i];
        cells_.append(cell);
        cell->show();
        cell->raise();
    }
    for (int i = layout.size(); i < old.size(); ++i) delete old[i];
    selected_ = std::min(selected_, int(cells_.size()) - 1);
    if (selected_ < 0) selected_ = 0;
    for (CollageCellView* cell : cells_) cell->setSelected(cell->index() == selected_);
    placeCells();
    for (CollageCellView* cell : cells_) resetClip(cell);
}

void CollageWindowController::placeCells() {
    if (!playerArea_ || !playerFrame_) return;
    const QRect frame = aspectFrame(aspectIndex_, QRect(QPoint(0, 0), playerArea_->size()));
    playerFrame_->setGeometry(frame);
    if (engineView_) engineView_->setGeometry(QRect(QPoint(0, 0), frame.size()));
    for (CollageCellView* cell : cells_) {
        const session::CellEdges& e = cell->cell.show;
        const QRect r(QPoint(int(std::lround(e.left * frame.width())), int(std::lround(e.top * frame.height()))),
                      QPoint(int(std::lround(e.right * frame.width())) - 1, int(std::lround(e.bottom * frame.height())) - 1));
        cell->setGeometry(r);
        cell->raise();
    }
}

void CollageWindowController::selectCell(int index) {
    if (index < 0 || index >= cells_.size()) return;
    selected_ = index;
    for (CollageCellView* cell : cells_) cell->setSelected(cell->index() == index);
    updateEnabling();
}

void CollageWindowController::stepCell(int step) {
    selectCell(std::clamp(selected_ + step, 0, int(cells_.size()) - 1));
    const std::vector<int64_t> starts = session::cellStartsUs(spec());
    if (preview_ && selected_ < int(starts.size())) {
        preview_->seek(starts[selected_]);
        showPosition(starts[selected_]);
    }
}

void CollageWindowController::openPanelForCell(int index) {
    if (index < 0 || index >= cells_.size()) return;
    if (preview_ && preview_->playing()) togglePlay();
    widgets::OpenPanelRequest request = widgets::standardOpenPanelRequest();
    request.allowedFileTypes = widgets::openPanelFileTypes(true, false);
    const QStringList chosen = widgets::runOpenPanel(request);
    if (!chosen.isEmpty()) loadFile(index, chosen.first());
    updateEnabling();
}

bool CollageWindowController::loadFile(int index, const QString& path) {
    if (index < 0 || index >= cells_.size()) return false;
    const session::MediaFacts facts = session::probeCollageMedia(path);
    if (!facts.ok) {
        if (alert_)
            alert_(this, localized(QStringLiteral("Collage_UnreadableFile")).arg(QFileInfo(path).fileName()));
        return false;
    }
    stopPlay();
    CollageCellView* view = cells_[index];
    session::CollageCell& cell = view->cell;
    const session::CellEdges show = cell.show;
    const bool mirrorH = cell.mirrorHorizontal, mirrorV = cell.mirrorVertical;
    cell = session::CollageCell{};
    cell.show = show;
    cell.mirrorHorizontal = mirrorH;  // the mirror flags stay with the cell
    cell.mirrorVertical = mirrorV;
    cell.path = path;
    cell.isVideo = facts.isVideo;
    cell.width = facts.width;
    cell.height = facts.height;
    cell.mediaDuration_us = facts.duration_us;
    cell.trimStart_us = 0;
    cell.trimDuration_us = facts.duration_us;
    view->crop = session::CellEdges{};
    resetClip(view);
    view->update();
    rebuildPreview();
    updateEnabling();
    return true;
}

void CollageWindowController::resetClip(CollageCellView* view) {
    session::CollageCell& cell = view->cell;
    if (cell.width <= 0 || cell.height <= 0) return;
    int tw = 0, th = 0;
    turnedSize(cell.width, cell.height, cell.angle, &tw, &th);
    const QSize frame = playerFrame_->size();
    const double cellW = (cell.show.right - cell.show.left) * frame.width();
    const double cellH = (cell.show.bottom - cell.show.top) * frame.height();
    const double aspect = cellH > 0 ? cellW / cellH : 1.0;
    cell.clip = aspectFillClip(view->crop, tw, th, aspect);
}

void CollageWindowController::panCell(int index, QPoint offset) {
    CollageCellView* view = cells_.value(index);
    if (!view || !view->holdsFile()) return;
    view->cell.clip = pannedClip(panBase_, view->crop, offset.x(), offset.y(), view->width(), view->height());
    scheduleRebuild();
}

void CollageWindowController::rotateCell() {
    CollageCellView* view = cells_.value(selected_);
    if (!view || !view->holdsFile()) return;
    session::CollageCell& cell = view->cell;
    // The engine turns before it mirrors: with one mirror the picture as seen turns the other way.
    const bool oneMirror = cell.mirrorHorizontal != cell.mirrorVertical;
    cell.angle = (cell.angle + 90) % 360;
    view->crop = oneMirror ? cropTurnedCounterClockwise(view->crop) : cropTurnedClockwise(view->crop);
    resetClip(view);
    rebuildPreview();
}

void CollageWindowController::mirrorCell(bool horizontal) {
    CollageCellView* view = cells_.value(selected_);
    if (!view || !view->holdsFile()) return;
    session::CollageCell& cell = view->cell;
    if (horizontal) {
        cell.mirrorHorizontal = !cell.mirrorHorizontal;
        view->crop = cropMirroredHorizontally(view->crop);
        cell.clip = cropMirroredHorizontally(cell.clip);
    } else {
        cell.mirrorVertical = !cell.mirrorVertical;
        view->crop = cropMirroredVertically(view->crop);
        cell.clip = cropMirroredVertically(cell.clip);
    }
    rebuildPreview();
}

void CollageWindowController::deleteCell() {
    CollageCellView* view = cells_.value(selected_);
    if (!view || !view->holdsFile()) return;
    stopPlay();
    view->clearFile();
    rebuildPreview();
    updateEnabling();
}

void CollageWindowController::applyCellTrim(int index, int64_t start_us, int64_t duration_us,
                                            const session::CellEdges& crop, float volume) {
    CollageCellView* view = cells_.value(index);
    if (!view || !view->holdsFile()) return;
    session::CollageCell& cell = view->cell;
    if (cell.isVideo) {
        start_us = std::clamp<int64_t>(start_us, 0, cell.mediaDuration_us);
        duration_us = std::clamp<int64_t>(duration_us, 0, cell.mediaDuration_us - start_us);
        if (duration_us > 0) {
            cell.trimStart_us = start_us;
            cell.trimDuration_us = duration_us;
        }
    }
    cell.volume = std::clamp(volume, 0.0f, 1.0f);
    if (crop.right > crop.left && crop.bottom > crop.top) view->crop = crop;
    resetClip(view);
    rebuildPreview();
}

}  // namespace kestrel::tools::collage

// The collage window's sub-windows: cell trim, music trim and filters. Each hands its result
// back for what it was opened for; the collage keeps its state while they are open.
#include "session/edit/collage_composition.h"
#include "session/preview/collage_preview.h"
#include "tools/collage/collage_cell_view.h"
#include "session/export/collage/collage_export_job.h"
#include "tools/collage/collage_aspects.h"
#include "tools/collage/collage_filter_window.h"
#include "tools/collage/collage_music_window.h"
#include "tools/collage/collage_trim_window.h"
#include "tools/collage/collage_window_controller.h"

#include <QPointer>

namespace kestrel::tools::collage {

void CollageWindowController::openTrimWindow() {
    CollageCellView* view = cells_.value(selected_);
    if (!view || !view->holdsFile() || subWindow_) return;
    // The result goes to the cell the window was opened for, and only while it holds that file.
    QPointer<CollageCellView> target = view;
    const QString path = view->cell.path;
    auto* window = new CollageTrimWindow(view->cell, view->crop,
                                         [this, target, path](int64_t start, int64_t duration,
                                                              const session::CellEdges& crop, float volume) {
                                             if (!target || target->cell.path != path) return;
                                             applyCellTrim(target->index(), start, duration, crop, volume);
                                         },
                                         this);
    pauseForSubWindow(window);
    window->show();
}

void CollageWindowController::openMusicTrimWindow() {
    if (!music_ || subWindow_) return;
    const session::CollageMusic music = *music_;
    const int64_t length = session::probeDurationUs(music.path);
    auto* window = new CollageMusicWindow(music.path, std::max<int64_t>(0, length), music.sourceStart_us,
                                          music.sourceDuration_us,
                                          [this, path = music.path](int64_t start, int64_t duration) {
                                              // Only the music the window was opened for is trimmed.
                                              if (music_ && music_->path == path) setMusic(path, start, duration);
                                          },
                                          this);
    pauseForSubWindow(window);
    window->show();
}

void CollageWindowController::openFilterWindow() {
    if (subWindow_) return;
    const session::FrameSize size = collagePreviewSize(aspectIndex_);
    auto* window = new CollageFilterWindow(
        spec(), size.width, size.height, [this](const QString& table, const QString& name) { applyFilter(table, name); },
        this);
    // The filter window's own preview takes the engine's preview over while it is open: the
    // collage's is built again afterwards, at the place it was.
    const int64_t at_us = preview_ ? preview_->positionUs() : 0;
    connect(window, &QObject::destroyed, this, [this, at_us] {
        if (!preview_) return;
        preview_->rebuild(spec());
        preview_->seek(at_us);
        rebuildPreview();
    });
    pauseForSubWindow(window);
    window->show();
}

void CollageWindowController::pauseForSubWindow(QWidget* window) {
    subWindow_ = window;
    if (!preview_ || !preview_->playing()) return;
    togglePlay();
    connect(window, &QObject::destroyed, this, [this] {
        if (preview_ && !preview_->playing()) togglePlay();
    });
}

}  // namespace kestrel::tools::collage

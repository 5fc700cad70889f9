// The collage window's composition, transport, filter and music menus, and export.
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "services/language.h"
#include "services/output_name.h"
#include "session/export/collage/collage_export_job.h"
#include "session/media/sound_probe.h"
#include "session/preview/collage_preview.h"
#include "tools/collage/collage_aspects.h"
#include "tools/collage/collage_cell_view.h"
#include "tools/collage/collage_window_controller.h"
#include "widgets/dialogs/file_kinds.h"
#include "widgets/dialogs/open_panel.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

namespace kestrel::tools::collage {

namespace {

using services::localized;

QString timeText(int64_t us) {
    const int64_t s = std::max<int64_t>(0, us) / 1000000;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

session::CollageSpec CollageWindowController::spec() const {
    session::CollageSpec spec;
    for (const CollageCellView* view : cells_) spec.cells.push_back(view->cell);
    spec.sequential = sequential_;
    spec.lookupPath = lookupPath_;
    spec.borderPath = borderPath_;
    if (musicOn_) spec.music = music_;
    return spec;
}

void CollageWindowController::recreatePreview() {
    if (!preview_) {
        preview_ = std::make_unique<session::CollagePreview>();
        connect(preview_.get(), &session::CollagePreview::playFinished, this, [this] {
            // The end of the collage: back to the start, paused.
            playTimer_->stop();
            preview_->seek(0);
            showPosition(0);
            setPlaying(false);
        });
    }
    const session::FrameSize size = collagePreviewSize(aspectIndex_);
    auto* view = static_cast<QWidget*>(preview_->recreate(size.width, size.height));
    engineView_ = view;
    if (view) {
        view->setParent(playerFrame_);
        view->setObjectName(QStringLiteral("collageEngineView"));
        view->show();
        view->lower();
    }
    redrawBorder();
    placeCells();
    rebuildPreview();
}

void CollageWindowController::scheduleRebuild() { rebuildTimer_->start(); }

void CollageWindowController::rebuildPreview() {
    rebuildTimer_->stop();
    if (!preview_) return;
    // An edit made while the preview plays shows in it as it goes on from where it was.
    const bool wasPlaying = preview_->playing();
    const int64_t at = preview_->positionUs();
    preview_->rebuild(spec());
    const int64_t total = preview_->totalUs();
    const int64_t position = std::clamp<int64_t>(at, 0, std::max<int64_t>(0, total));
    preview_->seek(position);
    if (wasPlaying && position < total) {
        preview_->play();
    } else {
        playTimer_->stop();
    }
    setPlaying(preview_->playing());
    showPosition(position);
    for (CollageCellView* cell : cells_) cell->update();
}

void CollageWindowController::updateEnabling() {
    bool any = false;
    for (const CollageCellView* cell : cells_) any = any || cell->cell.holdsMedia();
    const CollageCellView* selected = cells_.value(selected_);
    const bool filled = selected && selected->holdsFile();
    for (QPushButton* b : {rotateBtn, mirrorHorizontalBtn, mirrorVerticalBtn, deleteBtn}) b->setEnabled(filled);
    trimBtn->setEnabled(filled);
    replaceBtn->setEnabled(selected != nullptr);
    exportBtn->setEnabled(any && !exporting());
    filterBox->setEnabled(any);
    musicBox->setEnabled(any);
    cutMusicBtn->setEnabled(any && music_.has_value() && musicOn_);
    playBtn->setEnabled(any);
    stopBtn->setEnabled(any);
    volumeBtn->setEnabled(any);
    volumeSlider->setEnabled(any);
    positionSlider->setDisable(!any);
    positionSlider->setEnabled(any);
    previousCellBtn->setEnabled(selected_ > 0);
    nextCellBtn->setEnabled(selected_ < cells_.size() - 1);
}

void CollageWindowController::setPlaying(bool playing) {
    playBtn->setText(playing ? QStringLiteral("\u275A\u275A") : QStringLiteral("\u25B6"));
    playBtn->setToolTip(localized(playing ? QStringLiteral("Collage_Pause") : QStringLiteral("Collage_Play")));
    for (CollageCellView* cell : cells_) cell->setPlaying(playing);
}

void CollageWindowController::togglePlay() {
    if (!preview_) return;
    if (preview_->playing()) {
        preview_->pause();
        playTimer_->stop();
        setPlaying(false);
        return;
    }
    if (preview_->totalUs() <= 0) return;
    if (preview_->positionUs() >= preview_->totalUs()) preview_->seek(0);
    preview_->play();
    playTimer_->start();
    setPlaying(preview_->playing());
}

void CollageWindowController::stopPlay() {
    if (!preview_) return;
    preview_->pause();
    playTimer_->stop();
    preview_->seek(0);
    showPosition(0);
    setPlaying(false);
}

void CollageWindowController::tick() {
    if (!preview_ || draggingPosition_) return;
    const int64_t total = preview_->totalUs();
    const int64_t position = preview_->positionUs();
    showPosition(position);
    if (total > 0 && position >= total) stopPlay();
}

void CollageWindowController::showPosition(int64_t position_us) {
    const int64_t total = preview_ ? preview_->totalUs() : 0;
    positionSlider->setProgress(total > 0 ? float(std::clamp(double(position_us) / double(total), 0.0, 1.0)) : 0.0f);
    showTime(position_us);
}

void CollageWindowController::seekToWholeSecond(double fraction) {
    if (!preview_) return;
    const int64_t total = preview_->totalUs();
    const int64_t second_us = int64_t(std::clamp(fraction, 0.0, 1.0) * double(total) / 1e6) * 1'000'000;
    const int64_t position = std::min(second_us, total);
    preview_->seek(position);
    showTime(position);
}

void CollageWindowController::actionMouseDownForProgressSliderBlock(widgets::VolumeProgressSlider*, float) {
    draggingPosition_ = true;
    playAfterDrag_ = preview_ && preview_->playing();
    if (playAfterDrag_) preview_->pause();
}

void CollageWindowController::actionProgressForProgressSliderBlock(widgets::VolumeProgressSlider*, float progress) {
    seekToWholeSecond(progress);
}

void CollageWindowController::actionMouseUpForProgressSliderBlock(widgets::VolumeProgressSlider*, float progress) {
    draggingPosition_ = false;
    seekToWholeSecond(progress);
    if (playAfterDrag_ && preview_) preview_->play();
    playAfterDrag_ = false;
}

void CollageWindowController::showTime(int64_t position_us) {
    timeLabel->setText(timeText(position_us) + QStringLiteral(" / ") + timeText(preview_ ? preview_->totalUs() : 0));
}

void CollageWindowController::setVolume(float volume) {
    volume_ = std::clamp(volume, 0.0f, 1.0f);
    const float effective = muted_ ? 0.0f : volume_;
    if (preview_) preview_->setVolume(effective);
    volumeBtn->setText(effective > 0 ? QStringLiteral("\U0001F50A") : QStringLiteral("\U0001F507"));
}

// Filter menu: none, the chosen filter, more filters (the filter window).
void CollageWindowController::fillFilterBox() {
    filterBox->clear();
    filterBox->addItem(localized(QStringLiteral("Collage_NoFilter")));
    if (!lookupPath_.isEmpty()) filterBox->addItem(lookupName_);
    filterBox->addItem(localized(QStringLiteral("Collage_MoreFilters")));
    filterBox->setCurrentIndex(lookupPath_.isEmpty() ? 0 : 1);
}

void CollageWindowController::filterChosen(int index) {
    if (index == filterBox->count() - 1) {
        fillFilterBox();  // the menu shows the current choice until the window returns one
        openFilterWindow();
        return;
    }
    if (index == 0 && !lookupPath_.isEmpty()) applyFilter(QString(), QString());
}

void CollageWindowController::applyFilter(const QString& lookupPath, const QString& name) {
    lookupPath_ = lookupPath;
    lookupName_ = lookupPath.isEmpty() ? QString() : name;
    fillFilterBox();
    rebuildPreview();
}

// Music menu: none, the chosen music, add music (open panel). "None" switches the music off;
// the file stays listed and choosing it switches it on again.
void CollageWindowController::fillMusicBox() {
    musicBox->clear();
    musicBox->addItem(localized(QStringLiteral("Collage_NoMusic")));
    if (music_) musicBox->addItem(QFileInfo(music_->path).fileName());
    musicBox->addItem(localized(QStringLiteral("Collage_AddMusic")));
    musicBox->setCurrentIndex(music_ && musicOn_ ? 1 : 0);
    if (music_) musicBox->setItemData(1, music_->path, Qt::ToolTipRole);
}

void CollageWindowController::musicChosen(int index) {
    if (index == musicBox->count() - 1) {
        if (preview_ && preview_->playing()) togglePlay();
        widgets::OpenPanelRequest request = widgets::standardOpenPanelRequest();
        request.allowedFileTypes = widgets::audioFileTypes() + widgets::videoFileTypes();
        const QStringList chosen = widgets::runOpenPanel(request);
        if (!chosen.isEmpty()) {
            // Music must sound: a file without sound is refused now, not by every export.
            if (session::hasSound(chosen.first())) {
                setMusic(chosen.first(), 0, 0);
            } else if (alert_) {
                alert_(this, localized(QStringLiteral("Collage_MusicWithoutSound")).arg(QFileInfo(chosen.first()).fileName()));
            }
        }
        fillMusicBox();
        return;
    }
    const bool on = index == 1 && music_.has_value();
    if (on == musicOn_) return;
    musicOn_ = on;
    fillMusicBox();
    rebuildPreview();
    updateEnabling();
}

void CollageWindowController::setMusic(const QString& path, int64_t start_us, int64_t duration_us) {
    session::CollageMusic music;
    music.path = path;
    music.sourceStart_us = std::max<int64_t>(0, start_us);
    music.sourceDuration_us = std::max<int64_t>(0, duration_us);
    music_ = music;
    musicOn_ = true;
    fillMusicBox();
    rebuildPreview();
    updateEnabling();
}

void CollageWindowController::exportAction() {
    if (exporting()) return;
    if (preview_ && preview_->playing()) togglePlay();
    session_.reset();
    if (dialog_) dialog_->deleteLater();
    dialog_ = new exportkit::ExportWindowController(this);
    dialog_->setInputFileName(QStringLiteral("collage.mp4"));
    dialog_->setHiddenMergeAllIntoOne(true);
    // The engine renders with fixed settings: nothing to copy, no encoder to choose.
    dialog_->setHiddenEncodingOptions(true);
    dialog_->setStartExportCallbackBlock([this](const QString& path) { startExport(path); });
    session_ = std::make_unique<exportkit::ExportSession>(dialog_);
    dialog_->runModal(this);
}

void CollageWindowController::startExport(const QString& proposedPath) {
    if (!dialog_ || !session_) return;
    if (job_ && job_->running()) {
        job_->stop();  // finished() follows with the stopped outcome
        return;
    }
    const QFileInfo proposed(proposedPath);
    const QString folder = proposed.path();
    if (!QDir().mkpath(folder)) {
        session_->finishFailed(localized(QStringLiteral("Collage_FolderUnusable")));
        return;
    }
    const QString output = services::uniqueOutputPath(folder, proposed.completeBaseName(), QStringLiteral("mp4"));
    auto* job = new session::CollageExportJob(spec(), session::collageExportSize(aspectIndex_), output, this);
    job_ = job;
    connect(job, &session::Job::progressChanged, this, [this](double f) {
        if (session_) session_->setProgress(f);
    });
    connect(job, &session::Job::finished, this, [this, job](const session::JobResult& result) {
        exportFinished(result);
        job->deleteLater();
    });
    session_->begin();
    exportBtn->setEnabled(false);
    job->start();
}

void CollageWindowController::exportFinished(const session::JobResult& result) {
    if (session_) {
        if (result.done()) {
            lastWritten_ = result.outputs.value(0);
            session_->finishSucceeded(lastWritten_);
        } else if (result.stopped()) {
            session_->finishStopped();
        } else if (!result.message.isEmpty()) {
            session_->finishFailed(result.message);
        } else {
            session_->finishFailed(result.code);
        }
    }
    updateEnabling();
}

}  // namespace kestrel::tools::collage

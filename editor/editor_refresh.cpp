// Bringing the window and the job record into step after a load, and the crop overlay laid
// exactly over the picture.
#include <QComboBox>
#include <QLabel>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_export_attachment.h"
#include "editor/editor_export_attachment.h"
#include "editor/editor_views.h"
#include "editor/watermark/editor_side_panels.h"
#include "editor/window_edit_state.h"
#include "engine/player/DIVuverIzizud.h"
#include "platform/frame.h"
#include "services/help_class.h"
#include "session/edit/edit_bindings.h"
#include "session/media/audio_track_names.h"
#include "widgets/zor_button.h"
#include "widgets/zor_image_view.h"

void EditVideoWindowController::refreshPlayerView() {
    if (!fileData_) return;
    kestrel::model::SimpleData& r = *fileData_;
    cutTimeRange_start_ = fieldsSeconds(true) * 1000000.0;
    cutTimeRange_stop_ = fieldsSeconds(false) * 1000000.0;
    // The colour values and the volume start over with every refresh.
    writeEditsToJob(r);
    r.volume = 1.0;

    filePath_ = r.path;
    cutTimeRange_start_ = double(r.cutTimeRange_start);
    cutTimeRange_stop_ = double(r.cutTimeRange_stop);
    edits_.keepAspectRatio = r.keepAspectratio;
    isTrimFanxuan_ = r.isTrimFanxuan;

    initPlayer();
    initPlayerCliper();
    if (sidePanels_) sidePanels_->setPlayer(rdPlayer_.get(), fileData_);
    // The player-bar slider shows the record's volume; the panel sends it to the new preview.
    v_->b_volumeSlider->setProgress(float(r.volume / 2.0));
    if (exportAttachment_) exportAttachment_->playerRefreshed(r.volume);

    v_->cutProgressView->setIsFanxuan(isTrimFanxuan_);
    v_->keepTimeSelectedPart->setSelected(!isTrimFanxuan_);
    v_->removeTimeSelectedPart->setSelected(isTrimFanxuan_);
    const double d = playerDurationSeconds();
    if (cutTimeRange_stop_ == 0) {
        cutTimeRange_stop_ = d * 1000000.0;
        cutTimeRange_start_ = 0;
    }
    const float start = float(cutTimeRange_start_ / 1000000.0);
    const float stop = float(cutTimeRange_stop_ / 1000000.0);
    if (d > 0) {
        v_->cutProgressView->setUpperValue(float(stop / d));
        v_->cutProgressView->setLowerValue(float(start / d));
    }
    writeTimeFields(true, start);
    writeTimeFields(false, stop);
    updateTimeLabels();

    if (rdPlayer_) {
        // The new preview takes the whole edit state (the music mix is rebuilt when it plays).
        applyEditState(kestrel::session::kPreviewAll & ~kestrel::session::kPreviewMusic);
        rdPlayer_->seekTime(platform::MediaTime::fromSeconds(start, 1000000000));
        if (d > 0) v_->cutProgressView->setProgress(float(start / d));
    }

    fillAudioTrackBox();
}

QSizeF EditVideoWindowController::sourceSize() const {
    if (!fileData_) return {};
    return QSizeF(fileData_->sourceData.width, fileData_->sourceData.height);
}

QRectF EditVideoWindowController::videoRect() const {
    if (!v_->playerView) return {};
    return kestrel::editor::aspectFitRect(videoSize_, QRectF(QPointF(0, 0), QSizeF(v_->playerView->size())));
}

void EditVideoWindowController::initPlayerCliper() {
    if (!fileData_) return;
    videoSize_ = kestrel::editor::rotatedSize(sourceSize(), edits_.userAngleDegrees());
    const QRectF picture = videoRect();
    editVideoClipRect_ = QRectF(QPointF(0, 0), videoSize_);
    delete v_->cliper.data();
    QWidget* host = rdPlayer_ ? rdPlayer_->view() : static_cast<QWidget*>(v_->playerView);
    const QRectF frame = rdPlayer_ ? picture : QRectF(QPointF(0, 0), QSizeF(v_->playerView->size()));
    auto* cliper = new kestrel::editor::RDUICliper(frame, host);
    v_->cliper = cliper;
    cliper->setVideoSize(videoSize_);
    cliper->setFrameRect(frame);
    cliper->setDelegate(this);
    if (auto box = kestrel::editor::videoToOverlay(editVideoClipRect_, videoSize_, frame.size())) cliper->setClipRect(*box);
    cliper->setVisible(toolItemType_ == kToolCrop);
}

void EditVideoWindowController::fillAudioTrackBox() {
    QComboBox* box = v_->audiochanelPopBtn;
    box->clear();
    if (!fileData_) return;
    const QList<kestrel::model::AudioStreamInfo>& streams = fileData_->audioStreamInfos;
    for (int i = 0; i < streams.size(); ++i) {
        box->addItem(kestrel::session::audioTrackName(streams[i], i));
        // A track's own title, where the file gives one, stays within reach.
        const QString full = streams[i].title.isEmpty() ? box->itemText(i) : box->itemText(i) + " (" + streams[i].title + ")";
        box->setItemData(i, full, Qt::ToolTipRole);
    }
}

void EditVideoWindowController::writeEditsToJob(kestrel::model::SimpleData& r) const {
    r.cutTimeRange_start = int64_t(cutTimeRange_start_);
    r.cutTimeRange_stop = int64_t(cutTimeRange_stop_);
    r.keepAspectratio = edits_.keepAspectRatio;
    r.volume = volume();
    r.isTrimFanxuan = v_->cutProgressView->isFanxuan();
}

bool EditVideoWindowController::commitEditsToJob() {
    if (!fileData_) return false;
    const double start = fieldsSeconds(true) * 1000000.0;
    const double stop = fieldsSeconds(false) * 1000000.0;
    if (!(stop > start)) return false;
    cutTimeRange_start_ = start;
    cutTimeRange_stop_ = stop;
    writeEditsToJob(*fileData_);
    return true;
}

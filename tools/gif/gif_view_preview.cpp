// The GIF maker view's preview: rebuilt for the video or the photos, its poll, play and pause,
// the range played alone (back to its start at its end), stop, the volume and mute, the cut
// bar and the photo slider, set and reset of the range ends.
#include <QLabel>
#include <QLayout>
#include <QTimer>
#include <algorithm>

#include "session/preview/gif_preview.h"
#include "tools/gif/gif_photo_grid.h"
#include "tools/gif/gif_view_controller.h"
#include "tools/gif/gif_view_support.h"
#include "tools/shared/kit_controls.h"
#include "widgets/zor_button.h"

namespace gif {

using kestrel::tools::gif::OutputSize;
namespace session = kestrel::session;
namespace kit = kestrel::tools::shared;
using namespace detail;

int64_t GIFViewController::previewPositionUs() const { return preview_->positionUs(); }
int64_t GIFViewController::previewTotalUs() const { return preview_->totalUs(); }
bool GIFViewController::previewPlaying() const { return preview_->playing(); }

void GIFViewController::placePreview(bool shown) {
    auto* view = static_cast<QWidget*>(preview_->view());
    if (!view) return;
    if (previewView_ != view) {
        if (previewView_) previewView_->hide();
        previewView_ = view;
        playBgView->layout()->addWidget(view);
    }
    view->setVisible(shown);
}

void GIFViewController::initPlayer() {
    exportBtn->setEnabled(!videoPath_.isEmpty());
    if (videoPath_.isEmpty()) return;
    const OutputSize& s = gifSize_;
    int w = kPreviewLongSide, h = kPreviewLongSide * 9 / 16;
    if (s.sourceWidth > 0 && s.sourceHeight > 0) {
        const double scale = double(kPreviewLongSide) / double(std::max(s.sourceWidth, s.sourceHeight));
        w = int(double(s.sourceWidth) * scale);
        h = int(double(s.sourceHeight) * scale);
    }
    const bool shown = preview_->showVideo(videoPath_, w, h);
    preview_->setVolume(muted_ ? 0.0 : volume_);
    placePreview(shown);
    playingSelection_ = false;
    rightTimeTextField->setText(formatTime(preview_->totalUs()));
    showPosition(0);
    refreshPlayButtons();
}

void GIFViewController::initGifPlayer() {
    exportBtn->setEnabled(!files_.isEmpty());
    // With no photo the last preview stays as it was.
    if (files_.isEmpty()) return;
    const bool shown = preview_->showPhotos(files_, ptoGifFps_, int(std::max<int64_t>(2, photoWidth_)),
                                            int(std::max<int64_t>(2, photoHeight_)));
    placePreview(shown);
    playingSelection_ = false;
    rightTimeTextField->setText(formatTime(preview_->totalUs()));
    showPosition(0);
    refreshPlayButtons();
}

void GIFViewController::showPosition(int64_t position_us) {
    const int64_t total = preview_->totalUs();
    const float fraction = total > 0 ? float(double(position_us) / double(total)) : 0.0f;
    if (mode_ == Mode::PhotosToGif) gifPlayerSlider->setProgress(std::clamp(fraction, 0.0f, 1.0f));
    else cutTimeSlider->setProgress(std::clamp(fraction, 0.0f, 1.0f));
    leftTimeTextField->setText(formatTime(position_us));
}

void GIFViewController::refreshPlayButtons() {
    const bool playing = preview_->playing();
    kit::setStatePictures(playBtn, playing && !playingSelection_ ? QStringLiteral("ZantImage/Reverse/btnPause")
                                                                 : QStringLiteral("ZantImage/GifMaker/btnPlay"),
                          QStringLiteral("@2x.png"));
    kit::setStatePictures(playSelectBtn, playing && playingSelection_ ? QStringLiteral("ZantImage/Reverse/btnPause")
                                                                      : QStringLiteral("ZantImage/GifMaker/btnPreview"),
                          QStringLiteral("@2x.png"));
    playBtn->setToolTip(tr_(playing && !playingSelection_ ? "gif_miker_Pause" : "gif_miker_Play"));
    // While one of the two plays, the other waits.
    playBtn->setEnabled(!(playing && playingSelection_));
    playSelectBtn->setEnabled(!(playing && !playingSelection_));
}

void GIFViewController::pollPreview() {
    const int64_t now = preview_->positionUs();
    const int64_t total = preview_->totalUs();
    showPosition(now);
    if (preview_->playing() && playingSelection_ && now >= endUs_) {
        // The range has played: pause and go back to its start.
        preview_->pause();
        preview_->seek(startUs_);
        showPosition(startUs_);
    } else if (preview_->playing() && total > 0 && now >= total) {
        preview_->pause();
        preview_->seek(0);
        showPosition(0);
    }
    if (!preview_->playing()) {
        previewTimer_->stop();
        refreshPlayButtons();
    }
}

void GIFViewController::playAction(bool selectionOnly) {
    endEditing();
    if (!preview_->hasContent()) return;
    if (preview_->playing()) {
        preview_->pause();
        previewTimer_->stop();
        refreshPlayButtons();
        return;
    }
    playingSelection_ = selectionOnly && mode_ != Mode::PhotosToGif;
    const int64_t now = preview_->positionUs();
    if (playingSelection_ && !(now > startUs_ && now < endUs_)) preview_->seek(startUs_);
    if (preview_->positionUs() >= preview_->totalUs() && !playingSelection_) preview_->play();
    else preview_->resume();
    previewTimer_->start();
    refreshPlayButtons();
}

void GIFViewController::stopAction() {
    endEditing();
    preview_->pause();
    playFinished();  // back to where the play started, as at its end
}

void GIFViewController::playFinished() {
    previewTimer_->stop();
    const int64_t back = playingSelection_ ? startUs_ : 0;
    preview_->seek(back);
    playingSelection_ = false;
    showPosition(back);
    refreshPlayButtons();
}

void GIFViewController::volumeAction() {
    endEditing();
    muted_ = !muted_;
    kit::setStatePictures(volumeBtn, muted_ ? QStringLiteral("ZantImage/Cut/btnCloseVolume") : QStringLiteral("ZantImage/Reverse/btnOpenVolume"),
                          QStringLiteral("@2x.png"));
    volumeSlider->setProgress(muted_ ? 0.0f : float(volume_));
    preview_->setVolume(muted_ ? 0.0 : volume_);
}

void GIFViewController::leftCutAction() {
    endEditing();
    const int64_t now = preview_->positionUs();
    // A start after the end would invert the range: the press is ignored.
    if (!preview_->hasContent() || now > endUs_) return;
    startUs_ = now;
    if (durationUs_ > 0) cutTimeSlider->setLowerValue(float(double(startUs_) / double(durationUs_)));
    resetTextFields();
}

void GIFViewController::rightCutAction() {
    endEditing();
    const int64_t now = preview_->positionUs();
    if (!preview_->hasContent() || now < startUs_) return;
    endUs_ = std::min(now, durationUs_);
    if (durationUs_ > 0) cutTimeSlider->setUpperValue(float(double(endUs_) / double(durationUs_)));
    resetTextFields();
}

void GIFViewController::resetRange(bool startEnd) {
    endEditing();
    if (startEnd) {
        startUs_ = 0;
        cutTimeSlider->setLowerValue(0);
    } else {
        endUs_ = durationUs_;
        cutTimeSlider->setUpperValue(1);
    }
    const int64_t at = startEnd ? startUs_ : endUs_;
    preview_->seek(at);
    showPosition(at);
    resetTextFields();
}

void GIFViewController::actionMouseDownForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float) {
    endEditing();
    if (preview_->playing()) {
        resumeAfterSeek_ = true;
        preview_->pause();
        previewTimer_->stop();
    }
}

void GIFViewController::actionSeekToTimeForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) {
    const int64_t at = int64_t(double(progress) * double(durationUs_));
    preview_->seek(at);
    showPosition(at);
}

void GIFViewController::actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float startvalue,
                                                                float stopvalue, int64_t handleType) {
    startUs_ = int64_t(double(startvalue) * double(durationUs_));
    endUs_ = std::max(startUs_, int64_t(double(stopvalue) * double(durationUs_)));
    resetTextFields();
    const int64_t at = handleType == kestrel::widgets::RDCutProgressView::kLeftHandle ? startUs_ : endUs_;
    preview_->seek(at);
    showPosition(at);
}

void GIFViewController::actionMouseUpForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float) {
    if (resumeAfterSeek_) {
        resumeAfterSeek_ = false;
        preview_->resume();
        previewTimer_->start();
    }
    refreshPlayButtons();
}

void GIFViewController::actionMouseDownForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float) {
    endEditing();
    if (slider == gifPlayerSlider && preview_->playing()) {
        preview_->pause();
        previewTimer_->stop();
        refreshPlayButtons();
    }
}

void GIFViewController::actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) {
    if (slider == gifPlayerSlider) leftTimeTextField->setText(formatTime(int64_t(double(progress) * double(preview_->totalUs()))));
}

void GIFViewController::actionMouseUpForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) {
    if (slider == gifPlayerSlider) {
        preview_->seek(int64_t(double(progress) * double(preview_->totalUs())));
        return;
    }
    // The volume slider sets the volume at once, also while the button shows muted.
    volume_ = double(progress);
    preview_->setVolume(volume_);
}

}  // namespace gif

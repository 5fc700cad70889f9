// The GIF maker view's preview: rebuilt for the video or the photos, its poll, play, range play
// and stop.
#include "tools/gif/gif_view_controller.h"

#include "session/preview/gif_preview.h"
#include "tools/gif/gif_photo_list.h"
#include "tools/gif/gif_view_support.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace gif {

using kestrel::tools::gif::GifPhotoList;
using kestrel::tools::gif::OutputSize;
using kestrel::tools::gif::SizeUnit;
namespace rules = kestrel::tools::gif;
namespace session = kestrel::session;
using namespace detail;

void GIFViewController::rebuildPreview() {
    if (previewView_) {
        previewLayout_->removeWidget(previewView_);
        previewView_->hide();
    }
    bool shown = false;
    if (mode_ == Mode::PhotosToGif) {
        shown = preview_->showPhotos(photoList->paths(), ptoGifFps_, int(photoWidth_), int(photoHeight_));
    } else if (!videoPath_.isEmpty()) {
        const OutputSize& s = gifSize_;
        int w = kPreviewLongSide, h = kPreviewLongSide * 9 / 16;
        if (s.sourceWidth > 0 && s.sourceHeight > 0) {
            const double scale = double(kPreviewLongSide) / double(std::max(s.sourceWidth, s.sourceHeight));
            w = int(double(s.sourceWidth) * scale);
            h = int(double(s.sourceHeight) * scale);
        }
        shown = preview_->showVideo(videoPath_, w, h);
    }
    auto* view = static_cast<QWidget*>(preview_->view());
    if (view) {
        previewView_ = view;
        if (previewLayout_->indexOf(view) < 0) previewLayout_->addWidget(view);
        view->setVisible(shown);
    }
    playing_ = false;
    playBtn->setText(tr_("gif_miker_Play"));
    pollPreview();
}

void GIFViewController::pollPreview() {
    const int64_t total = preview_->totalUs();
    int64_t now = preview_->positionUs();
    if (playing_ && playingSelection_ && now >= endUs_) {
        // The poll may come a little late: the playhead rests on the range's end itself.
        preview_->pause();
        preview_->seek(endUs_);
        now = endUs_;
        playing_ = false;
        playBtn->setText(tr_("gif_miker_Play"));
    }
    if (!positionSlider->isSliderDown()) positionSlider->setValue(total > 0 ? int(now * 1000 / total) : 0);
    timeLabel->setText(formatTime(now) + " / " + formatTime(total));
    if (!playing_) previewTimer_->stop();
}

void GIFViewController::playAction(bool selectionOnly) {
    if (!preview_->hasContent()) return;
    if (playing_ && !selectionOnly) {
        preview_->pause();
        playing_ = false;
        playBtn->setText(tr_("gif_miker_Play"));
        return;
    }
    playingSelection_ = selectionOnly && mode_ != Mode::PhotosToGif;
    const int64_t now = preview_->positionUs();
    if (playingSelection_ && !(now > startUs_ && now < endUs_)) preview_->seek(startUs_);
    if (preview_->positionUs() >= preview_->totalUs() && !playingSelection_) preview_->play();
    else preview_->resume();
    playing_ = true;
    playBtn->setText(tr_("gif_miker_Pause"));
    previewTimer_->start();
}

void GIFViewController::stopAction() {
    preview_->pause();
    preview_->seek(0);
    playing_ = false;
    playBtn->setText(tr_("gif_miker_Play"));
    pollPreview();
}

}  // namespace gif

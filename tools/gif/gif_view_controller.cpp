#include "tools/gif/gif_view_controller.h"

#include "export/ui/export_session.h"
#include "platform/notification_center.h"
#include "session/jobs/job.h"
#include "session/media/gif_media_info.h"
#include "session/preview/gif_preview.h"
#include "tools/gif/gif_photo_list.h"
#include "tools/gif/gif_view_support.h"
#include "widgets/dialogs/file_kinds.h"
#include "widgets/dialogs/open_panel.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimeEdit>
#include <QTimer>

namespace gif {

using kestrel::tools::gif::GifPhotoList;
using kestrel::tools::gif::OutputSize;
using kestrel::tools::gif::SizeUnit;
namespace rules = kestrel::tools::gif;
namespace session = kestrel::session;
using namespace detail;

GIFViewController::GIFViewController(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("gifView"));
    setAttribute(Qt::WA_StyledBackground, true);
    // Text runs right to left in Arabic, but the window's layout is never mirrored.
    setLayoutDirection(Qt::LeftToRight);
    preview_ = std::make_unique<session::GifPreview>();
    connect(preview_.get(), &session::GifPreview::playFinished, this, [this] {
        playing_ = false;
        playBtn->setText(tr_("gif_miker_Play"));
    });
    buildViews();
    changeLanguage();
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) { changeLanguage(); }, this);
    previewTimer_ = new QTimer(this);
    previewTimer_->setInterval(kPollMs);
    connect(previewTimer_, &QTimer::timeout, this, &GIFViewController::pollPreview);
}

GIFViewController::~GIFViewController() {
    if (job_) job_->stop();
    // The engine's preview view lives in our layout; the preview must not outlive it unparented.
    preview_.reset();
}

int64_t GIFViewController::previewPositionUs() const { return preview_->positionUs(); }

double GIFViewController::fps(Mode mode) const {
    switch (mode) {
        case Mode::VideoToGif: return vtoGifFps_;
        case Mode::VideoToPictures: return vtoJpgFps_;
        case Mode::PhotosToGif: return ptoGifFps_;
    }
    return vtoGifFps_;
}

OutputSize& GIFViewController::videoSize() { return mode_ == Mode::VideoToPictures ? pictureSize_ : gifSize_; }

void GIFViewController::showEvent(QShowEvent* event) {
    if (!loaded_) {
        loaded_ = true;
        viewDidLoad();
    }
    QWidget::showEvent(event);
}

void GIFViewController::viewDidLoad() {
    changeLanguage();
    loadVideo(videoPath_);
    selectMode(tabState_ == 1 ? Mode::PhotosToGif : tabState_ == -1 ? Mode::VideoToPictures : Mode::VideoToGif);
}

void GIFViewController::loadVideo(const QString& path) {
    videoPath_ = path;
    const session::GifMediaInfo info = session::probeGifMedia(path);
    durationUs_ = info.ok ? info.duration_us : 0;
    startUs_ = 0;
    endUs_ = durationUs_;
    gifSize_ = rules::initialGifSize(info.width, info.height);
    pictureSize_ = rules::initialPictureSize(info.width, info.height);
    showVideoName();
    for (QTimeEdit* edit : {startTimeEdit, endTimeEdit}) {
        edit->setMinimumTime(QTime(0, 0));
        edit->setMaximumTime(timeOf(durationUs_));
    }
    startTimeEdit->setTime(timeOf(startUs_));
    endTimeEdit->setTime(timeOf(endUs_));
    refreshOutputFields();
    if (mode_ != Mode::PhotosToGif) rebuildPreview();
}

void GIFViewController::selectMode(Mode mode) {
    const bool photoChange = (mode == Mode::PhotosToGif) != (mode_ == Mode::PhotosToGif);
    mode_ = mode;
    QPushButton* tab = mode == Mode::VideoToGif ? videotoGifBtn : mode == Mode::VideoToPictures ? videotoJpgBtn : photostoGifBtn;
    tab->setChecked(true);
    settingsStack_->setCurrentIndex(mode == Mode::PhotosToGif ? 1 : 0);
    playSelectBtn->setVisible(mode != Mode::PhotosToGif);
    photoHintLabel->setVisible(mode == Mode::PhotosToGif && photoList->count() == 0);
    refreshOutputFields();
    if (photoChange || !previewView_) {
        stopAction();
        rebuildPreview();
    }
}

void GIFViewController::debounce(QTimer*& timer, void (GIFViewController::*action)()) {
    if (!timer) {
        timer = new QTimer(this);
        timer->setSingleShot(true);
        timer->setInterval(kDebounceMs);
        connect(timer, &QTimer::timeout, this, action);
    }
    timer->start();
}

void GIFViewController::addFileBtnAction() {
    kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
    request.allowedFileTypes = kestrel::widgets::videoFileTypes();
    const QStringList chosen = kestrel::widgets::runOpenPanel(request);
    if (chosen.isEmpty() || !kestrel::widgets::hasAllowedExtension(chosen.first(), request.allowedFileTypes)) return;
    stopAction();
    loadVideo(chosen.first());
}

void GIFViewController::addPhotosAction() {
    kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
    request.allowedFileTypes = kestrel::tools::gif::photoFileTypes();
    request.allowsMultipleSelection = true;
    photoList->addPhotos(kestrel::widgets::runOpenPanel(request));
}

void GIFViewController::photosChanged() {
    const bool empty = photoList->count() == 0;
    clearPhotosBtn->setEnabled(!empty);
    deletePhotosBtn->setEnabled(!photoList->selectedItems().isEmpty());
    photoHintLabel->setVisible(mode_ == Mode::PhotosToGif && empty);
    if (!empty) {
        // The first photo decides the GIF's shape.
        const session::GifMediaInfo first = session::probeGifMedia(photoList->paths().first());
        rules::initialPhotoSize(first.width, first.height, &photoWidth_, &photoHeight_);
        refreshOutputFields();
    }
    if (mode_ == Mode::PhotosToGif) {
        stopAction();
        rebuildPreview();
    }
}

void GIFViewController::windowWillClose() {
    preview_->pause();
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
}

}  // namespace gif

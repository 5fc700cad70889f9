#include "tools/gif/gif_view_controller.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QTimer>

#include "export/ui/export_session.h"
#include "platform/notification_center.h"
#include "session/jobs/job.h"
#include "session/media/gif_media_info.h"
#include "session/preview/gif_preview.h"
#include "tools/gif/gif_photo_grid.h"
#include "tools/gif/gif_view_support.h"
#include "tools/shared/kit_controls.h"
#include "tools/shared/time_field_group.h"
#include "widgets/dialogs/file_kinds.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/zor_button.h"

namespace gif {

namespace rules = kestrel::tools::gif;
namespace session = kestrel::session;
namespace kit = kestrel::tools::shared;
using namespace detail;

GIFViewController::GIFViewController(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("gifView"));
    setAttribute(Qt::WA_StyledBackground, true);
    // Text runs right to left in Arabic, but the window's layout is never mirrored.
    setLayoutDirection(Qt::LeftToRight);
    preview_ = std::make_unique<session::GifPreview>();
    connect(preview_.get(), &session::GifPreview::playFinished, this, [this] { playFinished(); });
    buildViews();
    changeLanguage();
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) { changeLanguage(); }, this);
    previewTimer_ = new QTimer(this);
    previewTimer_->setInterval(kPollMs);
    connect(previewTimer_, &QTimer::timeout, this, &GIFViewController::pollPreview);
    for (kit::TimeFieldGroup* group : {startTextBgView, endTextBgView}) group->setEditable(false);
    // At first the steppers step the start's seconds.
    startTextBgView->pressField(2);
}

GIFViewController::~GIFViewController() {
    // A field that still has the focus commits while the base class destroys it: it must not
    // reach this half-destroyed view or the preview about to go.
    kit::disconnectChildren(this);
    platform::NotificationCenter::defaultCenter().removeObserversOf(this);
    cutTimeSlider->setDelegate(nullptr);
    gifPlayerSlider->setDelegate(nullptr);
    volumeSlider->setDelegate(nullptr);
    for (kestrel::widgets::RDTextField* field : {outputSizeWidthField, outputSizeHeightField, outputFrameRateField,
                                                 photostoGif_SizeWidthField, photostoGif_SizeHeightField, photostoGif_FrameRateField})
        field->setMouseDelegate(nullptr);
    if (job_) job_->stop();
    // The engine's preview view lives in our layout; the preview must not outlive it unparented.
    preview_.reset();
}

double GIFViewController::fps(Mode mode) const {
    switch (mode) {
        case Mode::VideoToGif: return vtoGifFps_;
        case Mode::VideoToPictures: return vtoJpgFps_;
        case Mode::PhotosToGif: return ptoGifFps_;
    }
    return vtoGifFps_;
}

rules::OutputSize& GIFViewController::videoSize() { return mode_ == Mode::VideoToPictures ? pictureSize_ : gifSize_; }

void GIFViewController::showEvent(QShowEvent* event) {
    if (!loaded_) {
        loaded_ = true;
        viewDidLoad();
    }
    QWidget::showEvent(event);
}

void GIFViewController::viewDidLoad() {
    for (kestrel::widgets::RDTextField* field : {outputSizeWidthField, outputSizeHeightField, outputFrameRateField,
                                                 photostoGif_SizeWidthField, photostoGif_SizeHeightField, photostoGif_FrameRateField})
        field->setEnabled(true);
    loadVideo(videoPath_);
    selectMode(tabState_ == 1 ? Mode::PhotosToGif : tabState_ == -1 ? Mode::VideoToPictures : Mode::VideoToGif);
    kit::applyToolTextDirection(this);
}

void GIFViewController::endEditing() {
    if (QWidget* focused = focusWidget(); focused && isAncestorOf(focused)) focused->clearFocus();
}

void GIFViewController::loadVideo(const QString& path) {
    videoPath_ = path;
    const session::GifMediaInfo info = session::probeGifMedia(path);
    durationUs_ = info.ok ? info.duration_us : 0;
    startUs_ = 0;
    endUs_ = durationUs_;
    gifSize_ = rules::initialGifSize(info.width, info.height);
    pictureSize_ = rules::initialPictureSize(info.width, info.height);
    videoSizeLabel->setText(info.ok ? QStringLiteral("%1 x %2").arg(info.width).arg(info.height) : QString());
    videoFpsLabel->setText(info.ok ? QString::asprintf("%.2f fps", info.fps) : QString());
    addFileBtn->setToolTip(path);
    cutTimeSlider->setLowerValue(0, 1);
    for (kit::TimeFieldGroup* group : {startTextBgView, endTextBgView}) group->setEditable(info.ok);
    resetTextFields();
    refreshOutputFields();
    if (mode_ != Mode::PhotosToGif) initPlayer();
}

void GIFViewController::selectMode(Mode mode) {
    endEditing();
    const bool photoChange = (mode == Mode::PhotosToGif) != (mode_ == Mode::PhotosToGif);
    mode_ = mode;
    videotoGifBtn->setSelected(mode == Mode::VideoToGif);
    videotoJpgBtn->setSelected(mode == Mode::VideoToPictures);
    photostoGifBtn->setSelected(mode == Mode::PhotosToGif);
    {
        // The marker under the chosen tab.
        auto* grid = static_cast<QGridLayout*>(selectTabView->parentWidget()->layout());
        const int column = mode == Mode::VideoToGif ? 0 : mode == Mode::VideoToPictures ? 1 : 2;
        grid->removeWidget(selectTabView);
        grid->addWidget(selectTabView, 1, column);
    }
    const bool photos = mode == Mode::PhotosToGif;
    videoSetsView->setVisible(!photos);
    photosSetsView->setVisible(photos);
    cutTimeSlider->setVisible(!photos);
    middleTimeTextField->setVisible(!photos);
    gifPlayerSlider->setVisible(photos);
    playSelectBtn->setVisible(!photos);
    volumeBtn->setVisible(!photos);
    volumeSlider->setVisible(!photos);
    fileShowMessageView->setVisible(photos && files_.isEmpty());
    refreshOutputFields();
    if (photoChange || !previewView_) {
        stopAction();
        if (photos) initGifPlayer();
        else initPlayer();
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
    if (previewPlaying()) playAction(false);
    kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
    request.allowedFileTypes = kestrel::widgets::videoFileTypes();
    const QStringList chosen = kestrel::widgets::runOpenPanel(request);
    if (chosen.isEmpty() || !kestrel::widgets::hasAllowedExtension(chosen.first(), request.allowedFileTypes)) return;
    stopAction();
    loadVideo(chosen.first());
}

void GIFViewController::windowWillClose() {
    endEditing();
    preview_->pause();
    previewTimer_->stop();
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
}

}  // namespace gif

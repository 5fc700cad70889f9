// The preview: the player for the current file, the 0.1 s tick, play, pause, stop, the end of
// the file, snapshots and the pop-up volume slider.
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QTimer>
#include <vector>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_look.h"
#include "editor/editor_views.h"
#include "editor/music/music_panel.h"
#include "editor/shutter_sound.h"
#include "editor/watermark/editor_side_panels.h"
#include "engine/player/DIVuverIzizud.h"
#include "platform/atomic_image_write.h"
#include "platform/frame.h"
#include "services/folders.h"
#include "services/help_class.h"
#include "services/language.h"
#include "services/output_name.h"
#include "session/edit/edit_bindings.h"
#include "widgets/zor_button.h"
#include "widgets/zor_image_view.h"

using namespace kestrel::editor::look;
using kestrel::player::DIVuverIzizud;

namespace {
QString timeText(double seconds) {
    const kestrel::editor::TimeParts p = kestrel::editor::splitSeconds(float(seconds));
    return services::HelpClass::retrnTimeToStr(p.hours, p.minutes, p.seconds, p.millis);
}
}  // namespace

double EditVideoWindowController::playerDurationSeconds() const {
    return rdPlayer_ ? rdPlayer_->duration().seconds() : 0.0;
}

double EditVideoWindowController::playerCurrentSeconds() const {
    return rdPlayer_ ? rdPlayer_->currentTime().seconds() : 0.0;
}

void EditVideoWindowController::seekSeconds(double seconds) {
    if (rdPlayer_) rdPlayer_->seekTime(platform::MediaTime::fromSeconds(seconds, 1000000000));
}

void EditVideoWindowController::writeTimeFields(bool start, double seconds) {
    const kestrel::editor::TimeParts p = kestrel::editor::splitSeconds(float(seconds));
    const auto fields = start ? v_->startFields() : v_->stopFields();
    fields[0]->setText(QString::asprintf("%02i", p.hours));
    fields[1]->setText(QString::asprintf("%02i", p.minutes));
    fields[2]->setText(QString::asprintf("%02i", p.seconds));
    fields[3]->setText(QString::asprintf("%03i", p.millis));
}

double EditVideoWindowController::fieldsSeconds(bool start) const {
    const auto f = start ? v_->startFields() : v_->stopFields();
    return kestrel::editor::secondsFromParts({f[0]->text().toInt(), f[1]->text().toInt(), f[2]->text().toInt(),
                                     f[3]->text().toInt()});
}

void EditVideoWindowController::initPlayer() {
    // A playing preview is paused the window's way first: its buttons, tick and panels follow.
    if (isPlaying()) pause();
    if (rdPlayer_) {
        // The panels let go of the old preview; refreshPlayerView hands them the new one.
        if (sidePanels_) sidePanels_->setPlayer(nullptr, fileData_);
        rdPlayer_->stop();
        if (QWidget* view = rdPlayer_->view()) view->setParent(nullptr);
        rdPlayer_.reset();
    }
    if (!filePath_.isEmpty()) {
        const QRectF bounds(QPointF(0, 0), QSizeF(v_->playerView->size()));
        rdPlayer_ = DIVuverIzizud::initWithString(filePath_.toStdString(), bounds);
        if (rdPlayer_) {
            rdPlayer_->seekTime(platform::MediaTime::make(1, 30));
            QPointer<QObject> guard = this;
            rdPlayer_->setPlayerDidEndBlock([this, guard] {
                if (guard) playerDidEnd();
            });
            rdPlayer_->setFrame(bounds);
            QWidget* view = rdPlayer_->view();
            view->setParent(v_->playerView);
            view->setGeometry(v_->playerView->rect());
            setBackground(view, kPlayerBackground);
            view->show();
        }
    }
    auto* bar = v_->cutProgressView;
    bar->setIsNew(true);
    bar->setLowerValue(0.0f, 1.0f);
    bar->setDelegate(this);
    bar->setIsFanxuan(false);
    v_->currentTimeLabel->setText(services::HelpClass::returnTimeToStr(0));
    v_->totalTimeLabel->setText(services::HelpClass::returnTimeToStr(playerDurationSeconds()));
    v_->mCurrentTimeLabel->setText(v_->currentTimeLabel->text());
    v_->mTotaldurationLabel->setText(v_->totalTimeLabel->text());
    v_->b_volumeSlider->setDelegate(this);
    v_->b_volumeSlider->setDisable(false);
}

void EditVideoWindowController::addTimer() {
    removeTimer();
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { changePlayerSlider(); });
    timer_->start(100);
}

void EditVideoWindowController::removeTimer() {
    if (!timer_) return;
    timer_->stop();
    timer_->deleteLater();
    timer_ = nullptr;
}

void EditVideoWindowController::updateTimeLabels() {
    v_->currentTimeLabel->setText(timeText(playerCurrentSeconds()));
    v_->totalTimeLabel->setText(timeText(playerDurationSeconds()));
    v_->mCurrentTimeLabel->setText(v_->currentTimeLabel->text());
    v_->mTotaldurationLabel->setText(v_->totalTimeLabel->text());
}

void EditVideoWindowController::changePlayerSlider() {
    if (!rdPlayer_) return;
    // Paused by something else than the window (the end, a panel): the window shows it.
    if (!isPlaying()) previewPaused();
    const double position = playerCurrentSeconds();
    const double duration = playerDurationSeconds();
    if (position >= duration && position > 0) removeTimer();
    if (duration > 0) {
        v_->cutProgressView->setProgress(float(position / duration));
        // In the music tool the music bar's knob follows the video.
        if (toolItemType_ == kToolMusic && sidePanels_)
            sidePanels_->musicPanel()->positionBar()->setProgress(float(position / duration));
    }
    updateTimeLabels();
}

void EditVideoWindowController::showPlayPictures(bool playing) {
    auto* b = v_->b_playPauseBtn;
    setPlayPictures(b, playing);
    b->setSelected(playing);
    b->setContentTitle(QString());
}

bool EditVideoWindowController::isPlaying() const { return rdPlayer_ && rdPlayer_->playerStatus() == 1; }

void EditVideoWindowController::showTransportState() {
    const bool playing = isPlaying();
    showPlayPictures(playing);
    v_->b_stopBtn->setEnabled(playing);
}

void EditVideoWindowController::play() {
    if (!rdPlayer_) return;
    // The music preview stops, the checked music is mixed in and the player draws every
    // checked watermark; the chosen audio track and the levels go with them.
    if (sidePanels_) sidePanels_->previewWillPlay();
    applyEditState(kestrel::session::kPreviewSound);
    rdPlayer_->play();
    addTimer();
    showTransportState();
}

void EditVideoWindowController::pause() {
    if (!rdPlayer_) return;
    rdPlayer_->pause();
    previewPaused();
}

void EditVideoWindowController::stop() {
    if (!rdPlayer_) return;
    rdPlayer_->stop();
    previewPaused();
}

void EditVideoWindowController::previewPaused() {
    removeTimer();
    showTransportState();
    if (sidePanels_) sidePanels_->previewDidPause();
}

void EditVideoWindowController::action_playPauseBtn() {
    if (!rdPlayer_) return;  // nothing loaded: nothing to play, and the button does not pretend
    if (isPlaying()) pause();
    else play();
}

void EditVideoWindowController::playerDidEnd() {
    if (!rdPlayer_) return;
    pause();
    rdPlayer_->stop();
    if (cutTimeRange_stop_ == 0) {
        cutTimeRange_stop_ = playerDurationSeconds() * 1000000.0;
        cutTimeRange_start_ = 0;
    }
    rdPlayer_->seekTime(platform::MediaTime::fromSeconds(float(cutTimeRange_start_ / 1000000.0), 1000000000));
    v_->b_stopBtn->setEnabled(false);
    updateTimeLabels();
}

void EditVideoWindowController::actionCarameraBtn() {
    if (!rdPlayer_) return;
    int32_t w = rdPlayer_->frameWidth();
    int32_t h = rdPlayer_->frameHeight();
    if (w <= 0 || h <= 0) return;
    std::vector<uint8_t> buffer(size_t(w) * size_t(h) * 4, 0);
    // Every failure past this point is the user's lost picture: it is reported, not swallowed.
    const auto failed = [this] { showAlert(services::localized(QStringLiteral("SnapshotFailedMessage"))); };
    if (rdPlayer_->Snapshot(&w, &h, buffer.data()) < 1 || w <= 0 || h <= 0) return failed();
    const QImage image =
        QImage(buffer.data(), w, h, w * 4, QImage::Format_ARGB32_Premultiplied).copy();
    QString folder = outputPath_;
    if (folder.isEmpty()) folder = services::FileManager::sharedManager().rootSnapshotDirPath();
    if (folder.isEmpty() || !QDir().mkpath(folder)) return failed();
    const char* format = "PNG";
    QString ext = QStringLiteral("png");
    if (coverStyle_ == QLatin1String("bmp")) {
        format = "BMP";
        ext = QStringLiteral("bmp");
    } else if (coverStyle_ == QLatin1String("jpg")) {
        format = "JPEG";
        ext = QStringLiteral("jpg");
    }
    // Never replaces an earlier snapshot: a second one in the same second is numbered.
    const QString path = services::uniqueOutputPath(folder, services::HelpClass::createFilename(), ext);
    const QImage opaque = (ext == QLatin1String("png")) ? image : image.convertToFormat(QImage::Format_RGB32);
    // Encoded in memory and written whole: a full disk leaves no cut-off picture.
    if (!platform::saveImageAtomically(opaque, path, format)) return failed();
    lastSnapshotPath_ = path;
    if (shutterSound_) shutterSound_->play();
}

void EditVideoWindowController::setShutterSound(std::unique_ptr<kestrel::editor::ShutterSound> sound) {
    shutterSound_ = std::move(sound);
}

void EditVideoWindowController::volumeButtonPressed() {
    QWidget* box = v_->volumeSliderContainer;
    // Above the volume button, in whichever bar the play tools sit.
    const QPoint button = v_->b_volumeBtn->mapTo(v_->contentRightView, QPoint(0, 0));
    const int barTop = v_->playToolView->parentWidget()->y();
    box->setGeometry(button.x(), barTop - 120, 28, 118);
    v_->b_volumeSlider->setFrame(QRectF(2, 4, 24, 110));
    box->show();
    box->raise();
    volumeHideTimer_->start(2000);
}

void EditVideoWindowController::hiddenVolumeSliderView() { v_->volumeSliderContainer->hide(); }

void EditVideoWindowController::refreshIfPaused() {
    if (rdPlayer_ && !isPlaying()) rdPlayer_->Refresh();
}

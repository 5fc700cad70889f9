#include "tools/reverse/reverse_view_controller.h"

#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>

#include "engine/player/DIVuverIzizud.h"
#include "export/ui/export_session.h"
#include "platform/notification_center.h"
#include "services/language.h"
#include "tools/shared/kit_controls.h"
#include "tools/shared/media_input.h"
#include "tools/shared/time_field_group.h"
#include "widgets/dialogs/file_kinds.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/image_view.h"
#include "widgets/xj_graphic_button.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::reverse {
namespace {

using services::localized;
using widgets::XJGraphicButton;
namespace kit = kestrel::tools::shared;

ReverseViewController::MessagePresenter& messagePresenter() {
    static ReverseViewController::MessagePresenter presenter;
    return presenter;
}

}  // namespace

void ReverseViewController::setMessagePresenter(MessagePresenter presenter) { messagePresenter() = std::move(presenter); }

ReverseViewController::ReverseViewController(QWidget* parent) : QWidget(parent) {
    resize(1100, 640);
    // Layouts stay left to right in every language; only text controls follow the language.
    setLayoutDirection(Qt::LeftToRight);
    buildViews();
    changeLanguage();
    enableEditing(false);
    // At first the steppers step the start's seconds.
    startTimeTextFieldBgView->pressField(2);
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) {
            changeLanguage();
            kit::applyToolTextDirection(this);
        }, this);
}

ReverseViewController::~ReverseViewController() {
    kit::disconnectChildren(this);
    platform::NotificationCenter::defaultCenter().removeObserversOf(this);
    cutTimeSlider->setDelegate(nullptr);
    volumeSlider->setDelegate(nullptr);
    // A running export is stopped through the engine, which removes its partial output.
    if (job_) job_->stop();
}

void ReverseViewController::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        viewDidLoad();
    }
}

void ReverseViewController::viewDidLoad() {
    initPlayer();
    kit::applyToolTextDirection(this);
}

void ReverseViewController::showMessage(const QString& text) {
    if (messagePresenter()) {
        messagePresenter()(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, titleLabel->text(), text, QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setText(localized(QStringLiteral("OKBtnTitle")));
    box.exec();
}

bool ReverseViewController::initPlayer() {
    if (filePath_.isEmpty()) return false;
    // A file the tool cannot read is refused before anything of the loaded one changes.
    const kit::ProbedFiles probed = kit::probeMediaFiles({filePath_}, false);
    std::unique_ptr<player::DIVuverIzizud> next;
    if (!probed.accepted.isEmpty())
        next = player::DIVuverIzizud::initWithString(filePath_.toStdString(), QRectF(QPointF(0, 0), QSizeF(playBgView->size())));
    if (!next) {
        QList<kit::RefusedFile> refused = probed.refused;
        if (refused.isEmpty()) refused.append({QFileInfo(filePath_).fileName(), kit::refusalReason(filePath_)});
        showMessage(kit::refusedFilesMessage(refused));
        return false;
    }
    const kestrel::model::SimpleDataPtr record = probed.accepted.first();
    positionTimer_->stop();
    resumeAfterSeek_ = false;
    playingRange_ = false;
    player_ = std::move(next);
    delete audioCover_;
    audioCover_ = nullptr;
    playBgView->layout()->addWidget(player_->view());
    player_->view()->show();
    kind_ = inputKind(filePath_);
    soundOnly_ = kind_ == InputKind::Audio || record->sourceData.exist == 0;
    if (soundOnly_) {
        // A sound-only input shows its cover picture in the preview.
        audioCover_ = new widgets::ImageView(playBgView);
        audioCover_->setObjectName(QStringLiteral("audioCover"));
        audioCover_->setImageScaling(widgets::ImageScaling::ProportionallyUpOrDown);
        audioCover_->setImage(services::Language::pixmapWithfileName(QStringLiteral("imgBigAudio")));
        playBgView->layout()->addWidget(audioCover_);
        player_->view()->hide();
    }
    applyVolume();
    player_->setPlayerDidEndBlock([this] { playbackEnded(); });
    // A sound-only input can only have its sound reversed.
    XJGraphicButton* chosen = soundOnly_ ? reverseSoundBtn : keepSoundBtn;
    for (XJGraphicButton* button : {keepSoundBtn, removeSoundBtn, reverseSoundBtn}) button->setButtonState(button == chosen ? 3 : 0);
    total_us_ = player_->duration().microseconds();
    start_us_ = 0;
    end_us_ = total_us_;
    cutTimeSlider->setLowerValue(0, 1);
    seekTo(0);
    rightTimeTextField->setText(formatTime(total_us_));
    resetTextFields();
    enableEditing(true);
    refreshPlayButtons();
    return true;
}

session::ReverseSound ReverseViewController::soundMode() const {
    if (keepSoundBtn->buttonState() == 3 && keepSoundBtn->viewEnable()) return session::ReverseSound::Keep;
    if (removeSoundBtn->buttonState() == 3 && removeSoundBtn->viewEnable()) return session::ReverseSound::Remove;
    return session::ReverseSound::Reverse;
}

void ReverseViewController::selectSound(XJGraphicButton* radio) {
    // A disabled radio is no choice.
    if (!radio->viewEnable()) return;
    for (XJGraphicButton* button : {keepSoundBtn, removeSoundBtn, reverseSoundBtn}) button->setButtonState(button == radio ? 3 : 0);
}

bool ReverseViewController::playing() const { return player_ && player_->playerStatus() == 1; }

int64_t ReverseViewController::position_us() const { return player_ ? player_->currentTime().microseconds() : 0; }

void ReverseViewController::seekTo(int64_t time_us) {
    time_us = std::clamp<int64_t>(time_us, 0, total_us_);
    if (player_) player_->seekTime(platform::MediaTime::fromMicroseconds(time_us));
    if (total_us_ > 0) cutTimeSlider->setProgress(float(double(time_us) / double(total_us_)));
    leftTimeTextField->setText(formatTime(time_us));
}

void ReverseViewController::resetTextFields() {
    startTimeTextFieldBgView->setTimeUs(start_us_);
    endTimeTextFieldBgView->setTimeUs(end_us_);
    middleTimeTextField->setText(localized(QStringLiteral("Reverse Duration")) + formatTime(end_us_ - start_us_));
}

void ReverseViewController::groupPressed(bool startGroup) {
    // The steppers of the group pressed take over.
    startGroupPressed_ = startGroup;
    const bool editable = player_ && !exporting();
    startTimeTextFieldBgView->setSteppersEnabled(editable && startGroup);
    endTimeTextFieldBgView->setSteppersEnabled(editable && !startGroup);
}

void ReverseViewController::changeTime(bool startGroup) {
    if (startGroup) {
        const int64_t v = startTimeTextFieldBgView->timeUs();
        start_us_ = std::clamp<int64_t>(v, 0, end_us_);
        if (total_us_ > 0) cutTimeSlider->setLowerValue(float(double(start_us_) / double(total_us_)));
    } else {
        const int64_t v = endTimeTextFieldBgView->timeUs();
        end_us_ = std::clamp<int64_t>(v, start_us_, total_us_);
        if (total_us_ > 0) cutTimeSlider->setUpperValue(float(double(end_us_) / double(total_us_)));
    }
    resetTextFields();
}

void ReverseViewController::leftCutAction() {
    const int64_t now = position_us();
    // A start after the end would invert the range: the press is ignored.
    if (!player_ || now > end_us_) return;
    start_us_ = now;
    if (total_us_ > 0) cutTimeSlider->setLowerValue(float(double(start_us_) / double(total_us_)));
    resetTextFields();
}

void ReverseViewController::rightCutAction() {
    const int64_t now = position_us();
    if (!player_ || now < start_us_) return;
    end_us_ = now;
    if (total_us_ > 0) cutTimeSlider->setUpperValue(float(double(end_us_) / double(total_us_)));
    resetTextFields();
}

void ReverseViewController::resetRange(bool startEnd) {
    if (!player_) return;
    if (startEnd) {
        start_us_ = 0;
        cutTimeSlider->setLowerValue(0);
        seekTo(0);
    } else {
        end_us_ = total_us_;
        cutTimeSlider->setUpperValue(1);
        seekTo(end_us_);
    }
    resetTextFields();
}

void ReverseViewController::refreshPlayButtons() {
    const bool isPlaying = playing();
    kit::setStatePictures(playBtn, isPlaying && !playingRange_ ? QStringLiteral("ZantImage/Reverse/btnPause")
                                                               : QStringLiteral("ZantImage/Reverse/btnPlay"),
                          QStringLiteral("@2x.png"));
    kit::setStatePictures(playSelectedBtn, isPlaying && playingRange_ ? QStringLiteral("ZantImage/Reverse/btnPause")
                                                                      : QStringLiteral("ZantImage/GifMaker/btnPreview"),
                          QStringLiteral("@2x.png"));
    playBtn->setToolTip(localized(isPlaying && !playingRange_ ? QStringLiteral("ReversePause") : QStringLiteral("ReversePlay")));
    // While one of the two plays, the other waits.
    const bool on = player_ && !exporting();
    playBtn->setEnabled(on && !(isPlaying && playingRange_));
    playSelectedBtn->setEnabled(on && !(isPlaying && !playingRange_));
}

void ReverseViewController::playAction(bool selectedRange) {
    if (!player_) return;
    if (playing()) {
        pausePreview();
        return;
    }
    playingRange_ = selectedRange;
    if (selectedRange) {
        const int64_t now = position_us();
        if (!(now > start_us_ && now < end_us_)) seekTo(start_us_);
    }
    player_->play();
    positionTimer_->start();
    refreshPlayButtons();
}

void ReverseViewController::pausePreview() {
    if (!player_) return;
    player_->pause();
    positionTimer_->stop();
    refreshPlayButtons();
}

void ReverseViewController::stopAction() {
    if (!player_) return;
    resumeAfterSeek_ = false;
    player_->pause();
    positionTimer_->stop();
    seekTo(playingRange_ ? start_us_ : 0);
    playingRange_ = false;
    refreshPlayButtons();
}

void ReverseViewController::playbackEnded() {
    // The end of the file: back to the start (of the range when it was the range that played).
    positionTimer_->stop();
    seekTo(playingRange_ ? start_us_ : 0);
    playingRange_ = false;
    refreshPlayButtons();
}

void ReverseViewController::pollPosition() {
    if (!player_) return;
    const int64_t now = position_us();
    if (total_us_ > 0) cutTimeSlider->setProgress(float(double(now) / double(total_us_)));
    leftTimeTextField->setText(formatTime(now));
    if (playingRange_ && now >= end_us_) {
        // The range has played: pause and go back to its start.
        player_->pause();
        positionTimer_->stop();
        seekTo(start_us_);
        refreshPlayButtons();
    }
}

void ReverseViewController::applyVolume() {
    if (player_) player_->SetVolume(muted_ ? 0.0 : volume_);
}

void ReverseViewController::volumeAction() {
    muted_ = !muted_;
    kit::setStatePictures(volumeBtn, muted_ ? QStringLiteral("ZantImage/Cut/btnCloseVolume") : QStringLiteral("ZantImage/Reverse/btnOpenVolume"),
                          QStringLiteral("@2x.png"));
    volumeSlider->setProgress(muted_ ? 0.0f : float(volume_));
    applyVolume();
}

void ReverseViewController::actionMouseUpForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider*, float progress) {
    // The slider sets the volume at once, also while the button shows muted.
    volume_ = double(progress);
    if (player_) player_->SetVolume(volume_);
}

void ReverseViewController::actionMouseDownForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float) {
    if (playing()) {
        resumeAfterSeek_ = true;
        player_->pause();
        positionTimer_->stop();
    }
}

void ReverseViewController::actionSeekToTimeForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) {
    seekTo(int64_t(double(progress) * double(total_us_)));
}

void ReverseViewController::actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float startvalue,
                                                                    float stopvalue, int64_t handleType) {
    start_us_ = int64_t(double(startvalue) * double(total_us_));
    end_us_ = std::max(start_us_, int64_t(double(stopvalue) * double(total_us_)));
    resetTextFields();
    seekTo(handleType == kestrel::widgets::RDCutProgressView::kLeftHandle ? start_us_ : end_us_);
}

void ReverseViewController::actionMouseUpForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float) {
    if (resumeAfterSeek_ && player_) {
        resumeAfterSeek_ = false;
        player_->play();
        positionTimer_->start();
    }
    refreshPlayButtons();
}

void ReverseViewController::addFileBtnAction() {
    if (playing()) pausePreview();
    widgets::OpenPanelRequest request = widgets::standardOpenPanelRequest();
    request.allowedFileTypes = widgets::splitExtensionList(QStringLiteral(
        ".dts,.webm,.m1v,.m2t,.mp2v,.mpe,.mpv2,.ogm,.ogv,.vp6,.wm,.webp,.mtv,.mkv,.avi,.flv,.f4v,.mp4,.m4v,.wmv,.3gp,"
        ".3g2,.3gp2,.asf,.mov,.vob,.mpg,.rmvb,.ivr,.nut,.h261,.h264,.ram,.dat,.dv,.dif,.yuv,.qt,.mod,.tod,.mts,.ts,"
        ".m2ts,.tp,.trp,.m2p,.m2v,.mpv,.nsv,.divx,.mp3,.mp2,.wma,.m4a,.aac,.wav,.ogg,.m4r,.ac3,.flac"));
    const QStringList chosen = widgets::runOpenPanel(request);
    if (chosen.isEmpty()) return;
    const QString previous = filePath_;
    filePath_ = chosen.first();
    // A refused file leaves the one loaded before.
    if (!initPlayer()) filePath_ = previous;
}

void ReverseViewController::enableEditing(bool enabled) {
    const bool on = enabled && player_;
    for (XJGraphicButton* w : {leftCutBtn, rightCutBtn, leftResetBtn, rightResetBtn, stopBtn}) kit::setGraphicEnabled(w, on);
    for (QWidget* w : std::initializer_list<QWidget*>{exportBtn, cutTimeSlider, volumeBtn}) w->setEnabled(on);
    volumeSlider->setDisable(!on);
    startTimeTextFieldBgView->setEditable(on);
    endTimeTextFieldBgView->setEditable(on);
    groupPressed(startGroupPressed_);
    kit::setGraphicEnabled(reverseSoundBtn, on);
    kit::setGraphicEnabled(keepSoundBtn, on && !soundOnly_);
    kit::setGraphicEnabled(removeSoundBtn, on && !soundOnly_);
    refreshPlayButtons();
    addFileBtn->setEnabled(!exporting());
}

void ReverseViewController::windowWillClose() {
    if (player_) player_->pause();
    positionTimer_->stop();
    if (job_) job_->stop();
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
}

}  // namespace kestrel::tools::reverse

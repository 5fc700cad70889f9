// The joiner's preview of the selected clip: playback, the cut-range bar, the validated time
// fields, keep or remove, reset, apply to all, and the clip's volume. Every edit goes straight
// into the selected clip's record; the join reads them from there.
#include "tools/joiner/joinner_window_controller.h"

#include <QDir>
#include <QLabel>
#include <QTimer>
#include <cmath>

#include "editor/shutter_sound.h"
#include "engine/player/DIVuverIzizud.h"
#include "platform/atomic_image_write.h"
#include "services/help_class.h"
#include "services/output_name.h"
#include "services/language.h"
#include "tools/joiner/joiner_time_fields.h"
#include "tools/shared/clip_list_view.h"
#include "tools/shared/handle_gap.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::joiner {
namespace {

QPixmap picture(const QString& name) { return services::Language::pixmapWithfileName(name); }

QString timeText(double seconds) { return services::HelpClass::returnTimeToStr(seconds); }

double clipDuration(const kestrel::model::SimpleData& clip) { return clip.sourceData.duration; }

QString volumeText(double volume) { return QStringLiteral("%1%").arg(std::lround(volume * 100)); }

// The shortest range: a hundredth of a second, the time fields' unit.
constexpr int64_t kMinRangeUs = 10'000;

}  // namespace

kestrel::model::SimpleDataPtr JoinnerWindowController::selectedClip() const {
    const qint64 row = fileListTableView_->selectedRow();
    return row >= 0 && row < fileList_.size() ? fileList_[row] : nullptr;
}

double JoinnerWindowController::previewDuration() const {
    if (rdPlayer_) {
        const double d = rdPlayer_->duration().seconds();
        if (d > 0) return d;
    }
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    return clip ? clipDuration(*clip) : 0.0;
}

double JoinnerWindowController::currentSeconds() const { return rdPlayer_ ? rdPlayer_->currentTime().seconds() : 0.0; }

void JoinnerWindowController::seekTo(double seconds) {
    if (rdPlayer_) rdPlayer_->seekTime(platform::MediaTime::fromSeconds(std::max(0.0, seconds), 1000000000));
}

void JoinnerWindowController::initPlayer() {
    removeTimer();
    isPlaying_ = isPlaySelected_ = false;
    if (rdPlayer_) {
        rdPlayer_->stop();
        if (QWidget* view = rdPlayer_->view()) view->setParent(nullptr);
        rdPlayer_.reset();
    }
    if (audioFileImageLogo_) {
        delete audioFileImageLogo_;
        audioFileImageLogo_ = nullptr;
    }
    showPlayPictures(false);
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (!clip) return;
    updateMoveButtons();
    const QRectF bounds(QPointF(0, 0), QSizeF(playerView_->size()));
    rdPlayer_ = kestrel::player::DIVuverIzizud::initWithString(clip->path.toStdString(), bounds);
    if (rdPlayer_) {
        rdPlayer_->SetVolume(muted_ ? 0.0 : clip->volume);
        QPointer<JoinnerWindowController> guard(this);
        rdPlayer_->setPlayerDidEndBlock([guard] {
            if (!guard) return;
            guard->pause();
            guard->stopAction();
        });
        if (QWidget* view = rdPlayer_->view()) {
            view->setParent(playerView_);
            view->setGeometry(playerView_->rect());
            view->show();
        }
    }
    if (clip->sourceData.width == 0 && clip->sourceData.height == 0) {
        audioFileImageLogo_ = new QLabel(playerView_);
        audioFileImageLogo_->setGeometry(playerView_->rect());
        audioFileImageLogo_->setAlignment(Qt::AlignCenter);
        audioFileImageLogo_->setPixmap(picture(QStringLiteral("ZantImage/Join/FileList/imgAudio.bmp"))
                                           .scaled(playerView_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        audioFileImageLogo_->show();
    }
    // A clip without a picture has no frame to save.
    const bool picture = clip->sourceData.width > 0 && clip->sourceData.height > 0;
    cutCoverBtn_->setEnabled(picture);
    cutcoverStyleBtn_->setEnabled(picture);
    selectTimeBtn_->setSelected(!clip->isTrimFanxuan);
    unSelectTimeBtn_->setSelected(clip->isTrimFanxuan);
    cutProgressView_->setIsFanxuan(clip->isTrimFanxuan);
    // A range never set, or lying outside the clip, is the whole clip.
    const int64_t durationUs = static_cast<int64_t>(clipDuration(*clip) * 1000000.0);
    if (clip->cutTimeRange_start < 0) clip->cutTimeRange_start = 0;
    if (clip->cutTimeRange_stop <= 0 || clip->cutTimeRange_stop > durationUs) clip->cutTimeRange_stop = durationUs;
    if (clip->cutTimeRange_start >= clip->cutTimeRange_stop) clip->cutTimeRange_start = 0;
    showRange(*clip);
    seekTo(clip->cutTimeRange_start / 1000000.0);
    cutProgressView_->setProgress(float(clip->cutTimeRange_start / 1000000.0 / std::max(previewDuration(), 1e-6)));
    leftTimeLabel_->setText(timeText(clip->cutTimeRange_start / 1000000.0));
    rightTimeLabel_->setText(timeText(previewDuration()));
    volumeSlider_->setProgress(float(clip->volume / 2.0));
    volumeValueLabel_->setText(volumeText(clip->volume));
}

void JoinnerWindowController::showRange(const kestrel::model::SimpleData& clip) {
    const double d = std::max(clipDuration(clip), 1e-6);
    const double start = clip.cutTimeRange_start / 1000000.0, stop = clip.cutTimeRange_stop / 1000000.0;
    cutProgressView_->setLowerValue(float(start / d), float(stop / d));
    fillFields(startFields_, start);
    fillFields(stopFields_, stop);
    cutDurationValueLabel_->setText(timeText(stop - start));
}

void JoinnerWindowController::fillFields(const std::array<kestrel::widgets::RDTextField*, 4>& fields, double seconds) {
    const TimeFields f = splitTime(seconds);
    const int values[] = {f.hours, f.minutes, f.seconds, f.hundredths};
    for (size_t i = 0; i < 4; ++i)
        if (fields[i] != edittingField_ || !fields[i]->hasFocus()) fields[i]->setText(fieldText(values[i]));
}

double JoinnerWindowController::fieldsTime(const std::array<kestrel::widgets::RDTextField*, 4>& fields) const {
    return readTime({fieldValue(fields[0]->text()), fieldValue(fields[1]->text()), fieldValue(fields[2]->text()),
                     fieldValue(fields[3]->text())});
}

bool JoinnerWindowController::isStartField(const kestrel::widgets::RDTextField* field) const {
    return std::find(startFields_.begin(), startFields_.end(), field) != startFields_.end();
}

bool JoinnerWindowController::isStopField(const kestrel::widgets::RDTextField* field) const {
    return std::find(stopFields_.begin(), stopFields_.end(), field) != stopFields_.end();
}

void JoinnerWindowController::refreshList() {
    // The rows show the new cut length; the preview keeps its clip.
    const qint64 row = fileListTableView_->selectedRow();
    fileListTableView_->setItems(fileList_);
    fileListTableView_->setSelectedRow(row);
    fileListTableView_->setSelectionReportSuppressed(true);
    fileListTableView_->reloadData();
}

// ---- Playback ----

void JoinnerWindowController::addTimer() { timer_->start(); }
void JoinnerWindowController::removeTimer() { timer_->stop(); }

void JoinnerWindowController::play() {
    if (!rdPlayer_) return;
    isPlaying_ = true;
    rdPlayer_->play();
    addTimer();
}

void JoinnerWindowController::pause() {
    if (!rdPlayer_) return;
    isPlaying_ = false;
    rdPlayer_->pause();
    removeTimer();
}

void JoinnerWindowController::stop() {
    if (!rdPlayer_) return;
    isPlaying_ = false;
    rdPlayer_->stop();
    removeTimer();
}

void JoinnerWindowController::showPlayPictures(bool playing) {
    setButtonPictures(playBtn_, playing && !isPlaySelected_ ? QStringLiteral("ZantImage/GifMaker/btnPause")
                                                             : QStringLiteral("ZantImage/GifMaker/btnPlay"));
    setButtonPictures(playSelectBtn_, playing && isPlaySelected_ ? QStringLiteral("ZantImage/GifMaker/btnPause")
                                                                  : QStringLiteral("ZantImage/Join/btnPlayRange"));
}

void JoinnerWindowController::playToggle() {
    if (!rdPlayer_) return;
    isPlaySelected_ = false;
    if (isPlaying_) {
        pause();
        playSelectBtn_->setEnabled(true);
        stopBtn_->setEnabled(false);
    } else {
        play();
        playSelectBtn_->setEnabled(false);
        stopBtn_->setEnabled(true);
    }
    showPlayPictures(isPlaying_);
}

void JoinnerWindowController::rangePlayToggle() {
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (!rdPlayer_ || !clip) return;
    if (isPlaying_) {
        isPlaySelected_ = false;
        pause();
        playBtn_->setEnabled(true);
        stopBtn_->setEnabled(false);
    } else {
        const double now = currentSeconds();
        if (now < clip->cutTimeRange_start / 1000000.0 || now >= clip->cutTimeRange_stop / 1000000.0) {
            seekTo(clip->cutTimeRange_start / 1000000.0);
            cutProgressView_->setProgress(cutProgressView_->lowerValue());
        }
        isPlaySelected_ = true;
        play();
        playBtn_->setEnabled(false);
        stopBtn_->setEnabled(true);
    }
    showPlayPictures(isPlaying_);
}

void JoinnerWindowController::stopAction() {
    stop();
    isPlaySelected_ = false;
    playBtn_->setEnabled(true);
    playSelectBtn_->setEnabled(true);
    stopBtn_->setEnabled(false);
    showPlayPictures(false);
}

void JoinnerWindowController::changePlayerSlider() {
    const double c = currentSeconds(), d = previewDuration();
    if (d <= 0) return;
    cutProgressView_->setProgress(float(c / d));
    leftTimeLabel_->setText(timeText(c));
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (isPlaySelected_ && clip && c >= clip->cutTimeRange_stop / 1000000.0) stopAction();
}

// ---- Cut range ----

void JoinnerWindowController::actionMouseDownForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float) {
    if (view != cutProgressView_) return;
    if (isPlaying_) pause();
    else changePlayerSlider();
}

void JoinnerWindowController::actionSeekToTimeForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float progress) {
    if (view != cutProgressView_) return;
    seekTo(progress * previewDuration());
    leftTimeLabel_->setText(timeText(progress * previewDuration()));
}

void JoinnerWindowController::actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float startvalue,
                                                                      float stopvalue, int64_t handleType) {
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (view != cutProgressView_ || !clip) return;
    const double d = clipDuration(*clip);
    // The handles stop a hundredth of a second apart: the bar never leaves a range that typing
    // would refuse (and a join would drop).
    const bool startDragged = handleType != kestrel::widgets::RDCutProgressView::kRightHandle;
    const kestrel::tools::shared::DraggedRange range = kestrel::tools::shared::keepHandlesApart(
        toMicroseconds(startvalue * d), toMicroseconds(stopvalue * d), toMicroseconds(d), kMinRangeUs, startDragged);
    clip->cutTimeRange_start = range.start_us;
    clip->cutTimeRange_stop = range.stop_us;
    const double start = range.start_us / 1000000.0, stop = range.stop_us / 1000000.0;
    if (range.corrected && d > 0) cutProgressView_->setLowerValue(float(start / d), float(stop / d));
    if (handleType == kestrel::widgets::RDCutProgressView::kLeftHandle) {
        seekTo(start);
        fillFields(startFields_, start);
    } else if (handleType == kestrel::widgets::RDCutProgressView::kRightHandle) {
        seekTo(stop);
        fillFields(stopFields_, stop);
    }
    cutDurationValueLabel_->setText(timeText((clip->cutTimeRange_stop - clip->cutTimeRange_start) / 1000000.0));
}

void JoinnerWindowController::actionMouseUpForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float progress) {
    if (view != cutProgressView_) return;
    isPlaySelected_ = false;
    showPlayPictures(false);
    playBtn_->setEnabled(true);
    playSelectBtn_->setEnabled(true);
    stopBtn_->setEnabled(false);
    seekTo(progress * previewDuration());
    refreshList();
}

void JoinnerWindowController::setStartTrimBtnTouchUp() {
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (!clip) return;
    const double t = currentSeconds();
    clip->cutTimeRange_start = toMicroseconds(t);
    // A start past the end moves the end to the end of the clip.
    if (clip->cutTimeRange_start >= clip->cutTimeRange_stop) clip->cutTimeRange_stop = toMicroseconds(clipDuration(*clip));
    showRange(*clip);
    refreshList();
}

void JoinnerWindowController::setStopTrimBtnTouchUp() {
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (!clip) return;
    const double t = currentSeconds();
    if (t <= 0) return;
    clip->cutTimeRange_stop = toMicroseconds(t);
    if (clip->cutTimeRange_start >= clip->cutTimeRange_stop) clip->cutTimeRange_start = 0;
    showRange(*clip);
    refreshList();
}

void JoinnerWindowController::selectCurrentTimeRadioAction() {
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (!clip) return;
    clip->isTrimFanxuan = false;
    selectTimeBtn_->setSelected(true);
    unSelectTimeBtn_->setSelected(false);
    cutProgressView_->setIsFanxuan(false);
    refreshList();
}

void JoinnerWindowController::unSelectCurrentTimeRadioAction() {
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (!clip) return;
    clip->isTrimFanxuan = true;
    selectTimeBtn_->setSelected(false);
    unSelectTimeBtn_->setSelected(true);
    cutProgressView_->setIsFanxuan(true);
    refreshList();
}

void JoinnerWindowController::resetCutterAction() {
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (!clip) return;
    clip->cutTimeRange_start = 0;
    clip->cutTimeRange_stop = toMicroseconds(clipDuration(*clip));
    clip->isTrimFanxuan = false;
    selectCurrentTimeRadioAction();
    showRange(*clip);
    seekTo(0);
    refreshList();
}

void JoinnerWindowController::applytoallAction() {
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (!clip) return;
    applyRangeToAll(fileList_, clip, clip->cutTimeRange_start / 1000000.0, clip->cutTimeRange_stop / 1000000.0);
    refreshList();
}

kestrel::widgets::RDTextField* JoinnerWindowController::editingTimeField() const {
    for (auto* f : startFields_)
        if (f->hasFocus()) return f;
    for (auto* f : stopFields_)
        if (f->hasFocus()) return f;
    return edittingField_;
}

void JoinnerWindowController::actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) {
    if (!isStartField(field) && !isStopField(field)) return;
    edittingField_ = field;
    // The steppers of the clicked field's box take over.
    const bool start = isStartField(field);
    const bool editable = selectedClip() != nullptr && !job_;
    steppers_[0]->setEnabled(editable && start);
    steppers_[1]->setEnabled(editable && start);
    steppers_[2]->setEnabled(editable && !start);
    steppers_[3]->setEnabled(editable && !start);
}

void JoinnerWindowController::stepTimeField(bool startBox, int delta) {
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (!clip) return;
    const auto& box = startBox ? startFields_ : stopFields_;
    kestrel::widgets::RDTextField* field =
        edittingField_ && (startBox ? isStartField(edittingField_) : isStopField(edittingField_)) ? edittingField_ : box[2];
    const int before = fieldValue(field->text());
    const int limit = field == box[3] ? 99 : 999;
    const int after = std::clamp(before + delta, 0, limit);
    if (after == before) return;
    field->setText(fieldText(after));
    const double d = clipDuration(*clip);
    const double s = fieldsTime(startFields_), e = fieldsTime(stopFields_);
    if ((startBox ? checkStart(s, e) : checkEnd(s, e, d)) != RangeProblem::None) {
        field->setText(fieldText(before));  // one step back: the range stays valid
        return;
    }
    clip->cutTimeRange_start = toMicroseconds(s);
    clip->cutTimeRange_stop = toMicroseconds(e);
    cutProgressView_->setLowerValue(float(s / d), float(e / d));
    cutDurationValueLabel_->setText(timeText(e - s));
    seekTo(startBox ? s : e);
    refreshList();
}

void JoinnerWindowController::controlTextDidChange(kestrel::widgets::RDTextField* field) {
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (!clip || !(isStartField(field) || isStopField(field))) return;
    edittingField_ = field;
    const double d = clipDuration(*clip);
    const double s = fieldsTime(startFields_), e = fieldsTime(stopFields_);
    // While typing, only a valid range is taken; nothing is said about the others yet.
    if (isStartField(field) ? checkStart(s, e) != RangeProblem::None : checkEnd(s, e, d) != RangeProblem::None) return;
    clip->cutTimeRange_start = toMicroseconds(s);
    clip->cutTimeRange_stop = toMicroseconds(e);
    cutProgressView_->setLowerValue(float(s / d), float(e / d));
    seekTo(isStartField(field) ? s : e);
    cutDurationValueLabel_->setText(timeText(e - s));
}

bool JoinnerWindowController::commitTimeField(kestrel::widgets::RDTextField* field) {
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (committing_ || !clip || !field || !(isStartField(field) || isStopField(field))) return true;
    const double d = clipDuration(*clip);
    const double s = fieldsTime(startFields_), e = fieldsTime(stopFields_);
    const RangeProblem problem = isStartField(field) ? checkStart(s, e) : checkEnd(s, e, d);
    if (problem != RangeProblem::None) {
        committing_ = true;
        showSimpleAlert(services::Language::localizedStringForKey(problemKey(problem)), kPlainAlert);
        // The clip keeps its last valid range; the field stays in edit to be corrected.
        field->setFocus();
        field->selectAll();
        committing_ = false;
        return false;
    }
    clip->cutTimeRange_start = toMicroseconds(s);
    clip->cutTimeRange_stop = toMicroseconds(e);
    edittingField_ = nullptr;
    showRange(*clip);
    refreshList();
    return true;
}

QString JoinnerWindowController::actionCarameraBtn() {
    if (!rdPlayer_) return {};
    const auto failed = [this] {
        showSimpleAlert(services::localized(QStringLiteral("SnapshotFailedMessage")) + QLatin1Char('\n') + outputPath_, kPlainAlert);
        return QString();
    };
    int32_t w = rdPlayer_->frameWidth(), h = rdPlayer_->frameHeight();
    if (w <= 0 || h <= 0) return failed();
    std::vector<uint8_t> buffer(size_t(w) * size_t(h) * 4, 0);
    const int32_t askedW = w, askedH = h;
    if (rdPlayer_->Snapshot(&w, &h, buffer.data()) < 1 || w <= 0 || h <= 0 || w > askedW || h > askedH) return failed();
    const QImage image = QImage(buffer.data(), w, h, w * 4, QImage::Format_ARGB32_Premultiplied).copy();
    if (outputPath_.isEmpty() || !QDir().mkpath(outputPath_)) return failed();
    const char* format = coverStyle_ == QLatin1String("bmp") ? "BMP" : coverStyle_ == QLatin1String("jpg") ? "JPEG" : "PNG";
    const QString ext = coverStyle_ == QLatin1String("bmp") || coverStyle_ == QLatin1String("jpg") ? coverStyle_ : QStringLiteral("png");
    // A second snapshot in the same second gets a new name; a picture is written whole or not at all.
    const QString path = services::uniqueOutputPath(outputPath_, services::HelpClass::createFilename(), ext);
    const QImage saved = ext == QLatin1String("png") ? image : image.convertToFormat(QImage::Format_RGB32);
    if (!platform::saveImageAtomically(saved, path, format)) return failed();
    if (shutterSound_) shutterSound_->play();
    return path;
}

// ---- Volume ----

void JoinnerWindowController::actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) {
    const kestrel::model::SimpleDataPtr clip = selectedClip();
    if (slider != volumeSlider_ || !clip) return;
    // The clip's own volume, 0 to 2, kept as a fraction all the way to the join.
    clip->volume = std::clamp(2.0 * progress, 0.0, 2.0);
    volumeValueLabel_->setText(volumeText(clip->volume));
    if (rdPlayer_ && !muted_) rdPlayer_->SetVolume(clip->volume);
}

void JoinnerWindowController::actionMouseUpForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) {
    actionProgressForProgressSliderBlock(slider, progress);
}

}  // namespace kestrel::tools::joiner

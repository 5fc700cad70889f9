#include "editor/music/music_panel.h"

#include <QFileDialog>
#include <QFontMetricsF>
#include <array>
#include <cmath>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "engine/player/DIVuverIzizud.h"
#include "services/language.h"
#include "session/edit/music_mix.h"
#include "session/edit/music_timing.h"
#include "session/media/first_frame.h"

namespace kestrel::editor {

using kestrel::session::millisecondTexts;
using kestrel::session::secondsFromMillisecondTexts;
using kestrel::session::steppedMusicFieldValue;
using kestrel::session::newMusicInfo;
using kestrel::session::applySpanRule;
using kestrel::session::setPositionLength;
using kestrel::session::setPruneLength;
using kestrel::session::setPruneStartAt;
using kestrel::session::setPruneEndAt;
using kestrel::session::soundLengthSeconds;

using services::localized;

namespace {

const QStringList kMusicTypes = {"mov", "qt",  "mp4", "m4v", "flv", "ts",   "m2ts", "mts", "mkv",  "mka",
                                 "mpg", "mpeg", "mpa", "m2v", "mpv", "dat",  "avi",  "divx", "3gp", "3g2",
                                 "mxf", "tp",  "trp", "nut", "h261", "h264", "mod",  "tod", "wmv",  "mp3",
                                 "mp2", "m4a", "m4r", "flac", "wav", "wma",  "ogg",  "aac", "ac3"};


}  // namespace

MusicPanel::MusicPanel(QWidget* parent) : QWidget(parent) {
    audioTimer_.setInterval(100);
    QObject::connect(&audioTimer_, &QTimer::timeout, this, [this] { changeMusicPlayerSlider(); });
    buildUi();
    changelanguage();
    refreshMusicTimeField(-1);
    enableMusicEdit(false);
    removeOriginalmusicBtn_->setEnabled(false);
}

MusicPanel::~MusicPanel() {
    // A field that loses the focus while the panel goes hands nothing over to it.
    for (QLineEdit* field : findChildren<QLineEdit*>()) field->disconnect(this);
    audioTimer_.stop();
    // The music preview goes first, so its end-of-play block can no longer reach this panel.
    if (rdmusicPlayer_) rdmusicPlayer_->setPlayerDidEndBlock({});
    rdmusicPlayer_.reset();
    musicRangSlider_->setDelegate(nullptr);
    pruneRangSlider_->setDelegate(nullptr);
}

void MusicPanel::buildUi() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);
    auto titled = [&](const QString& key, QWidget* parent) {
        QLabel* label = panel::makeLabel(parent);
        label->setProperty("key", key);
        titledLabels_.append(label);
        return label;
    };

    auto* addRow = new QHBoxLayout;
    loadmusicBtn_ = panel::makeTextButton(this, "ZantImage/Cut/btnCommonBlack", [this](auto*) { loadMusicAction(); });
    deletedMusicBtn_ = panel::makePictureButton(this, "ZantImage/SubFun/btnDeleteWaterMark_Normal.png", [this](auto*) { deleteMusic(); });
    addRow->addWidget(titled("Add to Timeline:", this));
    addRow->addWidget(loadmusicBtn_);
    addRow->addStretch();
    addRow->addWidget(deletedMusicBtn_);
    column->addLayout(addRow);

    listLayout_ = panel::makeListArea(this, 100, column);

    column->addWidget(titled("SetthemusicpositionString", this));
    musicRangSlider_ = new kestrel::widgets::MusicRangeSlider(QRectF(0, 0, 260, 30), this);
    musicRangSlider_->setFixedHeight(30);
    musicRangSlider_->setDelegate(this);
    column->addWidget(musicRangSlider_);

    auto addRowFields = [&](TimeRow row, QWidget* host, QGridLayout* into, int at, const QString& key) {
        rows_[row] = panel::makeTimeGroup(host, this);
        into->addWidget(titled(key, host), at, 0);
        into->addWidget(rows_[row].box, at, 1);
        steppers_[row][0] = panel::makeStepperButton(host, true, [this, row](auto*) { stepRow(row, +1); });
        steppers_[row][1] = panel::makeStepperButton(host, false, [this, row](auto*) { stepRow(row, -1); });
        into->addWidget(steppers_[row][0], at, 2);
        into->addWidget(steppers_[row][1], at, 3);
        // A typed time is taken when its field is left or Return is pressed, once.
        for (size_t i = 0; i < 4; ++i)
            QObject::connect(rows_[row].fields[i], &QLineEdit::editingFinished, this, [this, row] { readRow(row); });
    };
    auto* positionGrid = new QGridLayout;
    addRowFields(kPositionStart, this, positionGrid, 0, "StartFieldLabelstringValue");
    addRowFields(kPositionLength, this, positionGrid, 1, "LengthFieldLabelstringValue");
    column->addLayout(positionGrid);

    pruneMusicBtn_ = panel::makeCheckBox(this, [this](auto*) { togglePrune(); });
    column->addWidget(pruneMusicBtn_);
    pruneContentView_ = new QWidget(this);
    auto* pruneColumn = new QVBoxLayout(pruneContentView_);
    pruneColumn->setContentsMargins(0, 0, 0, 0);
    pruneRangSlider_ = new kestrel::widgets::RDCutProgressView(QRectF(0, 0, 260, 30), pruneContentView_);
    pruneRangSlider_->setIsNew(true);
    pruneRangSlider_->setFixedHeight(30);
    pruneRangSlider_->setLowerValue(0, 1);
    pruneRangSlider_->setDelegate(this);
    pruneColumn->addWidget(pruneRangSlider_);
    auto* pruneGrid = new QGridLayout;
    addRowFields(kPruneStart, pruneContentView_, pruneGrid, 0, "StartFieldLabelstringValue");
    addRowFields(kPruneLength, pruneContentView_, pruneGrid, 1, "LengthFieldLabelstringValue");
    pruneColumn->addLayout(pruneGrid);
    auto* pruneTransport = new QHBoxLayout;
    playPruneMusicBtn_ = panel::makePictureButton(pruneContentView_, "ZantImage/GifMaker/btnPlay_Normal@2x.png", [this](auto*) { playPrune(); });
    stopPruneMusicBtn_ = panel::makePictureButton(pruneContentView_, "ZantImage/GifMaker/btnStop_Normal@2x.png", [this](auto*) { stopAudio(); });
    pruneMusicLeftBtn_ = panel::makePictureButton(pruneContentView_, "ZantImage/Join/btnSetStart_Normal@2x.png", [this](auto*) {
        kestrel::model::MusicInfo* info = selectedInfo();
        if (!info || !rdmusicPlayer_) return;
        setPruneStartAt(*info, rdmusicPlayer_->currentTime().seconds(), musicDuration());
        refreshMusicTimeField(selectedMusicIndex_);
        updateMusicSlider();
    });
    pruneMusicRightBtn_ = panel::makePictureButton(pruneContentView_, "ZantImage/Join/btnSetEnd_Normal@2x.png", [this](auto*) {
        kestrel::model::MusicInfo* info = selectedInfo();
        if (!info || !rdmusicPlayer_) return;
        setPruneEndAt(*info, rdmusicPlayer_->currentTime().seconds(), videoDuration());
        refreshMusicTimeField(selectedMusicIndex_);
        updateMusicSlider();
    });
    stopPruneMusicBtn_->setEnabled(false);
    for (auto* b : {playPruneMusicBtn_, stopPruneMusicBtn_, pruneMusicLeftBtn_, pruneMusicRightBtn_}) pruneTransport->addWidget(b);
    pruneTransport->addStretch();
    pruneColumn->addLayout(pruneTransport);
    column->addWidget(pruneContentView_);

    auto* toggles = new QHBoxLayout;
    fadeInBtn_ = panel::makeCheckBox(this, [this](auto*) { toggleFadeIn(); });
    fadeOutBtn_ = panel::makeCheckBox(this, [this](auto*) { toggleFadeOut(); });
    repeatMusicBtn_ = panel::makeCheckBox(this, [this](auto*) { toggleRepeat(); });
    for (auto* b : {fadeInBtn_, fadeOutBtn_, repeatMusicBtn_}) toggles->addWidget(b);
    column->addLayout(toggles);

    auto* itemRow = new QHBoxLayout;
    musicItemPlayPauseBtn_ = panel::makePictureButton(this, "ZantImage/GifMaker/btnPlay_Normal@2x.png", [this](auto*) { playOrPauseAudio(); });
    musicItemStopBtn_ = panel::makePictureButton(this, "ZantImage/GifMaker/btnStop_Normal@2x.png", [this](auto*) { stopAudio(); });
    musicItemStopBtn_->setEnabled(false);
    musicItemVolueBtn_ = panel::makePictureButton(this, "ZantImage/Reverse/btnOpenVolume_Normal@2x.png", [this](kestrel::widgets::ZorButton* b) {
        if (!hasSelection()) return;
        // Unmuting gives back the level the user had, not a fixed one.
        if (b->selected()) {
            setItemVolume(volumeBeforeMute_ > 0 ? volumeBeforeMute_ : 1.0f);
        } else {
            volumeBeforeMute_ = musicList_[selectedMusicIndex_].volume;
            setItemVolume(0.0f);
        }
    });
    musicItemVolueSlider_ = new kestrel::widgets::VolumeProgressSlider(QRectF(0, 0, 110, 20), this);
    musicItemVolueSlider_->setFixedSize(110, 20);
    musicItemVolueSlider_->setDelegate(this);
    musicItemVoluelabel_ = panel::makeLabel(this, "100%");
    for (QWidget* w : std::initializer_list<QWidget*>{musicItemPlayPauseBtn_, musicItemStopBtn_, musicItemVolueBtn_,
                                                      musicItemVolueSlider_, musicItemVoluelabel_})
        itemRow->addWidget(w);
    column->addLayout(itemRow);

    column->addWidget(titled("videooriginalsoundLabelstringValue", this));
    auto* originalRow = new QHBoxLayout;
    removeOriginalmusicBtn_ = panel::makeCheckBox(this, [this](auto*) { toggleRemoveOriginal(); });
    // The mute of the video's own sound, beside its level; unmuting gives back the level it had.
    originalVolumeBtn_ = panel::makePictureButton(this, "ZantImage/Reverse/btnOpenVolume_Normal@2x.png",
                                                  [this](auto*) { toggleOriginalMute(); });
    originalVolumeSlider_ = new kestrel::widgets::VolumeProgressSlider(QRectF(0, 0, 110, 20), this);
    originalVolumeSlider_->setFixedSize(110, 20);
    originalVolumeSlider_->setProgress(1.0f);
    originalVolumeSlider_->setDelegate(this);
    // A muted sound shows the closed speaker.
    for (kestrel::widgets::ZorButton* mute : {musicItemVolueBtn_, originalVolumeBtn_})
        mute->setSelectedImage(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Reverse/btnCloseVolume_Normal@2x.png")));
    originalRow->addWidget(removeOriginalmusicBtn_);
    originalRow->addWidget(originalVolumeBtn_);
    originalRow->addWidget(originalVolumeSlider_);
    column->addLayout(originalRow);
    column->addStretch();
}

void MusicPanel::changelanguage() {
    loadmusicBtn_->setContentTitle(localized("LocalMusicTitle"));
    panel::setCheckBoxTitle(fadeInBtn_, localized("Fade In"));
    panel::setCheckBoxTitle(fadeOutBtn_, localized("Fade Out"));
    panel::setCheckBoxTitle(repeatMusicBtn_, localized("RepeatMusic"));
    panel::setCheckBoxTitle(pruneMusicBtn_, localized("Track Trimming"));
    panel::setCheckBoxTitle(removeOriginalmusicBtn_, localized("Remove Original Music"));
    for (QLabel* label : titledLabels_) label->setText(localized(label->property("key").toString()));
    fitToggleRow();
}

void MusicPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitToggleRow();
}

void MusicPanel::fitToggleRow() {
    constexpr int kPoints = 13, kFloorPoints = 9, kMargins = 16, kGap = 6;
    const std::array<kestrel::widgets::ZorButton*, 3> row{fadeInBtn_, fadeOutBtn_, repeatMusicBtn_};
    const int room = width() - kMargins - kGap * int(row.size() - 1);
    const auto neededAt = [](kestrel::widgets::ZorButton* button, int points) {
        QFont font = button->font();
        font.setPointSize(points);
        const double picture = button->layoutInput().picture.width();
        return int(std::ceil(picture + QFontMetricsF(font).horizontalAdvance(button->contentTitle()))) + 2;
    };
    int points = kPoints;
    for (; points > kFloorPoints; --points) {
        int needed = 0;
        for (auto* button : row) needed += neededAt(button, points);
        if (needed <= room) break;
    }
    for (auto* button : row) {
        QFont font = button->font();
        font.setPointSize(points);
        button->setFont(font);
        button->setMinimumWidth(neededAt(button, points));
    }
}

void MusicPanel::setPlayer(kestrel::player::DIVuverIzizud* player, kestrel::model::SimpleDataPtr fileData) {
    player_ = player;
    fileData_ = std::move(fileData);
    removeOriginalmusicBtn_->setEnabled(player_ != nullptr);
    enableMusicEdit(!musicList_.isEmpty());
}

double MusicPanel::videoDuration() const {
    if (player_) return player_->duration().seconds();
    return fileData_ ? fileData_->sourceData.duration : 0;
}

double MusicPanel::musicDuration() const {
    if (rdmusicPlayer_) return rdmusicPlayer_->duration().seconds();
    return hasSelection() ? musicList_[selectedMusicIndex_].musicDuration : 0;
}

bool MusicPanel::removeOriginalMusic() const { return removeOriginalmusicBtn_->selected(); }

double MusicPanel::originalVolume() const { return originalVolumeSlider_->progress(); }

// ---- the list ------------------------------------------------------------------------------

void MusicPanel::reloadData() {
    for (auto* item : items_) item->deleteLater();
    items_.clear();
    for (int i = 0; i < musicList_.size(); ++i) {
        auto* item = new MusicCollectionViewItem(listLayout_->parentWidget());
        item->setViewTag(i);
        item->setMDelegate(this);
        item->setItem(musicList_[i]);
        listLayout_->insertWidget(i, item);
        items_.append(item);
    }
}

void MusicPanel::pauseVideoPreview() {
    if (!player_ || player_->playerStatus() != 1) return;
    if (pauseVideoPreview_) pauseVideoPreview_();
    else player_->pause();
}

void MusicPanel::loadMusicAction() {
    pauseVideoPreview();
    const QStringList chosen = panel::runOpenPanel(window(), QString(), kMusicTypes);
    if (chosen.isEmpty()) return;
    const QStringList refused = addMusicFiles(chosen);
    if (!refused.isEmpty()) panel::showAlert(this, alertPresenter_, localized("musicNoSoundMessage").arg(refused.join(", ")));
}

QStringList MusicPanel::addMusicFiles(const QStringList& paths) {
    QStringList refused;
    const double V = videoDuration();
    const double now = player_ ? player_->currentTime().seconds() : 0;
    bool added = false;
    for (const QString& path : paths) {
        const double length = soundLengthSeconds(path);
        if (length <= 0) {
            refused.append(QFileInfo(path).fileName());
            continue;
        }
        musicList_.prepend(newMusicInfo(path, length, V, now));
        added = true;
    }
    if (!added) return refused;
    for (kestrel::model::MusicInfo& info : musicList_) info.selected = false;
    selectedMusicIndex_ = 0;
    musicList_[0].selected = true;
    reloadData();
    enableMusicEdit(true);
    selectMusic(0);
    return refused;
}

void MusicPanel::selectMusic(int index) {
    if (index < 0 || index >= musicList_.size()) return;
    for (int i = 0; i < musicList_.size(); ++i) musicList_[i].selected = i == index;
    selectedMusicIndex_ = index;
    for (int i = 0; i < items_.size(); ++i) items_[i]->setItem(musicList_[i]);
    kestrel::model::MusicInfo& info = musicList_[index];
    repeatMusicBtn_->setSelected(info.repeat);
    fadeInBtn_->setSelected(info.fadeIn);
    fadeOutBtn_->setSelected(info.fadeOut);
    pruneMusicBtn_->setEnabled(true);
    initmusicPlayer(info.path);
    updateMusicSlider();
    refreshMusicTimeField(index);
}

void MusicPanel::checkMusic(int index) {
    if (index < 0 || index >= musicList_.size()) return;
    musicList_[index].isCheck = !musicList_[index].isCheck;
    items_[index]->setItem(musicList_[index]);
    addDubbingWithPlayer();
}

void MusicPanel::selectMusicCollectionViewItem(MusicCollectionViewItem* item) {
    if (item->isCheck()) return checkMusic(item->viewTag());
    selectMusic(item->viewTag());
}

void MusicPanel::checkMusicCollectionViewItem(MusicCollectionViewItem* item) { checkMusic(item->viewTag()); }

void MusicPanel::deleteMusic() {
    if (!hasSelection()) return;
    stopAudio();
    musicList_.removeAt(selectedMusicIndex_);
    // The first item, if any, becomes the selected one, so the panel, the flags and the index agree.
    selectedMusicIndex_ = musicList_.isEmpty() ? -1 : 0;
    reloadData();
    if (musicList_.isEmpty()) showEmptyList();
    else selectMusic(0);
    addDubbingWithPlayer();
}

void MusicPanel::removeAllMusic() {
    stopAudio();
    musicList_.clear();
    selectedMusicIndex_ = -1;
    reloadData();
    showEmptyList();
}

void MusicPanel::showEmptyList() {
    if (rdmusicPlayer_) rdmusicPlayer_->setPlayerDidEndBlock({});
    rdmusicPlayer_.reset();
    refreshMusicTimeField(-1);
    musicRangSlider_->setVideoRangeLowerValue(0, 1);
    musicRangSlider_->setMusicRangeLowerValue(0, 0);
    enableMusicEdit(false);
    removeOriginalmusicBtn_->setEnabled(player_ != nullptr);
}

// ---- toggles ---------------------------------------------------------------------------------

void MusicPanel::toggleFadeIn() {
    if (kestrel::model::MusicInfo* info = selectedInfo()) fadeInBtn_->setSelected(info->fadeIn = !fadeInBtn_->selected());
}

void MusicPanel::toggleFadeOut() {
    if (kestrel::model::MusicInfo* info = selectedInfo()) fadeOutBtn_->setSelected(info->fadeOut = !fadeOutBtn_->selected());
}

void MusicPanel::toggleRepeat() {
    kestrel::model::MusicInfo* info = selectedInfo();
    if (!info) return;
    repeatMusicBtn_->setSelected(info->repeat = !repeatMusicBtn_->selected());
    musicRangSlider_->setIsRepeat(info->repeat);
}

void MusicPanel::togglePrune() {
    kestrel::model::MusicInfo* info = selectedInfo();
    if (!info || !pruneMusicBtn_->isEnabled()) return;
    pruneMusicBtn_->setSelected(info->prune = !pruneMusicBtn_->selected());
    pruneContentView_->setVisible(info->prune);
}

void MusicPanel::toggleRemoveOriginal() {
    removeOriginalmusicBtn_->setSelected(!removeOriginalmusicBtn_->selected());
    applyPreview(kestrel::session::kPreviewSound);
}

void MusicPanel::setItemVolume(float volume) {
    kestrel::model::MusicInfo* info = selectedInfo();
    if (!info) return;
    info->volume = std::clamp(volume, 0.0f, 1.0f);
    musicItemVolueBtn_->setSelected(info->volume == 0);
    musicItemVolueSlider_->setProgress(info->volume);
    musicItemVoluelabel_->setText(QString::asprintf("%.f", info->volume * 100.0) + "%");
}

void MusicPanel::actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) {
    if (slider == musicItemVolueSlider_) setItemVolume(progress);
    else if (slider == originalVolumeSlider_) {
        originalVolumeBtn_->setSelected(progress <= 0);
        applyPreview(kestrel::session::kPreviewSound);
    }
}

void MusicPanel::toggleOriginalMute() {
    const float level = originalVolumeSlider_->progress();
    if (level > 0) {
        originalVolumeBeforeMute_ = level;
        originalVolumeSlider_->setProgress(0.0f);
    } else {
        originalVolumeSlider_->setProgress(originalVolumeBeforeMute_ > 0 ? originalVolumeBeforeMute_ : 1.0f);
    }
    originalVolumeBtn_->setSelected(originalVolumeSlider_->progress() <= 0);
    applyPreview(kestrel::session::kPreviewSound);
}

// ---- time rows and bars ----------------------------------------------------------------------

void MusicPanel::writeRows(const kestrel::model::MusicInfo& info) {
    rows_[kPositionStart].setTexts(millisecondTexts(info.positionStart));
    rows_[kPositionLength].setTexts(millisecondTexts(double(info.positionEnd) - info.positionStart));
    rows_[kPruneStart].setTexts(millisecondTexts(info.pruneStart));
    rows_[kPruneLength].setTexts(millisecondTexts(info.pruneDuration));
}

void MusicPanel::refreshMusicTimeField(int index) {
    if (index < 0 || index >= musicList_.size()) {
        musicRangSlider_->setMusicRangeLowerValue(0, 0);
        for (auto* b : {fadeInBtn_, fadeOutBtn_, pruneMusicBtn_, musicItemVolueBtn_, repeatMusicBtn_}) b->setSelected(false);
        musicItemPlayPauseBtn_->setEnabled(false);
        pruneContentView_->setVisible(false);
        musicItemVolueSlider_->setProgress(1.0f);
        musicItemVoluelabel_->setText("100%");
        return;
    }
    const kestrel::model::MusicInfo& info = musicList_[index];
    writeRows(info);
    fadeInBtn_->setSelected(info.fadeIn);
    fadeOutBtn_->setSelected(info.fadeOut);
    pruneMusicBtn_->setSelected(info.prune);
    repeatMusicBtn_->setSelected(info.repeat);
    musicItemVolueBtn_->setSelected(info.volume == 0);
    pruneContentView_->setVisible(info.prune);
    musicItemVolueSlider_->setProgress(info.volume);
    musicItemVoluelabel_->setText(QString::asprintf("%.f", info.volume * 100.0) + "%");
}

void MusicPanel::updateMusicSlider() {
    kestrel::model::MusicInfo* info = selectedInfo();
    if (!info) return;
    applySpanRule(*info);
    const double V = videoDuration(), M = musicDuration();
    if (V > 0) {
        musicRangSlider_->setVideoRangeLowerValue(static_cast<float>(info->positionStart / V),
                                                  static_cast<float>(info->positionEnd / V));
        musicRangSlider_->setMusicRangeLowerValue(static_cast<float>(info->positionStart / V),
                                                  static_cast<float>(info->pruneDuration / V));
    }
    musicRangSlider_->setIsRepeat(info->repeat);
    if (M > 0)
        pruneRangSlider_->setLowerValue(static_cast<float>(info->pruneStart / M),
                                        static_cast<float>((info->pruneStart + info->pruneDuration) / M));
}

bool MusicPanel::storeRow(TimeRow row) {
    kestrel::model::MusicInfo* info = selectedInfo();
    if (!info) return false;
    const auto& f = rows_[row].fields;
    const double t = secondsFromMillisecondTexts(f[0]->text(), f[1]->text(), f[2]->text(), f[3]->text());
    const double V = videoDuration();
    switch (row) {
    case kPositionStart: {
        if (t > V) return false;  // past the video's end: ignored
        const double length = double(info->positionEnd) - info->positionStart;
        info->positionStart = static_cast<float>(std::clamp(t, 0.0, V));
        info->positionEnd = static_cast<float>(std::min(V, info->positionStart + length));
        applySpanRule(*info);
        break;
    }
    case kPositionLength:
        if (t <= 0) return false;
        setPositionLength(*info, t, V);
        break;
    case kPruneStart:
        if (t >= info->musicDuration) return false;  // past the music's end: ignored
        info->pruneStart = static_cast<float>(std::clamp(t, 0.0, double(info->musicDuration)));
        setPruneLength(*info, info->pruneDuration);
        break;
    case kPruneLength:
        if (t <= 0) {
            // Nothing of the music would be used: refused, and the length stays.
            panel::showAlert(this, alertPresenter_, localized("showmessageTime6"));
            return false;
        }
        setPruneLength(*info, t);
        break;
    }
    return true;
}

void MusicPanel::readRow(TimeRow row) {
    storeRow(row);
    // The rows show what the item holds: a value pulled to its limit or ignored shows as kept.
    if (const kestrel::model::MusicInfo* info = selectedInfo()) writeRows(*info);
    updateMusicSlider();
}

void MusicPanel::stepRow(TimeRow row, int delta) {
    kestrel::widgets::RDTextField* field = editedFields_[row];
    if (!field || !hasSelection()) return;
    const bool ms = rows_[row].isFractionField(field);
    const int value = steppedMusicFieldValue(field->text().toInt(), delta, ms);
    field->setText(ms ? QString::asprintf("%03d", value) : QString::asprintf("%02d", value));
    storeRow(row);
    writeRows(musicList_[selectedMusicIndex_]);
    updateMusicSlider();
}

void MusicPanel::actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) {
    for (size_t r = 0; r < rows_.size(); ++r) {
        const bool inRow = rows_[r].contains(field);
        if (inRow) editedFields_[r] = field;
        for (auto* stepper : steppers_[r]) stepper->setEnabled(inRow && hasSelection());
    }
}

void MusicPanel::changeRangeValue(kestrel::widgets::MusicRangeSlider* slider) {
    kestrel::model::MusicInfo* info = selectedInfo();
    if (!info || slider != musicRangSlider_) return;
    kestrel::session::changeRangeValue(*info, slider->positionLeftValue(), slider->positionRightValue(), videoDuration());
    writeRows(*info);
    updateMusicSlider();
}

void MusicPanel::changeProgress(kestrel::widgets::MusicRangeSlider* slider) {
    if (player_) player_->seekTime(platform::MediaTime::fromSeconds(slider->progress() * videoDuration(), 1000000000));
}

void MusicPanel::actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float startvalue,
                                                         float stopvalue, int64_t) {
    kestrel::model::MusicInfo* info = selectedInfo();
    if (!info || view != pruneRangSlider_) return;
    const double M = musicDuration();
    info->pruneStart = static_cast<float>(startvalue * M);
    info->pruneDuration = static_cast<float>(std::max(0.0, (double(stopvalue) - startvalue) * M));
    applySpanRule(*info);
    writeRows(*info);
    const double V = videoDuration();
    if (V > 0)
        musicRangSlider_->setMusicRangeLowerValue(static_cast<float>(info->positionStart / V),
                                                  static_cast<float>(info->pruneDuration / V));
}

// ---- the music preview -------------------------------------------------------------------------

void MusicPanel::initmusicPlayer(const QString& path) {
    stopAudio();
    if (rdmusicPlayer_) rdmusicPlayer_->setPlayerDidEndBlock({});
    rdmusicPlayer_.reset();
    rdmusicPlayer_ = kestrel::player::DIVuverIzizud::initWithString(path.toStdString(), QRectF(0, 0, 20, 20));
    if (!rdmusicPlayer_) return;
    rdmusicPlayer_->setPlayerDidEndBlock([this] {
        audioTimer_.stop();
        isaudioplaying_ = false;
        playingPrune_ = false;
        panel::setPlayPictures(musicItemPlayPauseBtn_, false);
        panel::setPlayPictures(playPruneMusicBtn_, false);
        musicItemStopBtn_->setEnabled(false);
        stopPruneMusicBtn_->setEnabled(false);
    });
    rdmusicPlayer_->seekTime(platform::MediaTime::zero());
    pruneRangSlider_->setProgress(0);
    musicItemPlayPauseBtn_->setEnabled(true);
}

void MusicPanel::playOrPauseAudio() {
    if (!rdmusicPlayer_) return;
    isaudioplaying_ = !isaudioplaying_;
    // The two previews never sound at once.
    if (isaudioplaying_) pauseVideoPreview();
    if (isaudioplaying_) {
        rdmusicPlayer_->play();
        audioTimer_.start();
    } else {
        rdmusicPlayer_->pause();
        audioTimer_.stop();
        playingPrune_ = false;
    }
    panel::setPlayPictures(playingPrune_ ? playPruneMusicBtn_ : musicItemPlayPauseBtn_, isaudioplaying_);
    musicItemStopBtn_->setEnabled(isaudioplaying_ && !playingPrune_);
    stopPruneMusicBtn_->setEnabled(isaudioplaying_ && playingPrune_);
}

void MusicPanel::stopAudio() {
    if (rdmusicPlayer_ && isaudioplaying_) rdmusicPlayer_->pause();
    audioTimer_.stop();
    isaudioplaying_ = false;
    playingPrune_ = false;
    panel::setPlayPictures(musicItemPlayPauseBtn_, false);
    panel::setPlayPictures(playPruneMusicBtn_, false);
    musicItemStopBtn_->setEnabled(false);
    stopPruneMusicBtn_->setEnabled(false);
}

void MusicPanel::playPrune() {
    kestrel::model::MusicInfo* info = selectedInfo();
    if (!info || !rdmusicPlayer_) return;
    rdmusicPlayer_->seekTime(platform::MediaTime::fromSeconds(info->pruneStart, 1000000000));
    playingPrune_ = !isaudioplaying_;
    playOrPauseAudio();
}

void MusicPanel::changeMusicPlayerSlider() {
    if (!rdmusicPlayer_) return;
    const double now = rdmusicPlayer_->currentTime().seconds(), length = rdmusicPlayer_->duration().seconds();
    if (length > 0) pruneRangSlider_->setProgress(static_cast<float>(now / length));
    const kestrel::model::MusicInfo* info = selectedInfo();
    if (playingPrune_ && info && now > double(info->pruneStart) + info->pruneDuration) stopAudio();
}

void MusicPanel::videoWillPlay() {
    if (isaudioplaying_) stopAudio();
    addDubbingWithPlayer();
}

void MusicPanel::addDubbingWithPlayer() { applyPreview(kestrel::session::kPreviewMusic); }

void MusicPanel::applyPreview(unsigned parts) {
    if (!player_) return;
    if (previewApplier_) {
        previewApplier_(parts, {});
        return;
    }
    kestrel::session::EditState state;
    state.music = musicList_;
    state.removeOriginalSound = removeOriginalMusic();
    state.originalVolume = originalVolume();
    kestrel::session::applyToPreview(player_, state, fileData_ ? *fileData_ : kestrel::model::SimpleData{}, parts);
}

void MusicPanel::enableMusicEdit(bool flag) {
    musicRangSlider_->setEnable(flag);
    pruneRangSlider_->setDisable(!flag);
    musicItemVolueSlider_->setDisable(!flag);
    for (auto* b : {repeatMusicBtn_, pruneMusicBtn_, playPruneMusicBtn_, pruneMusicLeftBtn_, pruneMusicRightBtn_, fadeInBtn_,
                    fadeOutBtn_, musicItemPlayPauseBtn_, musicItemVolueBtn_, deletedMusicBtn_})
        b->setEnabled(flag);
    for (auto& row : rows_) row.setEnabled(flag);
    removeOriginalmusicBtn_->setEnabled(true);
    originalVolumeBtn_->setEnabled(true);
}

}  // namespace kestrel::editor

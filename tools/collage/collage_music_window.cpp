#include "tools/collage/collage_music_window.h"

#include "platform/notification_center.h"
#include "services/help_class.h"
#include "services/language.h"
#include "tools/collage/trim_player.h"
#include "tools/shared/handle_gap.h"
#include "tools/shared/kit_controls.h"
#include "tools/shared/time_field_group.h"
#include "widgets/tool_window.h"
#include "widgets/zor_button.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace kestrel::tools::collage {

namespace {

using services::localized;
using widgets::ZorButton;

constexpr int kBarWidth = 640;
// The used part is never shorter than a tenth of a second.
constexpr int64_t kShortestUs = 100'000;
// Set start and set end keep the ends this share of the file apart.
constexpr double kSetMargin = 0.02;

QString timeText(int64_t time_us) { return services::HelpClass::returnTimeToStr(double(time_us) / 1e6); }

ZorButton* transportButton(QWidget* parent, const char* stem, const char* suffix, const char* name) {
    return shared::pictureButton(parent, QString::fromLatin1(stem), QString::fromLatin1(suffix), QString::fromLatin1(name));
}

}  // namespace

CollageMusicWindow::CollageMusicWindow(const QString& path, int64_t duration_us, int64_t used_start_us,
                                       int64_t used_duration_us, Result result, QWidget* parent)
    : QWidget(parent, Qt::Window), result_(std::move(result)) {
    setObjectName(QStringLiteral("collageMusicWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    widgets::applyToolWindowLook(this);
    player_ = new TrimPlayer(path, nullptr, this);
    length_us_ = player_->lengthUs() > 0 ? player_->lengthUs() : std::max<int64_t>(0, duration_us);
    player_->setVolume(1.0);
    connect(player_, &TrimPlayer::ticked, this, &CollageMusicWindow::tick);
    connect(player_, &TrimPlayer::ended, this, [this] {
        loopSelection_ = false;
        rangeBar->setProgress(0);
        startTimeLabel->setText(timeText(0));
        showTransport();
    });
    build(path);
    const int64_t used_end_us = used_duration_us > 0 ? used_start_us + used_duration_us : length_us_;
    setRange(used_start_us, used_end_us);
    changeLanguage();
    showTransport();
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) { changeLanguage(); }, this);
    shared::applyToolTextDirection(this);
}

CollageMusicWindow::~CollageMusicWindow() {
    platform::NotificationCenter::defaultCenter().removeObserversOf(this);
    shared::disconnectChildren(this);
    rangeBar->setDelegate(nullptr);
    volumeSlider->setDelegate(nullptr);
}

void CollageMusicWindow::build(const QString& path) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(16, 16, 16, 16);
    v->setSpacing(10);
    heading_ = shared::toolLabel(this, 16, shared::kToolText, QStringLiteral("collageMusicHeading"));
    v->addWidget(heading_);

    auto* pathRow = new QHBoxLayout();
    pathCaption_ = shared::toolLabel(this, 13, shared::kToolText);
    pathTextField = shared::toolLabel(this, 13, shared::kToolText, QStringLiteral("collageMusicPath"));
    pathTextField->setText(QFileInfo(path).fileName());
    pathTextField->setToolTip(path);
    pathRow->addWidget(pathCaption_);
    pathRow->addWidget(pathTextField, 1);
    v->addLayout(pathRow);

    rangeBar = new widgets::RDCutProgressView(QRectF(0, 0, kBarWidth, 40), this);
    rangeBar->setObjectName(QStringLiteral("collageMusicRange"));
    rangeBar->setIsNew(true);
    rangeBar->setFixedSize(kBarWidth, 40);
    rangeBar->setTickMark(true);
    rangeBar->setDelegate(this);
    v->addWidget(rangeBar);

    auto* transport = new QHBoxLayout();
    transport->setSpacing(8);
    playBtn = transportButton(this, "ZantImage/GifMaker/btnPlay", "@2x.png", "collageMusicPlay");
    playSelectedBtn = transportButton(this, "ZantImage/GifMaker/btnPreview", "@2x.png", "collageMusicPlaySelection");
    stopBtn = transportButton(this, "ZantImage/GifMaker/btnStop", "@2x.png", "collageMusicStop");
    volumeBtn = transportButton(this, "ZantImage/Reverse/btnOpenVolume", "@2x.png", "collageMusicMute");
    volumeSlider = new widgets::VolumeProgressSlider(QRectF(0, 0, 90, 20), this);
    volumeSlider->setObjectName(QStringLiteral("collageMusicVolume"));
    volumeSlider->setFixedSize(90, 20);
    volumeSlider->setProgress(0.5f);
    volumeSlider->setTickrefresh(true);
    volumeSlider->setDelegate(this);
    startTimeLabel = shared::toolLabel(this, 13, shared::kToolText, QStringLiteral("collageMusicPosition"));
    endTimeLabel = shared::toolLabel(this, 13, shared::kToolText, QStringLiteral("collageMusicLength"));
    durationLabel = shared::toolLabel(this, 13, shared::kToolText, QStringLiteral("collageMusicDuration"));
    lengthCaption_ = shared::toolLabel(this, 13, shared::kToolText);
    auto* slash = shared::toolLabel(this, 13, shared::kToolText);
    slash->setText(QStringLiteral("/"));
    for (QLabel* label : {startTimeLabel, endTimeLabel, durationLabel, slash}) shared::keepLeftToRight(label);
    startTimeLabel->setText(timeText(0));
    endTimeLabel->setText(timeText(length_us_));
    transport->addWidget(playBtn);
    transport->addWidget(playSelectedBtn);
    transport->addWidget(stopBtn);
    transport->addSpacing(6);
    transport->addWidget(startTimeLabel);
    transport->addWidget(slash);
    transport->addWidget(endTimeLabel);
    transport->addStretch(1);
    transport->addWidget(lengthCaption_);
    transport->addWidget(durationLabel);
    transport->addSpacing(12);
    transport->addWidget(volumeBtn);
    transport->addWidget(volumeSlider);
    v->addLayout(transport);

    v->addWidget(buildTimeRow(true));
    v->addWidget(buildTimeRow(false));

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    cancelBtn = new QPushButton(this);
    okBtn = new QPushButton(this);
    buttons->addWidget(cancelBtn);
    buttons->addWidget(okBtn);
    v->addLayout(buttons);

    playBtn->setMouseDownAction([this](ZorButton*) { togglePlay(false); });
    playSelectedBtn->setMouseDownAction([this](ZorButton*) { togglePlay(true); });
    stopBtn->setMouseDownAction([this](ZorButton*) { stopPlay(); });
    volumeBtn->setMouseDownAction([this](ZorButton*) { toggleMute(); });
    startDoneBtn->setMouseDownAction([this](ZorButton*) { setStartAtPlayHead(); });
    endDoneBtn->setMouseDownAction([this](ZorButton*) { setEndAtPlayHead(); });
    resetStartBtn->setMouseDownAction([this](ZorButton*) { setRange(0, end_us_); });
    resetEndBtn->setMouseDownAction([this](ZorButton*) { setRange(start_us_, length_us_); });
    connect(startFields, &shared::TimeFieldGroup::edited, this, [this] { typedTime(true); });
    connect(endFields, &shared::TimeFieldGroup::edited, this, [this] { typedTime(false); });
    connect(cancelBtn, &QPushButton::clicked, this, &QWidget::close);
    connect(okBtn, &QPushButton::clicked, this, [this] {
        if (result_) result_(start_us_, end_us_ - start_us_);
        close();
    });
    const bool playable = player_->isOpen() && length_us_ > 0;
    for (QWidget* control : std::initializer_list<QWidget*>{rangeBar, playBtn, playSelectedBtn, volumeBtn, volumeSlider,
                                                            startDoneBtn, endDoneBtn})
        control->setEnabled(playable);
}

QWidget* CollageMusicWindow::buildTimeRow(bool start) {
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(8);
    QLabel* caption = shared::toolLabel(row, 13, shared::kToolText);
    caption->setMinimumWidth(60);
    auto* fields = new shared::TimeFieldGroup(row);
    fields->setEditable(true);
    fields->setSteppersEnabled(true);
    ZorButton* atPlayHead = start ? transportButton(row, "ZantImage/Join/btnSetStart", "@2x.png", "collageMusicSetStart")
                                  : transportButton(row, "ZantImage/Join/btnSetEnd", "@2x.png", "collageMusicSetEnd");
    ZorButton* reset = transportButton(row, "ZantImage/Cut/btnReset", "@2x.png",
                                       start ? "collageMusicResetStart" : "collageMusicResetEnd");
    h->addWidget(caption);
    h->addWidget(fields);
    h->addWidget(atPlayHead);
    h->addWidget(reset);
    h->addStretch(1);
    (start ? startCaption_ : endCaption_) = caption;
    (start ? startFields : endFields) = fields;
    (start ? startDoneBtn : endDoneBtn) = atPlayHead;
    (start ? resetStartBtn : resetEndBtn) = reset;
    return row;
}

void CollageMusicWindow::changeLanguage() {
    setWindowTitle(localized(QStringLiteral("Collage_TrimMusic")));
    heading_->setText(localized(QStringLiteral("Cut Audio")));
    pathCaption_->setText(localized(QStringLiteral("Audio File:")));
    startCaption_->setText(localized(QStringLiteral("Start:")));
    endCaption_->setText(localized(QStringLiteral("End:")));
    lengthCaption_->setText(localized(QStringLiteral("cutDurationLabelstringValue")));
    startDoneBtn->setToolTip(localized(QStringLiteral("SetStartTip")));
    endDoneBtn->setToolTip(localized(QStringLiteral("SetEndTip")));
    volumeBtn->setToolTip(localized(QStringLiteral("Collage_Mute")));
    cancelBtn->setText(localized(QStringLiteral("Cancel")));
    okBtn->setText(localized(QStringLiteral("OK")));
}

void CollageMusicWindow::closeEvent(QCloseEvent* event) {
    player_->pause();
    QWidget::closeEvent(event);
}

bool CollageMusicWindow::isPlaying() const { return player_->playing(); }

void CollageMusicWindow::togglePlay(bool selection) {
    if (isPlaying()) {
        player_->pause();
        loopSelection_ = false;
    } else {
        loopSelection_ = selection;
        if (selection) player_->seekUs(start_us_);
        player_->play();
    }
    showTransport();
}

void CollageMusicWindow::stopPlay() {
    loopSelection_ = false;
    player_->stop();
    rangeBar->setProgress(0);
    startTimeLabel->setText(timeText(0));
    showTransport();
}

void CollageMusicWindow::toggleMute() {
    muted_ = !muted_;
    player_->setVolume(muted_ ? 0.0 : 1.0);
    volumeSlider->setProgress(muted_ ? 0.0f : 0.5f);
    showTransport();
}

void CollageMusicWindow::tick(int64_t position_us) {
    // Playing the selection goes back to its start once the play head reaches its end.
    if (loopSelection_ && position_us >= end_us_) {
        player_->seekUs(start_us_);
        position_us = start_us_;
    }
    if (length_us_ > 0) rangeBar->setProgress(float(double(position_us) / double(length_us_)));
    startTimeLabel->setText(timeText(position_us));
}

void CollageMusicWindow::setStartAtPlayHead() {
    const int64_t at_us = player_->positionUs();
    const auto margin_us = int64_t(kSetMargin * double(length_us_));
    // Too near the end: the end goes to the file's end.
    setRange(at_us, at_us < end_us_ - margin_us ? end_us_ : length_us_);
}

void CollageMusicWindow::setEndAtPlayHead() {
    const int64_t at_us = player_->positionUs();
    const auto margin_us = int64_t(kSetMargin * double(length_us_));
    // Too near the start: the start goes to the file's start.
    setRange(at_us > start_us_ + margin_us ? start_us_ : 0, at_us);
}

void CollageMusicWindow::typedTime(bool start) {
    const int64_t typed_us = (start ? startFields : endFields)->timeUs();
    if (start)
        setRange(std::min(typed_us, end_us_ - kShortestUs), end_us_);
    else
        setRange(start_us_, std::max(typed_us, start_us_ + kShortestUs));
}

void CollageMusicWindow::setRange(int64_t start_us, int64_t end_us) {
    const int64_t shortest = std::min(kShortestUs, length_us_);
    end_us_ = std::clamp<int64_t>(end_us, shortest, length_us_);
    start_us_ = std::clamp<int64_t>(start_us, 0, end_us_ - shortest);
    showRange();
}

void CollageMusicWindow::showRange() {
    if (length_us_ > 0)
        rangeBar->setLowerValue(float(double(start_us_) / double(length_us_)), float(double(end_us_) / double(length_us_)));
    startFields->setTimeUs(start_us_);
    endFields->setTimeUs(end_us_);
    durationLabel->setText(timeText(end_us_ - start_us_));
}

void CollageMusicWindow::showTransport() {
    const bool playing = isPlaying();
    shared::setStatePictures(playBtn, playing && !loopSelection_ ? QStringLiteral("ZantImage/GifMaker/btnPause")
                                                                 : QStringLiteral("ZantImage/GifMaker/btnPlay"),
                             QStringLiteral("@2x.png"));
    shared::setStatePictures(playSelectedBtn, playing && loopSelection_ ? QStringLiteral("ZantImage/GifMaker/btnPause")
                                                                        : QStringLiteral("ZantImage/GifMaker/btnPreview"),
                             QStringLiteral("@2x.png"));
    stopBtn->setEnabled(playing);
    shared::setStatePictures(volumeBtn, muted_ ? QStringLiteral("ZantImage/Reverse/btnCloseVolume")
                                               : QStringLiteral("ZantImage/Reverse/btnOpenVolume"),
                             QStringLiteral("@2x.png"));
}

void CollageMusicWindow::actionMouseDownForCutProgressViewBlock(widgets::RDCutProgressView*, float) {
    player_->holdForPress();
}

void CollageMusicWindow::actionSeekToTimeForCutProgressViewBlock(widgets::RDCutProgressView*, float progress) {
    const int64_t at_us = int64_t(double(progress) * double(length_us_));
    player_->seekUs(at_us);
    startTimeLabel->setText(timeText(at_us));
}

void CollageMusicWindow::actionMouseMovedForCutProgressViewBlock(widgets::RDCutProgressView*, float startvalue,
                                                                 float stopvalue, int64_t handleType) {
    const bool startDragged = handleType == widgets::RDCutProgressView::kLeftHandle;
    const shared::DraggedRange range =
        shared::keepHandlesApart(int64_t(double(startvalue) * double(length_us_)), int64_t(double(stopvalue) * double(length_us_)),
                                 length_us_, kShortestUs, startDragged);
    start_us_ = range.start_us;
    end_us_ = range.stop_us;
    if (range.corrected) showRange();
    startFields->setTimeUs(start_us_);
    endFields->setTimeUs(end_us_);
    durationLabel->setText(timeText(end_us_ - start_us_));
    player_->seekUs(startDragged ? start_us_ : end_us_);
    startTimeLabel->setText(timeText(player_->positionUs()));
}

void CollageMusicWindow::actionMouseUpForCutProgressViewBlock(widgets::RDCutProgressView*, float) {
    player_->releasePress();
    showTransport();
}

void CollageMusicWindow::actionProgressForProgressSliderBlock(widgets::VolumeProgressSlider*, float progress) {
    // The slider's middle is the file's own loudness.
    player_->setVolume(2.0 * progress);
    muted_ = progress <= 0;
    showTransport();
}

}  // namespace kestrel::tools::collage

#include "tools/cutter/cut_range_panel.h"

#include "widgets/view_frame.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <vector>

#include "engine/player/DIVuverIzizud.h"
#include "platform/atomic_image_write.h"
#include "services/help_class.h"
#include "services/language.h"
#include "services/output_name.h"
#include "tools/cutter/cutter_look.h"
#include "tools/cutter/time_box.h"
#include "tools/shared/handle_gap.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::cutter {

using services::localized;
using kestrel::widgets::ZorButton;

namespace {
constexpr int kTickMs = 100;
// The step keys move the preview by a tenth of a second.
constexpr int64_t kStepUs = 100'000;
// Easy cutter: set start and set end keep the ends this share of the file apart.
constexpr double kSetMargin = 0.02;
}  // namespace

CutRangePanel::CutRangePanel(CutRules rules, QWidget* parent)
    : QWidget(parent), rules_(rules), fractionDigits_(rules == CutRules::Easy ? 3 : 2) {
    build();
    timer_ = new QTimer(this);
    timer_->setInterval(kTickMs);
    connect(timer_, &QTimer::timeout, this, &CutRangePanel::tick);
    unload();
}

CutRangePanel::~CutRangePanel() {
    cutBar_->setDelegate(nullptr);
    volumeSlider_->setDelegate(nullptr);
    // A field that loses the focus while the panel goes commits nothing.
    for (TimeBox* box : {startBox_, stopBox_}) disconnect(box, nullptr, this, nullptr);
    if (player_) {
        player_->stop();
        if (QWidget* view = player_->view()) view->setParent(nullptr);
    }
}

void CutRangePanel::build() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    playerArea_ = new QWidget(this);
    playerArea_->setAutoFillBackground(true);
    QPalette dark = playerArea_->palette();
    dark.setColor(QPalette::Window, QColor(23, 23, 23));
    playerArea_->setPalette(dark);
    playerArea_->setMinimumSize(480, 270);
    playerArea_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    audioPicture_ = new QLabel(playerArea_);
    audioPicture_->setAlignment(Qt::AlignCenter);
    audioPicture_->setPixmap(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Cut/FileList/imgAudio.bmp")));
    audioPicture_->hide();
    column->addWidget(playerArea_, 1);

    // Transport bar.
    auto* transport = new QHBoxLayout;
    transport->setSpacing(6);
    playBtn_ = pictureButton(QStringLiteral("ZantImage/GifMaker/btnPlay"), QStringLiteral("@2x.png"), this);
    playRangeBtn_ = pictureButton(QStringLiteral("ZantImage/GifMaker/btnPreview"), QStringLiteral("@2x.png"), this);
    stopBtn_ = pictureButton(QStringLiteral("ZantImage/GifMaker/btnStop"), QStringLiteral("@2x.png"), this);
    formatBtn_ = pictureButton(QStringLiteral("ZantImage/Join/btnCaptureSet"), QStringLiteral(".png"), this);
    snapshotBtn_ = pictureButton(QStringLiteral("ZantImage/Join/btnCapture"), QStringLiteral("@2x.png"), this);
    muteBtn_ = pictureButton(QStringLiteral("ZantImage/Reverse/btnOpenVolume"), QStringLiteral("@2x.png"), this);
    volumeSlider_ = new kestrel::widgets::VolumeProgressSlider(QRectF(0, 0, 90, 20), this);
    volumeSlider_->setFixedSize(90, 20);
    volumeSlider_->setProgress(0.5f);
    volumeSlider_->setTickrefresh(true);
    volumeSlider_->setDelegate(this);
    elapsedLabel_ = dimLabel(this, 12);
    totalLabel_ = dimLabel(this, 12);
    for (QLabel* label : {elapsedLabel_, totalLabel_}) label->setLayoutDirection(Qt::LeftToRight);
    transport->addWidget(playBtn_);
    transport->addWidget(playRangeBtn_);
    transport->addWidget(stopBtn_);
    transport->addSpacing(8);
    transport->addWidget(elapsedLabel_);
    transport->addWidget(dimLabel(this, 12, QStringLiteral("/")));
    transport->addWidget(totalLabel_);
    transport->addStretch(1);
    transport->addWidget(formatBtn_);
    transport->addWidget(snapshotBtn_);
    transport->addSpacing(8);
    transport->addWidget(muteBtn_);
    transport->addWidget(volumeSlider_);
    column->addLayout(transport);

    cutBar_ = new kestrel::widgets::RDCutProgressView(QRectF(0, 0, 480, 40), this);
    cutBar_->setIsNew(true);
    cutBar_->setFixedHeight(40);
    cutBar_->setDelegate(this);
    column->addWidget(cutBar_);

    // Time boxes, the range length and the set-start and set-end buttons.
    auto* times = new QHBoxLayout;
    times->setSpacing(6);
    startCaption_ = dimLabel(this, 12);
    stopCaption_ = dimLabel(this, 12);
    startBox_ = new TimeBox(fractionDigits_, this);
    stopBox_ = new TimeBox(fractionDigits_, this);
    setStartBtn_ = pictureButton(QStringLiteral("ZantImage/Join/btnSetStart"), QStringLiteral("@2x.png"), this);
    setStopBtn_ = pictureButton(QStringLiteral("ZantImage/Join/btnSetEnd"), QStringLiteral("@2x.png"), this);
    durationCaption_ = dimLabel(this, 12);
    durationValue_ = dimLabel(this, 12, QStringLiteral("00:00:00"));
    durationValue_->setLayoutDirection(Qt::LeftToRight);
    times->addWidget(startCaption_);
    times->addWidget(startBox_);
    times->addWidget(setStartBtn_);
    times->addSpacing(12);
    times->addWidget(stopCaption_);
    times->addWidget(stopBox_);
    times->addWidget(setStopBtn_);
    times->addSpacing(12);
    times->addWidget(durationCaption_);
    times->addWidget(durationValue_);
    times->addStretch(1);
    column->addLayout(times);

    extraRow_ = new QWidget(this);
    auto* extra = new QHBoxLayout(extraRow_);
    extra->setContentsMargins(0, 0, 0, 0);
    extra->setSpacing(8);
    column->addWidget(extraRow_);

    playBtn_->setMouseDownAction([this](ZorButton*) { playing_ && !playingRange_ ? pause() : play(); });
    playRangeBtn_->setMouseDownAction([this](ZorButton*) { playing_ && playingRange_ ? pause() : playRange(); });
    stopBtn_->setMouseDownAction([this](ZorButton*) { stop(); });
    setStartBtn_->setMouseDownAction([this](ZorButton*) { setStartAtPosition(); });
    setStopBtn_->setMouseDownAction([this](ZorButton*) { setStopAtPosition(); });
    muteBtn_->setMouseDownAction([this](ZorButton*) { toggleMute(); });
    formatMenu_ = new QMenu(this);
    for (const char* key : {"png", "jpg", "bmp"}) {
        QString title = localized(QString::fromLatin1(key));
        title.remove(QLatin1Char('"'));
        if (title.isEmpty()) continue;
        formatMenu_->addAction(title, this, [this, key] { snapshotFormat_ = QString::fromLatin1(key); });
    }
    formatBtn_->setMouseDownAction([this](ZorButton* b) {
        if (player_) formatMenu_->popup(b->mapToGlobal(QPoint(0, b->height())));
    });
    snapshotBtn_->setMouseDownAction([this](ZorButton*) { Q_EMIT snapshotRequested(); });
    for (TimeBox* box : {startBox_, stopBox_}) {
        const bool start = box == startBox_;
        connect(box, &TimeBox::typing, this, [this, start] { boxTyped(start); });
        connect(box, &TimeBox::edited, this, [this, start] { boxCommitted(start); });
        connect(box, &TimeBox::stepped, this, [this, start](int field, int delta) { boxStepped(start, field, delta); });
    }

    // The keys the hint texts name.
    const auto bind = [this](const QKeySequence& keys, std::function<void()> action) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, action] {
            if (hasFile() && editingEnabled_) action();
        });
    };
    bind(QKeySequence(Qt::Key_Space), [this] { playing_ ? pause() : play(); });
    bind(QKeySequence(Qt::Key_Left), [this] { stepBy(-kStepUs); });
    bind(QKeySequence(Qt::Key_Right), [this] { stepBy(kStepUs); });
    bind(QKeySequence(Qt::Key_I), [this] { setStartAtPosition(); });
    bind(QKeySequence(Qt::Key_O), [this] { setStopAtPosition(); });
    retranslate();
}

void CutRangePanel::retranslate() {
    startCaption_->setText(localized(QStringLiteral("StartFieldLabelstringValue")));
    stopCaption_->setText(localized(QStringLiteral("StopFieldLabelstringValue")));
    durationCaption_->setText(localized(QStringLiteral("cutDurationLabelstringValue")));
    setStartBtn_->setToolTip(localized(QStringLiteral("SetStartTip")));
    setStopBtn_->setToolTip(localized(QStringLiteral("SetEndTip")));
    snapshotBtn_->setToolTip(localized(QStringLiteral("SnapshotTip")));
}

void CutRangePanel::keepTimesLeftToRight() {
    for (TimeBox* box : {startBox_, stopBox_})
        for (int i = 0; i < 4; ++i) box->field(i)->setLayoutDirection(Qt::LeftToRight);
    for (QLabel* label : {elapsedLabel_, totalLabel_, durationValue_}) label->setLayoutDirection(Qt::LeftToRight);
}

void CutRangePanel::loadFile(const QString& path, double duration_s, bool hasPicture, double volume, int64_t start_us,
                             int64_t stop_us) {
    unload();
    path_ = path;
    duration_us_ = secondsToUs(duration_s);
    volume_ = volume;
    player_ = kestrel::player::DIVuverIzizud::initWithString(path.toStdString(), QRectF(QPointF(0, 0), QSizeF(playerArea_->size())));
    if (player_) {
        // The preview's own length is the more exact one where the probe rounded.
        const double previewDuration = player_->duration().seconds();
        if (previewDuration > 0) duration_us_ = secondsToUs(previewDuration);
        player_->SetVolume(muted_ ? 0.0 : volume_);
        QPointer<CutRangePanel> guard(this);
        player_->setPlayerDidEndBlock([guard] {
            if (guard) guard->stop();
        });
        if (QWidget* view = player_->view()) {
            view->setParent(playerArea_);
            view->show();
        }
        placePlayerView();
    }
    audioPicture_->setVisible(!hasPicture);
    audioPicture_->raise();
    if (idleView_) idleView_->hide();
    if (stop_us <= 0 || stop_us > duration_us_) stop_us = duration_us_;
    start_us = std::clamp<int64_t>(start_us, 0, stop_us);
    start_us_ = start_us;
    stop_us_ = stop_us;
    volumeSlider_->setProgress(float(volume / 2.0));  // set by the panel: not reported
    setEditingEnabled(editingEnabled_);
    snapshotBtn_->setEnabled(hasPicture && editingEnabled_);
    formatBtn_->setEnabled(hasPicture && editingEnabled_);
    showRange();
    seekUs(start_us_);
    totalLabel_->setText(services::HelpClass::returnTimeToStr(double(duration_us_) / 1e6));
}

void CutRangePanel::unload() {
    timer_->stop();
    playing_ = playingRange_ = false;
    if (player_) {
        player_->stop();
        if (QWidget* view = player_->view()) view->setParent(nullptr);
        player_.reset();
    }
    path_.clear();
    typing_ = false;
    duration_us_ = start_us_ = stop_us_ = 0;
    audioPicture_->hide();
    cutBar_->setLowerValue(0.0f, 1.0f);
    cutBar_->setProgress(0);
    startBox_->setTimeUs(0);
    stopBox_->setTimeUs(0);
    durationValue_->setText(services::HelpClass::returnTimeToStr(0));
    elapsedLabel_->setText(services::HelpClass::returnTimeToStr(0));
    totalLabel_->setText(services::HelpClass::returnTimeToStr(0));
    setEditingEnabled(editingEnabled_);
    if (idleView_) idleView_->show();
}

void CutRangePanel::setIdleView(QWidget* view) {
    idleView_ = view;
    idleView_->setParent(playerArea_);
    idleView_->setGeometry(playerArea_->rect());
    idleView_->setVisible(!hasFile());
    idleView_->raise();
}

void CutRangePanel::setEditingEnabled(bool enabled) {
    editingEnabled_ = enabled;
    const bool on = enabled && hasFile();
    for (QWidget* w : std::initializer_list<QWidget*>{playBtn_, playRangeBtn_, setStartBtn_, setStopBtn_, startBox_, stopBox_,
                                                       snapshotBtn_, formatBtn_, cutBar_})
        w->setEnabled(on);
    cutBar_->setDisable(!on);
    stopBtn_->setEnabled(on && playing_);
    if (on && audioPicture_->isVisible()) {
        snapshotBtn_->setEnabled(false);
        formatBtn_->setEnabled(false);
    }
}

void CutRangePanel::setRange(int64_t start_us, int64_t stop_us) {
    typing_ = false;
    start_us_ = start_us;
    stop_us_ = stop_us;
    showRange();
}

void CutRangePanel::setRemoveLook(bool removeRange) { cutBar_->setIsFanxuan(removeRange); }

void CutRangePanel::showRange() {
    const double d = double(std::max<int64_t>(duration_us_, 1));
    cutBar_->setLowerValue(float(start_us_ / d), float(stop_us_ / d));
    startBox_->setTimeUs(start_us_);
    stopBox_->setTimeUs(stop_us_);
    durationValue_->setText(services::HelpClass::returnTimeToStr(double(stop_us_ - start_us_) / 1e6));
}

void CutRangePanel::commitRange(int64_t start_us, int64_t stop_us) {
    typing_ = false;
    start_us_ = start_us;
    stop_us_ = stop_us;
    showRange();
    Q_EMIT rangeEdited(start_us_, stop_us_);
}

int64_t CutRangePanel::unitUs() const { return fractionDigits_ == 3 ? 1000 : 10000; }

// Easy cutter: a typed time applies at once whenever the range stays valid; the others wait
// for the commit, which says what is wrong.
void CutRangePanel::boxTyped(bool startBox) {
    if (rules_ != CutRules::Easy || !hasFile()) return;
    if (!typing_) {
        typing_ = true;
        typedFromStart_us_ = start_us_;
        typedFromStop_us_ = stop_us_;
    }
    const int64_t start = startBox_->timeUs(), stop = stopBox_->timeUs();
    const bool valid = startBox ? start >= 0 && start < stop : start < stop && stop <= duration_us_;
    if (!valid) return;
    start_us_ = start;
    stop_us_ = stop;
    const double d = double(std::max<int64_t>(duration_us_, 1));
    cutBar_->setLowerValue(float(start_us_ / d), float(stop_us_ / d));
    durationValue_->setText(services::HelpClass::returnTimeToStr(double(stop_us_ - start_us_) / 1e6));
    seekUs(startBox ? start_us_ : stop_us_);
    Q_EMIT rangeEdited(start_us_, stop_us_);
}

bool CutRangePanel::boxCommitted(bool startBox) {
    if (!hasFile() || committing_) return true;
    int64_t start = startBox_->timeUs();
    int64_t stop = stopBox_->timeUs();
    if (rules_ == CutRules::Batch) {
        // A value outside the file or past the other end is taken to the nearest valid one.
        const int64_t unit = unitUs();
        stop = std::min(stop, duration_us_);
        if (startBox) start = std::clamp<int64_t>(start, 0, std::max<int64_t>(stop - unit, 0));
        else stop = std::max(stop, std::min(start + unit, duration_us_));
        commitRange(start, stop);
        seekUs(start_us_);
        return true;
    }
    QString key;
    if (startBox) key = start < 0 ? QStringLiteral("showmessageTime4") : start >= stop ? QStringLiteral("showmessageTime1") : QString();
    else key = stop > duration_us_ ? QStringLiteral("showmessageTime2") : start >= stop ? QStringLiteral("showmessageTime3") : QString();
    if (!key.isEmpty()) {
        TimeBox* box = startBox ? startBox_ : stopBox_;
        kestrel::widgets::RDTextField* field = box->editingField() ? box->editingField() : box->field(2);
        // What was applied on the way (a valid time half typed) goes back: a refused time
        // changes nothing.
        if (typing_ && (start_us_ != typedFromStart_us_ || stop_us_ != typedFromStop_us_)) {
            start_us_ = typedFromStart_us_;
            stop_us_ = typedFromStop_us_;
            const double d = double(std::max<int64_t>(duration_us_, 1));
            cutBar_->setLowerValue(float(start_us_ / d), float(stop_us_ / d));
            durationValue_->setText(services::HelpClass::returnTimeToStr(double(stop_us_ - start_us_) / 1e6));
            Q_EMIT rangeEdited(start_us_, stop_us_);
        }
        committing_ = true;
        Q_EMIT alertRequested(services::localized(key));
        // The field stays in edit, to be corrected; its value is checked again when it is left.
        field->setFocus();
        field->selectAll();
        field->setModified(true);
        committing_ = false;
        return false;
    }
    typing_ = false;
    commitRange(start, stop);
    seekUs(startBox ? start_us_ : stop_us_);
    return true;
}

bool CutRangePanel::commitEditingField() {
    for (TimeBox* box : {startBox_, stopBox_}) {
        kestrel::widgets::RDTextField* field = box->editingField();
        if (!field || !field->hasFocus() || !field->isModified()) continue;
        field->setModified(false);
        return boxCommitted(box == startBox_);
    }
    return true;
}

// A step that leaves no valid range is taken back.
void CutRangePanel::boxStepped(bool startBox, int field, int delta) {
    if (!hasFile()) return;
    TimeBox* box = startBox ? startBox_ : stopBox_;
    const int64_t start = startBox_->timeUs(), stop = stopBox_->timeUs();
    const bool valid = startBox ? start >= 0 && start < stop : stop <= duration_us_ && start < stop;
    if (!valid) {
        box->takeBackStep(field, delta);
        return;
    }
    commitRange(start, stop);
    seekUs(start_us_);
}

int64_t CutRangePanel::positionUs() const { return player_ ? player_->currentTime().microseconds() : 0; }

void CutRangePanel::seekUs(int64_t us) {
    us = std::clamp<int64_t>(us, 0, duration_us_);
    if (player_) player_->seekTime(platform::MediaTime::fromMicroseconds(us));
    if (duration_us_ > 0) cutBar_->setProgress(float(double(us) / double(duration_us_)));
    elapsedLabel_->setText(services::HelpClass::returnTimeToStr(double(us) / 1e6));
}

void CutRangePanel::play() {
    if (!player_) return;
    playingRange_ = false;
    playing_ = true;
    player_->play();
    timer_->start();
    updateTransport();
}

void CutRangePanel::playRange() {
    if (!player_) return;
    const int64_t at = positionUs();
    if (at < start_us_ || at >= stop_us_) seekUs(start_us_);
    playing_ = true;
    playingRange_ = true;
    player_->play();
    timer_->start();
    updateTransport();
}

void CutRangePanel::pause() {
    timer_->stop();
    if (player_) player_->pause();
    playing_ = playingRange_ = false;
    updateTransport();
}

void CutRangePanel::stop() {
    timer_->stop();
    if (player_) player_->stop();
    playing_ = playingRange_ = false;
    seekUs(0);
    updateTransport();
}

void CutRangePanel::stepBy(int64_t delta_us) {
    // Playback holds while the preview moves, then goes on from there.
    if (playing_ && player_) {
        timer_->stop();
        player_->pause();
    }
    seekUs(positionUs() + delta_us);
    if (playing_ && player_) {
        player_->play();
        timer_->start();
    }
}

void CutRangePanel::updateTransport() {
    setButtonPictures(playBtn_, playing_ && !playingRange_ ? QStringLiteral("ZantImage/GifMaker/btnPause") : QStringLiteral("ZantImage/GifMaker/btnPlay"),
                      QStringLiteral("@2x.png"));
    setButtonPictures(playRangeBtn_, playing_ && playingRange_ ? QStringLiteral("ZantImage/GifMaker/btnPause")
                                                               : QStringLiteral("ZantImage/GifMaker/btnPreview"),
                      QStringLiteral("@2x.png"));
    stopBtn_->setEnabled(playing_ && editingEnabled_);
}

void CutRangePanel::tick() {
    if (!player_) return;
    const int64_t at = positionUs();
    if (duration_us_ > 0) cutBar_->setProgress(float(double(at) / double(duration_us_)));
    elapsedLabel_->setText(services::HelpClass::returnTimeToStr(double(at) / 1e6));
    if (playingRange_ && at >= stop_us_) {
        // The easy cutter plays the range over and over; the batch cutter once.
        if (rules_ == CutRules::Easy) seekUs(start_us_);
        else pause();
    } else if (at >= duration_us_ && at > 0) {
        pause();
    }
}

void CutRangePanel::setStartAtPosition() {
    if (!hasFile()) return;
    const int64_t at = std::clamp<int64_t>(positionUs(), 0, duration_us_);
    if (rules_ == CutRules::Easy) {
        // A start within 2 % of the file before the end, or past it, takes the end to the end
        // of the file.
        const auto margin = int64_t(kSetMargin * double(duration_us_));
        if (at < stop_us_ - margin) commitRange(at, stop_us_);
        else commitRange(std::min(at, duration_us_ - unitUs()), duration_us_);
        return;
    }
    // A start after the end moves the end to the end of the file.
    commitRange(at, at >= stop_us_ ? duration_us_ : stop_us_);
}

void CutRangePanel::setStopAtPosition() {
    if (!hasFile()) return;
    const int64_t at = std::clamp<int64_t>(positionUs(), 0, duration_us_);
    if (rules_ == CutRules::Easy) {
        // An end within 2 % of the file after the start, or before it, takes the start back
        // to the beginning.
        const auto margin = int64_t(kSetMargin * double(duration_us_));
        if (at > start_us_ + margin) commitRange(start_us_, at);
        else commitRange(0, std::max(at, unitUs()));
        return;
    }
    // An end before the start moves the start to the beginning.
    commitRange(start_us_ >= at ? 0 : start_us_, at);
}

void CutRangePanel::resetRange() {
    if (!hasFile()) return;
    commitRange(0, duration_us_);
    seekUs(0);
}

void CutRangePanel::setVolume(double volume) {
    volume_ = volume;
    if (player_ && !muted_) player_->SetVolume(volume_);
}

// Mute silences the preview (and what the sound of a merged export takes); the slider keeps the
// level to come back to.
void CutRangePanel::toggleMute() {
    muted_ = !muted_;
    setButtonPictures(muteBtn_, muted_ ? QStringLiteral("ZantImage/Reverse/btnCloseVolume") : QStringLiteral("ZantImage/Reverse/btnOpenVolume"),
                      QStringLiteral("@2x.png"));
    if (player_) player_->SetVolume(effectiveVolume());
}

void CutRangePanel::actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider*, float progress) {
    setVolume(2.0 * double(std::clamp(progress, 0.0f, 1.0f)));
    Q_EMIT volumeEdited(volume_);
}

void CutRangePanel::actionMouseUpForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) {
    actionProgressForProgressSliderBlock(slider, progress);
}

QString CutRangePanel::snapshot(const QString& folder) {
    if (!player_) return {};
    int32_t w = player_->frameWidth();
    int32_t h = player_->frameHeight();
    if (w <= 0 || h <= 0) return {};
    // Sized from the frame the player will hand over, and checked against what it says it wrote.
    std::vector<uint8_t> buffer(size_t(w) * size_t(h) * 4, 0);
    const int32_t askedW = w, askedH = h;
    if (player_->Snapshot(&w, &h, buffer.data()) < 1 || w <= 0 || h <= 0 || w > askedW || h > askedH) return {};
    const QImage image = QImage(buffer.data(), w, h, w * 4, QImage::Format_ARGB32_Premultiplied).copy();
    if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
    QString ext = QStringLiteral("png");
    const char* format = "PNG";
    if (snapshotFormat_ == QLatin1String("bmp")) ext = QStringLiteral("bmp"), format = "BMP";
    else if (snapshotFormat_ == QLatin1String("jpg")) ext = QStringLiteral("jpg"), format = "JPEG";
    const QString path = services::uniqueOutputPath(folder, services::HelpClass::createFilename(), ext);
    const QImage opaque = ext == QLatin1String("png") ? image : image.convertToFormat(QImage::Format_RGB32);
    return platform::saveImageAtomically(opaque, path, format) ? path : QString();
}

void CutRangePanel::placePlayerView() {
    audioPicture_->setGeometry(playerArea_->rect());
    if (idleView_) idleView_->setGeometry(playerArea_->rect());
    if (!player_) return;
    player_->setFrame(QRectF(QPointF(0, 0), QSizeF(playerArea_->size())));
    if (QWidget* view = player_->view()) view->setGeometry(playerArea_->rect());
}

void CutRangePanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placePlayerView();
    QTimer::singleShot(0, this, [this] {
        // Where the layout put it, as a bottom-left frame: the Qt geometry taken as a frame
        // would flip the bar to the other end of the panel, over the preview.
        cutBar_->setFrame(kestrel::widgets::viewFrame(cutBar_));
        showRange();
    });
}

// Bar reports.
void CutRangePanel::actionMouseDownForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float) {
    if (playing_) pause();
}

void CutRangePanel::actionSeekToTimeForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) {
    seekUs(int64_t(double(progress) * double(duration_us_)));
}

void CutRangePanel::actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float startvalue,
                                                            float stopvalue, int64_t handleType) {
    const bool startDragged = handleType != kestrel::widgets::RDCutProgressView::kRightHandle;
    // The handles stop one field unit apart: the bar never makes a range typing would refuse.
    const kestrel::tools::shared::DraggedRange range = kestrel::tools::shared::keepHandlesApart(
        int64_t(double(startvalue) * double(duration_us_)), int64_t(double(stopvalue) * double(duration_us_)), duration_us_,
        unitUs(), startDragged);
    start_us_ = range.start_us;
    stop_us_ = range.stop_us;
    if (range.corrected && duration_us_ > 0)
        cutBar_->setLowerValue(float(double(start_us_) / double(duration_us_)), float(double(stop_us_) / double(duration_us_)));
    startBox_->setTimeUs(start_us_);
    stopBox_->setTimeUs(stop_us_);
    durationValue_->setText(services::HelpClass::returnTimeToStr(double(stop_us_ - start_us_) / 1e6));
    seekUs(startDragged ? start_us_ : stop_us_);
}

void CutRangePanel::actionMouseUpForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float) {
    Q_EMIT rangeEdited(start_us_, stop_us_);
}

}  // namespace kestrel::tools::cutter

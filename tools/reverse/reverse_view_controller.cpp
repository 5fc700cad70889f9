#include "tools/reverse/reverse_view_controller.h"

#include "engine/player/DIVuverIzizud.h"
#include "export/ui/export_session.h"
#include "platform/notification_center.h"
#include "services/language.h"
#include "tools/shared/form_look.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/dialogs/file_kinds.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/tool_window.h"

#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace kestrel::tools::reverse {
namespace {

using services::localized;

ReverseViewController::DialogPresenter& dialogPresenter() {
    static ReverseViewController::DialogPresenter presenter;
    return presenter;
}

constexpr int kFieldLimits[4] = {59, 59, 59, 999};


void writeFields(const std::array<QLineEdit*, 4>& fields, int64_t time_us) {
    const int64_t ms = std::max<int64_t>(0, time_us) / 1000;
    const int64_t parts[4] = {ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000};
    for (int i = 0; i < 4; ++i) fields[i]->setText(QString::asprintf(i == 3 ? "%03d" : "%02d", int(parts[i])));
}

int64_t readFields(const std::array<QLineEdit*, 4>& fields) {
    return fieldsToMicroseconds(fields[0]->text().toInt(), fields[1]->text().toInt(), fields[2]->text().toInt(),
                                fields[3]->text().toInt());
}

}  // namespace

void ReverseViewController::setExportDialogPresenter(DialogPresenter presenter) { dialogPresenter() = std::move(presenter); }

ReverseViewController::ReverseViewController(QWidget* parent) : QWidget(parent) {
    resize(1100, 640);
    kestrel::tools::shared::applyFormLook(this, QStringLiteral("exportBtn"));
    // Layouts stay left to right in every language; only text controls follow the language.
    setLayoutDirection(Qt::LeftToRight);
    buildViews();
    changeLanguage();
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) {
            changeLanguage();
            kestrel::widgets::applyTextDirection(this);
        }, this);
}

ReverseViewController::~ReverseViewController() {
    if (cutTimeSlider) cutTimeSlider->setDelegate(nullptr);
    // A running export is stopped through the engine, which removes its partial output.
    if (job_) job_->stop();
}

void ReverseViewController::buildViews() {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(16, 10, 16, 14);
    auto* top = new QHBoxLayout;
    titleLabel = new QLabel(this);
    titleLabel->setObjectName(QStringLiteral("titleLine"));
    addFileBtn = kestrel::tools::shared::makeFormButton(this, QStringLiteral("addFileBtn"));
    exportBtn = kestrel::tools::shared::makeFormButton(this, QStringLiteral("exportBtn"));
    top->addWidget(titleLabel, 1);
    top->addWidget(addFileBtn);
    top->addWidget(exportBtn);
    root->addLayout(top);

    auto* columns = new QHBoxLayout;
    root->addLayout(columns, 1);

    // Left: the cut range and the sound.
    auto* left = new QVBoxLayout;
    columns->addLayout(left);
    auto* range = kestrel::tools::shared::makeFormPanel(this);
    range->setFixedWidth(400);
    auto* grid = new QGridLayout(range);
    rangeCaption_ = new QLabel(range);
    startCaption_ = new QLabel(range);
    endCaption_ = new QLabel(range);
    grid->addWidget(rangeCaption_, 0, 0, 1, 8);
    auto makeGroup = [&](int row, std::array<QLineEdit*, 4>& fields, QPushButton*& up, QPushButton*& down,
                         QPushButton*& set, QPushButton*& reset, bool startGroup) {
        for (int i = 0; i < 4; ++i) {
            fields[i] = new QLineEdit(range);
            fields[i]->setValidator(new QIntValidator(0, kFieldLimits[i], fields[i]));
            fields[i]->setAlignment(Qt::AlignCenter);
            fields[i]->setFixedWidth(i == 3 ? 46 : 34);
            fields[i]->setLayoutDirection(Qt::LeftToRight);
            grid->addWidget(fields[i], row, 1 + i);
            connect(fields[i], &QLineEdit::editingFinished, this, [this, startGroup] { fieldEdited(startGroup); });
            QLineEdit* field = fields[i];
            connect(field, &QLineEdit::selectionChanged, this, [this, field] { editedField_ = field; });
            connect(field, &QLineEdit::cursorPositionChanged, this, [this, field] { editedField_ = field; });
        }
        auto* steppers = new QVBoxLayout;
        up = kestrel::tools::shared::makeFormButton(range, startGroup ? QStringLiteral("startTimeUpBtn") : QStringLiteral("stopTimeUpBtn"));
        down = kestrel::tools::shared::makeFormButton(range, startGroup ? QStringLiteral("startTimeDownBtn") : QStringLiteral("stopTimeDownBtn"));
        up->setText(QStringLiteral("\u25B2"));
        down->setText(QStringLiteral("\u25BC"));
        for (QPushButton* b : {up, down}) {
            b->setFixedSize(24, 16);
            b->setStyleSheet(QStringLiteral("padding: 0; font-size: 9px;"));
            steppers->addWidget(b);
        }
        grid->addLayout(steppers, row, 5);
        set = kestrel::tools::shared::makeFormButton(range, startGroup ? QStringLiteral("leftCutBtn") : QStringLiteral("rightCutBtn"));
        reset = kestrel::tools::shared::makeFormButton(range, startGroup ? QStringLiteral("leftResetBtn") : QStringLiteral("rightResetBtn"));
        grid->addWidget(set, row + 1, 1, 1, 4);
        grid->addWidget(reset, row + 1, 5, 1, 3);
        connect(up, &QPushButton::clicked, this, [this, startGroup] { step(startGroup, 1); });
        connect(down, &QPushButton::clicked, this, [this, startGroup] { step(startGroup, -1); });
    };
    grid->addWidget(startCaption_, 1, 0);
    makeGroup(1, startFields, startTimeUpBtn, startTimeDownBtn, leftCutBtn, leftResetBtn, true);
    grid->addWidget(endCaption_, 3, 0);
    makeGroup(3, endFields, stopTimeUpBtn, stopTimeDownBtn, rightCutBtn, rightResetBtn, false);
    left->addWidget(range);

    auto* sound = kestrel::tools::shared::makeFormPanel(this);
    sound->setFixedWidth(400);
    auto* soundLayout = new QVBoxLayout(sound);
    soundCaption_ = new QLabel(sound);
    keepSoundBtn = new QRadioButton(sound);
    removeSoundBtn = new QRadioButton(sound);
    reverseSoundBtn = new QRadioButton(sound);
    keepSoundBtn->setChecked(true);
    soundLayout->addWidget(soundCaption_);
    for (QRadioButton* radio : {keepSoundBtn, removeSoundBtn, reverseSoundBtn}) soundLayout->addWidget(radio);
    left->addWidget(sound);
    left->addStretch();

    // Right: the preview, the trim bar and the transport.
    auto* right = new QVBoxLayout;
    columns->addLayout(right, 1);
    playBgView = new QWidget(this);
    playBgView->setAutoFillBackground(true);
    QPalette dark = playBgView->palette();
    dark.setColor(QPalette::Window, QColor(32, 35, 43));
    playBgView->setPalette(dark);
    playBgView->setMinimumSize(480, 300);
    new QVBoxLayout(playBgView);
    playBgView->layout()->setContentsMargins(0, 0, 0, 0);
    right->addWidget(playBgView, 1);
    cutTimeSlider = new kestrel::widgets::RDCutProgressView(QRectF(0, 0, 600, 40), this);
    cutTimeSlider->setMinimumHeight(40);
    cutTimeSlider->setDelegate(this);
    right->addWidget(cutTimeSlider);
    auto* times = new QHBoxLayout;
    leftTimeTextField = new QLabel(this);
    middleTimeTextField = new QLabel(this);
    rightTimeTextField = new QLabel(this);
    middleTimeTextField->setAlignment(Qt::AlignCenter);
    times->addWidget(leftTimeTextField);
    times->addWidget(middleTimeTextField, 1);
    times->addWidget(rightTimeTextField);
    right->addLayout(times);
    auto* transport = new QHBoxLayout;
    playBtn = kestrel::tools::shared::makeFormButton(this, QStringLiteral("playBtn"));
    playSelectedBtn = kestrel::tools::shared::makeFormButton(this, QStringLiteral("playSelectedBtn"));
    stopBtn = kestrel::tools::shared::makeFormButton(this, QStringLiteral("stopBtn"));
    volumeSlider = new QSlider(Qt::Horizontal, this);
    volumeSlider->setRange(0, 100);
    volumeSlider->setValue(100);
    volumeSlider->setFixedWidth(110);
    transport->addStretch();
    for (QPushButton* b : {playBtn, playSelectedBtn, stopBtn}) transport->addWidget(b);
    transport->addWidget(new QLabel(QStringLiteral("\u266A"), this));
    transport->addWidget(volumeSlider);
    transport->addStretch();
    right->addLayout(transport);

    connect(leftCutBtn, &QPushButton::clicked, this, [this] { setStart(currentTime_us()); });
    connect(rightCutBtn, &QPushButton::clicked, this, [this] { setEnd(currentTime_us()); });
    connect(leftResetBtn, &QPushButton::clicked, this, [this] { setStart(0); });
    connect(rightResetBtn, &QPushButton::clicked, this, [this] { setEnd(total_us_); });
    connect(playBtn, &QPushButton::clicked, this, [this] { playAction(false); });
    connect(playSelectedBtn, &QPushButton::clicked, this, [this] { playAction(true); });
    connect(stopBtn, &QPushButton::clicked, this, [this] { stopAction(); });
    connect(volumeSlider, &QSlider::valueChanged, this, [this](int value) {
        if (player_) player_->SetVolume(value / 100.0);
    });
    connect(addFileBtn, &QPushButton::clicked, this, [this] { addFileBtnAction(); });
    connect(exportBtn, &QPushButton::clicked, this, [this] { exportBtnAction(); });
    positionTimer_ = new QTimer(this);
    positionTimer_->setInterval(250);
    connect(positionTimer_, &QTimer::timeout, this, [this] { pollPosition(); });
}

void ReverseViewController::changeLanguage() {
    titleLabel->setText(localized(QStringLiteral("Reverse_Title")) + QLatin1Char(' ') + services::Language::getCurrentVersion());
    addFileBtn->setText(localized(QStringLiteral("AddFileBtnTitle")));
    exportBtn->setText(localized(QStringLiteral("Export")));
    keepSoundBtn->setText(localized(QStringLiteral("Keep original sound")));
    removeSoundBtn->setText(localized(QStringLiteral("Remove original sound")));
    reverseSoundBtn->setText(localized(QStringLiteral("Reverse original sound")));
    startCaption_->setText(localized(QStringLiteral("CutStart:")));
    endCaption_->setText(localized(QStringLiteral("CutEnd:")));
    rangeCaption_->setText(localized(QStringLiteral("TimeRange:")));
    soundCaption_->setText(localized(QStringLiteral("Reverse Mode:")));
    leftCutBtn->setText(localized(QStringLiteral("ReverseSetStart")));
    rightCutBtn->setText(localized(QStringLiteral("ReverseSetEnd")));
    leftResetBtn->setText(localized(QStringLiteral("ReverseReset")));
    rightResetBtn->setText(localized(QStringLiteral("ReverseReset")));
    playBtn->setText(localized(player_ && player_->playerStatus() == 1 && !playingRange_ ? QStringLiteral("ReversePause")
                                                                                         : QStringLiteral("ReversePlay")));
    playSelectedBtn->setText(localized(QStringLiteral("ReversePlayRange")));
    stopBtn->setText(localized(QStringLiteral("ReverseStop")));
    resetTextFields();
}

void ReverseViewController::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        viewDidLoad();
    }
}

void ReverseViewController::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (cutTimeSlider) cutTimeSlider->setFrame(QRectF(cutTimeSlider->geometry()));
}

void ReverseViewController::viewDidLoad() {
    initPlayer();
    kestrel::widgets::applyTextDirection(this);
}

bool ReverseViewController::initPlayer() {
    positionTimer_->stop();
    player_.reset();
    kind_ = inputKind(filePath_);
    if (filePath_.isEmpty()) return false;
    player_ = player::DIVuverIzizud::initWithString(filePath_.toStdString(), QRectF(QPointF(0, 0), QSizeF(playBgView->size())));
    if (!player_) {
        enableEditing(false);
        return false;
    }
    playBgView->layout()->addWidget(player_->view());
    player_->view()->show();
    player_->SetVolume(volumeSlider->value() / 100.0);
    player_->setPlayerDidEndBlock([this] {
        positionTimer_->stop();
        playingRange_ = false;
        seekTo(start_us_);
        changeLanguage();
    });
    // A sound-only input can only have its sound reversed.
    const bool audio = kind_ == InputKind::Audio || player_->frameWidth() <= 0;
    keepSoundBtn->setEnabled(!audio);
    removeSoundBtn->setEnabled(!audio);
    (audio ? reverseSoundBtn : keepSoundBtn)->setChecked(true);
    total_us_ = player_->duration().microseconds();
    start_us_ = 0;
    end_us_ = total_us_;
    cutTimeSlider->setLowerValue(0, 1);
    seekTo(0);
    rightTimeTextField->setText(formatTime(total_us_));
    resetTextFields();
    enableEditing(true);
    return true;
}

session::ReverseSound ReverseViewController::soundMode() const {
    if (keepSoundBtn->isChecked() && keepSoundBtn->isEnabled()) return session::ReverseSound::Keep;
    if (removeSoundBtn->isChecked() && removeSoundBtn->isEnabled()) return session::ReverseSound::Remove;
    return session::ReverseSound::Reverse;
}

int64_t ReverseViewController::currentTime_us() const { return player_ ? player_->currentTime().microseconds() : 0; }

void ReverseViewController::seekTo(int64_t time_us) {
    time_us = std::clamp<int64_t>(time_us, 0, total_us_);
    if (player_) player_->seekTime(platform::MediaTime::fromSeconds(double(time_us) / 1e6));
    if (total_us_ > 0) cutTimeSlider->setProgress(float(double(time_us) / double(total_us_)));
    leftTimeTextField->setText(formatTime(time_us));
}

void ReverseViewController::resetTextFields() {
    writeFields(startFields, start_us_);
    writeFields(endFields, end_us_);
    middleTimeTextField->setText(localized(QStringLiteral("Reverse Duration")) + formatTime(end_us_ - start_us_));
}

void ReverseViewController::setStart(int64_t value_us) {
    // A start after the end would invert the range.
    if (value_us > end_us_) value_us = end_us_;
    start_us_ = std::max<int64_t>(0, value_us);
    if (total_us_ > 0) cutTimeSlider->setLowerValue(float(double(start_us_) / double(total_us_)));
    resetTextFields();
}

void ReverseViewController::setEnd(int64_t value_us) {
    value_us = std::min(value_us, total_us_);
    end_us_ = std::max(value_us, start_us_);
    if (total_us_ > 0) cutTimeSlider->setUpperValue(float(double(end_us_) / double(total_us_)));
    resetTextFields();
}

void ReverseViewController::fieldEdited(bool startGroup) {
    if (startGroup)
        setStart(readFields(startFields));
    else
        setEnd(readFields(endFields));
}

void ReverseViewController::step(bool startGroup, int delta) {
    std::array<QLineEdit*, 4>& fields = startGroup ? startFields : endFields;
    int index = int(std::find(fields.begin(), fields.end(), editedField_) - fields.begin());
    if (index >= 4) index = 2;  // no field pressed yet: the seconds
    const int value = std::clamp(fields[index]->text().toInt() + delta, 0, kFieldLimits[index]);
    fields[index]->setText(QString::asprintf(index == 3 ? "%03d" : "%02d", value));
    fieldEdited(startGroup);
}

void ReverseViewController::playAction(bool selectedRange) {
    if (!player_) return;
    if (player_->playerStatus() == 1) {
        pausePreview();
        return;
    }
    playingRange_ = selectedRange;
    if (selectedRange) {
        const int64_t now = currentTime_us();
        if (now < start_us_ || now >= end_us_) seekTo(start_us_);
    }
    player_->play();
    positionTimer_->start();
    changeLanguage();
}

void ReverseViewController::pausePreview() {
    if (!player_) return;
    player_->pause();
    positionTimer_->stop();
    changeLanguage();
}

void ReverseViewController::stopAction() {
    if (!player_) return;
    player_->pause();
    positionTimer_->stop();
    seekTo(playingRange_ ? start_us_ : 0);
    playingRange_ = false;
    changeLanguage();
}

void ReverseViewController::pollPosition() {
    if (!player_) return;
    const int64_t now = currentTime_us();
    if (total_us_ > 0) cutTimeSlider->setProgress(float(double(now) / double(total_us_)));
    leftTimeTextField->setText(formatTime(now));
    if (playingRange_ && now >= end_us_) {
        pausePreview();
        seekTo(start_us_);
    }
}

void ReverseViewController::actionMouseDownForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float) {
    if (player_) player_->pause();
}

void ReverseViewController::actionSeekToTimeForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) {
    seekTo(int64_t(double(progress) * double(total_us_)));
}

void ReverseViewController::actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float startvalue,
                                                                    float stopvalue, int64_t handleType) {
    start_us_ = int64_t(double(startvalue) * double(total_us_));
    end_us_ = std::max(start_us_, int64_t(double(stopvalue) * double(total_us_)));
    resetTextFields();
    const int64_t at = handleType == kestrel::widgets::RDCutProgressView::kLeftHandle ? start_us_ : end_us_;
    if (player_) player_->seekTime(platform::MediaTime::fromSeconds(double(at) / 1e6));
    leftTimeTextField->setText(formatTime(at));
}

void ReverseViewController::actionMouseUpForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float) {
    if (player_ && positionTimer_->isActive()) player_->play();
}

void ReverseViewController::addFileBtnAction() {
    pausePreview();
    widgets::OpenPanelRequest request;
    request.message = localized(QStringLiteral("Main_Sel_File_Hit"));
    request.cancelTitle = localized(QStringLiteral("OpenPanelCancelTitle"));
    request.prompt = localized(QStringLiteral("OpenPanelOpenTitle"));
    request.allowedFileTypes = widgets::openPanelFileTypes(false, true);
    const QStringList chosen = widgets::runOpenPanel(request);
    if (chosen.isEmpty()) return;
    filePath_ = chosen.first();
    initPlayer();
}

bool ReverseViewController::exporting() const { return job_ && job_->running(); }

void ReverseViewController::enableEditing(bool enabled) {
    const bool on = enabled && player_;
    for (QWidget* w : std::initializer_list<QWidget*>{leftCutBtn, rightCutBtn, leftResetBtn, rightResetBtn, startTimeUpBtn,
                                                      startTimeDownBtn, stopTimeUpBtn, stopTimeDownBtn, playBtn,
                                                      playSelectedBtn, stopBtn, exportBtn, cutTimeSlider, reverseSoundBtn})
        w->setEnabled(on);
    for (QLineEdit* field : startFields) field->setEnabled(on);
    for (QLineEdit* field : endFields) field->setEnabled(on);
    const bool audio = kind_ == InputKind::Audio || (player_ && player_->frameWidth() <= 0);
    keepSoundBtn->setEnabled(on && !audio);
    removeSoundBtn->setEnabled(on && !audio);
    addFileBtn->setEnabled(enabled);
}

void ReverseViewController::exportBtnAction() {
    if (!player_) return;
    pausePreview();
    exportSession_.reset();
    if (exportDialog_) exportDialog_->deleteLater();
    exportDialog_ = new exportkit::StartExportWindowController(this);
    exportDialog_->setIsAudioInput(kind_ == InputKind::Audio || player_->frameWidth() <= 0);
    exportDialog_->setInputFileName(QFileInfo(filePath_).fileName());
    exportDialog_->setIsReverse(true);
    exportDialog_->setStartExportCallbackBlock([this](const QString& path) { exportCallback(path); });
    exportSession_ = std::make_unique<exportkit::ExportSession>(exportDialog_);
    if (dialogPresenter())
        dialogPresenter()(exportDialog_);
    else
        exportDialog_->runModal(window());
}

void ReverseViewController::exportCallback(const QString& path) {
    if (!exportSession_) return;
    if (exporting()) {
        job_->stop();  // the engine stops and removes its partial output; the job's end resets the dialog
        return;
    }
    if (end_us_ <= start_us_) {
        exportSession_->finishFailed(localized(QStringLiteral("ReverseEmptyRangeMessage")));
        return;
    }
    session::ReverseRequest request;
    request.inputPath = filePath_;
    request.outputPath = path;
    request.start_us = start_us_;
    request.end_us = end_us_;
    request.sound = soundMode();
    request.quality = session::ReverseQuality(std::clamp(exportDialog_->qualityMenuIndex(), 0, 2));
    auto* job = new session::ReverseJob(request, this);
    job_ = job;
    connect(job, &session::Job::progressChanged, this, [this](double fraction) {
        if (exportSession_) exportSession_->setProgress(fraction);
    });
    connect(job, &session::Job::finished, this, [this, job](const session::JobResult& result) {
        jobFinished(result);
        job->deleteLater();
    });
    exportSession_->begin();
    enableEditing(false);
    job->start();
}

void ReverseViewController::jobFinished(const session::JobResult& result) {
    if (exportSession_) {
        if (result.done())
            exportSession_->finishSucceeded(result.outputs.value(0), localized(QStringLiteral("Succeeded converting!")));
        else if (result.stopped())
            exportSession_->finishStopped();
        else if (!result.message.isEmpty())
            exportSession_->finishFailed(result.message);
        else
            exportSession_->finishFailed(result.code);
    }
    job_ = nullptr;
    enableEditing(true);
}

void ReverseViewController::windowWillClose() {
    if (player_) player_->pause();
    positionTimer_->stop();
    if (job_) job_->stop();
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
}

}  // namespace kestrel::tools::reverse

#include "tools/splitter/split_window_controller.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "engine/player/DIVuverIzizud.h"
#include "export/ui/export_session.h"
#include "services/help_class.h"
#include "services/language.h"
#include "tools/shared/kit_controls.h"
#include "tools/shared/media_input.h"
#include "tools/splitter/alert_input_window_controller.h"
#include "tools/splitter/split_points.h"
#include "tools/splitter/split_progress_view.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/image_view.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::splitter {
namespace {

using services::localized;
using widgets::ZorButton;
namespace kit = kestrel::tools::shared;

SplitWindowController::NumberPrompt& numberPrompt() {
    static SplitWindowController::NumberPrompt prompt;
    return prompt;
}
SplitWindowController::MessagePresenter& messagePresenter() {
    static SplitWindowController::MessagePresenter presenter;
    return presenter;
}

const QColor kDimmedText(170, 177, 185, 178);

}  // namespace

void SplitWindowController::setNumberPrompt(NumberPrompt prompt) { numberPrompt() = std::move(prompt); }
void SplitWindowController::setMessagePresenter(MessagePresenter presenter) { messagePresenter() = std::move(presenter); }

SplitWindowController::SplitWindowController(QWidget* parent) : kestrel::widgets::ToolWindow(parent) {
    resize(1040, 680);
    setMinimumSize(900, 600);
    // Layouts stay left to right in every language; only text controls follow the language.
    setLayoutDirection(Qt::LeftToRight);
    buildViews();
    enableEdit(false);
    changeLanguage();
}

SplitWindowController::~SplitWindowController() {
    kit::disconnectChildren(this);
    if (playerTimer_) playerTimer_->stop();
    averageTextField->setMouseDelegate(nullptr);
    volumeSlider->setDelegate(nullptr);
    // A running split is stopped; the job removes the piece it was writing once its run returns.
    if (job_) job_->stop();
}

void SplitWindowController::windowDidLoad() {
    enableEdit(false);
    changeLanguage();
    setUpDataWithFilePath();
    kit::applyToolTextDirection(this);
}

double SplitWindowController::durationSeconds() const {
    if (player_) return player_->duration().seconds();
    return fileData_ ? fileData_->sourceData.duration : 0.0;
}

bool SplitWindowController::playing() const { return player_ && player_->playerStatus() == 1; }

double SplitWindowController::positionSeconds() const { return player_ ? player_->currentTime().seconds() : 0.0; }

int SplitWindowController::maxEqualParts() const {
    const double seconds = fileData_ ? double(fileData_->sourceData.duration) : 0.0;
    return int(std::max(2.0, std::floor(seconds + 1e-3)));
}

void SplitWindowController::fillPopups() {
    const double duration = fileData_ ? fileData_->sourceData.duration : 0.0;
    const double size = fileData_ ? fileData_->sourceData.fileSize : 0.0;
    auto fill = [](QComboBox* popup, const QList<int>& values, const QString& unit, double chosen) {
        QSignalBlocker block(popup);
        popup->clear();
        for (int value : values) popup->addItem(QStringLiteral("%1 %2").arg(value).arg(unit), double(value));
        // A custom length stays in the list, in the new language.
        if (chosen > 0 && popup->findData(chosen) < 0) popup->addItem(QStringLiteral("%1 %2").arg(chosen).arg(unit), chosen);
        popup->addItem(localized(QStringLiteral("SplitCustomValue")));
        const int wanted = popup->findData(chosen);
        popup->setCurrentIndex(std::max(0, wanted));
        return popup->currentIndex();
    };
    const double time = split_timepopBtn->count() == 0 ? std::ceil(float(duration) * 0.25f) : firstNumber(split_timepopBtn->currentText());
    const double bytes = split_sizepopBtn->count() == 0 ? std::ceil(float(size) * 0.25f) : firstNumber(split_sizepopBtn->currentText());
    timeChoice_ = fill(split_timepopBtn, timeListValues(duration), localized(QStringLiteral("SecsValue")), time);
    sizeChoice_ = fill(split_sizepopBtn, sizeListValues(size), localized(QStringLiteral("MBValue")), bytes);
    showPopupTitles();
}

void SplitWindowController::showPopupTitles() {
    split_timepopTextField->setText(split_timepopBtn->currentText());
    split_sizepopTextField->setText(split_sizepopBtn->currentText());
}

kestrel::model::SimpleDataPtr SplitWindowController::probe(const QString& path) {
    const kit::ProbedFiles probed = kit::probeMediaFiles({path}, false);
    if (!probed.accepted.isEmpty()) return probed.accepted.first();
    showMessage(kit::refusedFilesMessage(probed.refused));
    return nullptr;
}

bool SplitWindowController::setUpDataWithFilePath() {
    if (filePath_.isEmpty()) return false;
    kestrel::model::SimpleDataPtr record = probe(filePath_);
    if (!record) return false;
    setUp(record);
    return true;
}

void SplitWindowController::setUp(const kestrel::model::SimpleDataPtr& record) {
    fileData_ = record;
    const auto& source = fileData_->sourceData;
    fileData_->targetData.extension = QFileInfo(filePath_).suffix();
    split_timepopBtn->clear();
    split_sizepopBtn->clear();
    fillPopups();
    resolutionValueLabel->setText(QStringLiteral("%1x%2").arg(source.width).arg(source.height));
    resoucefilesizeValueLabel->setText(QStringLiteral("%1 %2").arg(double(source.fileSize), 0, 'f', 2).arg(localized(QStringLiteral("MBValue"))));
    resouceTotaltimeValueLabel->setText(services::HelpClass::returnTimeToStr(source.duration));
    volumeSlider->setProgress(float(fileData_->volume * 0.5));
    initPlayer();
    averageTextField->setText(QStringLiteral("2"));
    averageLimitLabel->hide();
    selectMode(SplitMode::Average);
}

SplitMode SplitWindowController::mode() const {
    if (split_timeBtn->selected()) return SplitMode::Time;
    if (split_sizeBtn->selected()) return SplitMode::Size;
    if (split_averageBtn->selected()) return SplitMode::Average;
    return SplitMode::Manual;
}

void SplitWindowController::enableEdit(bool enabled) {
    const bool on = enabled && fileData_;
    for (QWidget* w : std::initializer_list<QWidget*>{split_timeBtn, split_sizeBtn, split_averageBtn, split_manuallyBtn,
                                                      playBtn, volumeBtn, splitItemBtn})
        w->setEnabled(on);
    playerSlider->setDisable(!on);
    volumeSlider->setDisable(!on);
    const SplitMode current = mode();
    // The value frame of the mode shown reads in full colour with its arrow; the others dimmed.
    const auto frame = [&](QWidget* bg, QLabel* text, QComboBox* popup, bool active) {
        popup->setEnabled(on && active);
        QPalette palette = text->palette();
        palette.setColor(QPalette::WindowText, on && active ? kit::kToolText : kDimmedText);
        text->setPalette(palette);
        if (auto* arrow = bg->findChild<widgets::ImageView*>())
            arrow->setImage(services::Language::pixmapWithfileName(on && active ? QStringLiteral("ZantImage/Split/btnSpinDown_Normal@2x.png")
                                                                               : QStringLiteral("ZantImage/Split/btnSpinDown_Disable@2x.png")));
    };
    frame(split_timepopBgView, split_timepopTextField, split_timepopBtn, current == SplitMode::Time);
    frame(split_sizepopBgView, split_sizepopTextField, split_sizepopBtn, current == SplitMode::Size);
    const bool average = on && current == SplitMode::Average;
    averageTextField->setEnabled(average);
    averagestepperUpBtn->setEnabled(average);
    averagestepperDownBtn->setEnabled(average);
    refreshPointButtons();
    refreshTransport();
}

void SplitWindowController::selectMode(SplitMode mode) {
    split_timeBtn->setSelected(mode == SplitMode::Time);
    split_sizeBtn->setSelected(mode == SplitMode::Size);
    split_averageBtn->setSelected(mode == SplitMode::Average);
    split_manuallyBtn->setSelected(mode == SplitMode::Manual);
    playerSlider->removeAllSplitItem();
    const bool manual = mode == SplitMode::Manual;
    for (QWidget* w : std::initializer_list<QWidget*>{splitItemBtn, leftMoveBtn, rightMoveBtn, deletedItemBtn}) w->setVisible(manual);
    splitTimeLabel->setVisible(manual);
    if (manual) splitTimeLabel->setText(localized(QStringLiteral("SplitManualHint")));
    if (mode != SplitMode::Average) averageLimitLabel->hide();
    enableEdit(true);
    totalTimeLabel->setText(QStringLiteral("/ ") + services::HelpClass::returnTimeToStr(durationSeconds()));
    splitAction();
}

void SplitWindowController::splitAction() {
    if (!fileData_) return;
    QList<double> points;
    switch (mode()) {
    case SplitMode::Time: points = pointsForLength(firstNumber(split_timepopBtn->currentText()), durationSeconds()); break;
    case SplitMode::Size:
        points = pointsForLength(firstNumber(split_sizepopBtn->currentText()), fileData_->sourceData.fileSize);
        break;
    case SplitMode::Average: points = pointsForEqualParts(averageTextField->text().toDouble()); break;
    case SplitMode::Manual: refreshPointButtons(); return;
    }
    // Every computed point is kept, however close the markers come on the bar.
    playerSlider->removeAllSplitItem();
    for (double p : points) playerSlider->addSplitItemTime(float(p));
    refreshPointButtons();
}

void SplitWindowController::popupChosen(QComboBox* popup, int type) {
    int& remembered = type == 1 ? timeChoice_ : sizeChoice_;
    if (popup->currentIndex() == popup->count() - 1) {
        const double max = type == 1 ? durationSeconds() : fileData_->sourceData.fileSize;
        const QString unit = localized(type == 1 ? QStringLiteral("SecsValue") : QStringLiteral("MBValue"));
        QString typed;
        if (numberPrompt()) {
            typed = numberPrompt()(type, max);
        } else {
            AlertInputWindowController prompt(this);
            prompt.setTexts(windowTitleLabel->text(),
                            QStringLiteral("%1 %2 %3").arg(localized(type == 1 ? QStringLiteral("AlertTimeInfomation")
                                                                                : QStringLiteral("AlertSizeInfomation")))
                                .arg(std::round(max))
                                .arg(unit),
                            localized(type == 1 ? QStringLiteral("CustomTimeLabelTitle") : QStringLiteral("CustomSizeLabelTitle")),
                            unit);
            prompt.setMaxNumber(max);
            prompt.exec();
            typed = prompt.answer();
        }
        const double value = leadingInteger(typed);
        QSignalBlocker block(popup);
        if (value > 0) {
            int index = popup->findData(value);
            if (index < 0) {
                popup->insertItem(popup->count() - 1, QStringLiteral("%1 %2").arg(value).arg(unit), value);
                index = popup->count() - 2;
            }
            popup->setCurrentIndex(index);
        } else {
            // Nothing given: the length chosen before stays, and so do the points.
            popup->setCurrentIndex(std::clamp(remembered, 0, popup->count() - 2));
            showPopupTitles();
            return;
        }
    }
    remembered = popup->currentIndex();
    showPopupTitles();
    splitAction();
}

void SplitWindowController::setAverage(long long asked) {
    const long long limit = maxEqualParts();
    const long long count = std::clamp<long long>(asked, 2, limit);
    averageTextField->setText(QString::number(count));
    // Asking for more parts than seconds is answered with what the file holds, and said.
    if (asked > limit) {
        averageLimitLabel->setText(localized(QStringLiteral("SplitPartsLimitNote")).arg(limit));
        averageLimitLabel->show();
    } else {
        averageLimitLabel->hide();
    }
    splitAction();
}

void SplitWindowController::commitAverage() {
    const QString text = averageTextField->text();
    if (text.isEmpty()) {
        // An emptied field keeps the count the bar shows.
        averageTextField->setText(QString::number(playerSlider->count() + 1));
        return;
    }
    bool ok = false;
    const long long asked = text.toLongLong(&ok);
    setAverage(ok ? asked : std::numeric_limits<long long>::max());
}

void SplitWindowController::stepAverage(int delta) {
    const long long value = averageTextField->text().toLongLong();
    setAverage(delta > 0 ? value + 1 : std::max<long long>(value - 1, 2));
}

void SplitWindowController::actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) {
    if (field != averageTextField) return;
    averagestepperUpBtn->setEnabled(true);
    averagestepperDownBtn->setEnabled(true);
}

void SplitWindowController::refreshPointButtons() {
    const int count = playerSlider->count();
    const int selected = playerSlider->selectedSplitIndex();
    const bool editing = fileData_ && !exporting();
    leftMoveBtn->setEnabled(editing && count >= 2 && selected >= 1);
    rightMoveBtn->setEnabled(editing && count >= 2 && selected >= 0 && selected < count - 1);
    deletedItemBtn->setEnabled(editing && count > 0);
    startExportBtn->setEnabled(fileData_ && !exporting() && count > 0);
}

void SplitWindowController::addFileAction() {
    widgets::OpenPanelRequest request = widgets::standardOpenPanelRequest();
    request.message.clear();
    request.allowsMultipleSelection = true;
    request.allowedFileTypes = kit::mediaFileExtensions();
    const QStringList chosen = widgets::runOpenPanel(request);
    if (chosen.isEmpty()) return;
    // A file that cannot be split is refused before anything of the loaded one changes.
    kestrel::model::SimpleDataPtr record = probe(chosen.first());
    if (!record) return;
    filePath_ = chosen.first();
    setUp(record);
}

void SplitWindowController::initPlayer() {
    if (playerTimer_) playerTimer_->stop();
    resumeAfterSeek_ = false;
    player_.reset();
    delete audioLogo_;
    audioLogo_ = nullptr;
    if (!fileData_) return;
    player_ = player::DIVuverIzizud::initWithString(filePath_.toStdString(), QRectF(QPointF(0, 0), QSizeF(contentLeftView->size())));
    if (!player_) return;
    QWidget* view = player_->view();
    view->setParent(contentLeftView);
    contentLeftView->layout()->addWidget(view);
    view->show();
    player_->SetVolume(muted_ ? 0.0 : fileData_->volume);
    player_->seekTime(platform::MediaTime::fromSeconds(1.0 / 30.0));
    player_->setPlayerDidEndBlock([this] {
        playerTimer_->stop();
        seekToFraction(0);
        playerSlider->setProgress(0);
        refreshTransport();
    });
    if (fileData_->sourceData.width == 0 && fileData_->sourceData.height == 0) {
        // A sound-only file shows its picture over the dark preview.
        audioLogo_ = new widgets::ImageView(contentLeftView);
        audioLogo_->setImageScaling(widgets::ImageScaling::AxesIndependently);
        audioLogo_->setImage(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Join/FileList/imgAudio.bmp")));
        contentLeftView->layout()->addWidget(audioLogo_);
        view->hide();
    }
    refreshTransport();
}

void SplitWindowController::refreshTransport() {
    const bool isPlaying = playing();
    playBtn->setSelected(isPlaying);
    kit::setStatePictures(playBtn, isPlaying ? QStringLiteral("ZantImage/Join/btnPause") : QStringLiteral("ZantImage/Join/btnPlay"),
                          QStringLiteral("@2x.png"));
    playBtn->setToolTip(localized(isPlaying ? QStringLiteral("SplitPauseTitle") : QStringLiteral("SplitPlayTitle")));
    pauseBtn->setEnabled(isPlaying);
}

void SplitWindowController::playToggle() {
    if (!player_) return;
    if (playing()) {
        playerTimer_->stop();
        player_->pause();
    } else {
        player_->play();
        playerTimer_->start();
    }
    refreshTransport();
}

void SplitWindowController::stopAction() {
    if (!player_) return;
    resumeAfterSeek_ = false;
    playerTimer_->stop();
    player_->stop();
    seekToFraction(0);
    playerSlider->setProgress(0);
    refreshTransport();
}

void SplitWindowController::muteToggle() {
    muted_ = !muted_;
    volumeBtn->setSelected(muted_);
    if (muted_) {
        volumeSlider->setProgress(0);
    } else if (fileData_) {
        fileData_->volume = 1.0;
        volumeSlider->setProgress(0.5f);
    }
    if (player_ && fileData_) player_->SetVolume(muted_ ? 0.0 : fileData_->volume);
}

void SplitWindowController::setVolumeFromSlider(float progress) {
    if (!fileData_) return;
    fileData_->volume = double(progress) * 2.0;
    if (player_) player_->SetVolume(fileData_->volume);
}

void SplitWindowController::actionMouseDownForProgressSliderBlock(kestrel::widgets::RDProgressSlider*, float progress) {
    setVolumeFromSlider(progress);
}
void SplitWindowController::actionProgressForProgressSliderBlock(kestrel::widgets::RDProgressSlider*, float progress) {
    setVolumeFromSlider(progress);
}
void SplitWindowController::actionMouseUpForProgressSliderBlock(kestrel::widgets::RDProgressSlider*, float progress) {
    setVolumeFromSlider(progress);
}

void SplitWindowController::seekToFraction(float fraction) {
    const double seconds = double(fraction) * durationSeconds();
    if (player_) player_->seekTime(platform::MediaTime::fromSeconds(seconds));
    playerCurrentTimeLabel->setText(services::HelpClass::returnTimeToStr(seconds));
}

void SplitWindowController::pollPlayer() {
    if (!player_) return;
    const double duration = durationSeconds();
    const double now = player_->currentTime().seconds();
    if (duration > 0) playerSlider->setProgress(float(now / duration));
    playerCurrentTimeLabel->setText(services::HelpClass::returnTimeToStr(now));
    if (!playing()) {
        playerTimer_->stop();
        refreshTransport();
    }
}

void SplitWindowController::showMessage(const QString& text) {
    if (messagePresenter()) {
        messagePresenter()(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, windowTitleLabel->text(), text, QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setText(localized(QStringLiteral("OKBtnTitle")));
    box.exec();
}

void SplitWindowController::closeEvent(QCloseEvent* event) {
    if (playerTimer_) playerTimer_->stop();
    if (player_) player_->pause();
    if (job_) job_->stop();
    ToolWindow::closeEvent(event);
}

}  // namespace kestrel::tools::splitter

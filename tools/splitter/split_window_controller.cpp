#include "tools/splitter/split_window_controller.h"

#include "engine/player/DIVuverIzizud.h"
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "platform/notification_center.h"
#include "services/help_class.h"
#include "services/language.h"
#include "session/export/split/split_job.h"
#include "session/media/media_probe.h"
#include "tools/shared/form_look.h"
#include "tools/splitter/alert_input_window_controller.h"
#include "tools/splitter/split_points.h"
#include "tools/splitter/split_progress_view.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/dialogs/file_kinds.h"
#include "widgets/dialogs/open_panel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace kestrel::tools::splitter {
namespace {

using services::localized;

SplitWindowController::DialogPresenter& dialogPresenter() {
    static SplitWindowController::DialogPresenter presenter;
    return presenter;
}
SplitWindowController::NumberPrompt& numberPrompt() {
    static SplitWindowController::NumberPrompt prompt;
    return prompt;
}
SplitWindowController::MessagePresenter& messagePresenter() {
    static SplitWindowController::MessagePresenter presenter;
    return presenter;
}


}  // namespace

void SplitWindowController::setExportDialogPresenter(DialogPresenter presenter) { dialogPresenter() = std::move(presenter); }
void SplitWindowController::setNumberPrompt(NumberPrompt prompt) { numberPrompt() = std::move(prompt); }
void SplitWindowController::setMessagePresenter(MessagePresenter presenter) { messagePresenter() = std::move(presenter); }

SplitWindowController::SplitWindowController(QWidget* parent) : kestrel::widgets::ToolWindow(parent) {
    resize(1000, 680);
    setMinimumSize(900, 600);
    // Layouts stay left to right in every language; only text controls follow the language.
    setLayoutDirection(Qt::LeftToRight);
    kestrel::tools::shared::applyFormLook(this, QStringLiteral("startExportBtn"));
    buildViews();
    enableEdit(false);
    changeLanguage();
}

SplitWindowController::~SplitWindowController() {
    if (playerTimer_) playerTimer_->stop();
    // A running split is stopped; the job removes what it wrote once its engine run returns.
    if (job_) job_->stop();
}

void SplitWindowController::buildViews() {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(16, 10, 16, 14);
    windowTitleLabel = new QLabel(this);
    windowTitleLabel->setObjectName(QStringLiteral("titleLine"));
    windowTitleLabel->setAlignment(Qt::AlignCenter);
    root->addWidget(windowTitleLabel);

    auto* columns = new QHBoxLayout;
    root->addLayout(columns, 1);

    // Left: the preview, the split-point bar and the transport.
    auto* left = new QVBoxLayout;
    columns->addLayout(left, 1);
    contentLeftView = new QWidget(this);
    contentLeftView->setAutoFillBackground(true);
    QPalette black = contentLeftView->palette();
    black.setColor(QPalette::Window, QColor(23, 23, 23));
    contentLeftView->setPalette(black);
    contentLeftView->setMinimumSize(480, 300);
    left->addWidget(contentLeftView, 1);
    playerSlider = new SplitProgressView(this);
    left->addWidget(playerSlider);

    auto* transport = new QHBoxLayout;
    left->addLayout(transport);
    playBtn = kestrel::tools::shared::makeFormButton(this, QStringLiteral("playBtn"));
    pauseBtn = kestrel::tools::shared::makeFormButton(this, QStringLiteral("pauseBtn"));
    playerCurrentTimeLabel = new QLabel(QStringLiteral("00:00:00.000"), this);
    totalTimeLabel = new QLabel(this);
    volumeSlider = new QSlider(Qt::Horizontal, this);
    volumeSlider->setRange(0, 100);
    volumeSlider->setValue(50);
    volumeSlider->setFixedWidth(110);
    transport->addWidget(playBtn);
    transport->addWidget(pauseBtn);
    transport->addWidget(playerCurrentTimeLabel);
    transport->addWidget(totalTimeLabel);
    transport->addStretch();
    transport->addWidget(new QLabel(QStringLiteral("\u266A"), this));
    transport->addWidget(volumeSlider);

    auto* pointRow = new QHBoxLayout;
    left->addLayout(pointRow);
    splitTimeLabel = new QLabel(this);
    splitItemBtn = kestrel::tools::shared::makeFormButton(this, QStringLiteral("splitItemBtn"));
    leftMoveBtn = kestrel::tools::shared::makeFormButton(this, QStringLiteral("leftMoveBtn"));
    rightMoveBtn = kestrel::tools::shared::makeFormButton(this, QStringLiteral("rightMoveBtn"));
    deletedItemBtn = kestrel::tools::shared::makeFormButton(this, QStringLiteral("deletedItemBtn"));
    pointRow->addWidget(splitTimeLabel);
    pointRow->addStretch();
    for (QPushButton* button : {splitItemBtn, leftMoveBtn, rightMoveBtn, deletedItemBtn}) pointRow->addWidget(button);

    // Right: the source, the four modes, the file and Start.
    auto* right = new QVBoxLayout;
    columns->addLayout(right);
    auto* source = kestrel::tools::shared::makeFormPanel(this);
    source->setFixedWidth(320);
    auto* sourceGrid = new QGridLayout(source);
    auto caption = [&](int row) {
        auto* label = new QLabel(source);
        captionLabels_.append(label);
        sourceGrid->addWidget(label, row, 0);
        return label;
    };
    caption(0)->setObjectName(QStringLiteral("titleLine"));
    sourceGrid->itemAtPosition(0, 0)->widget()->setParent(source);
    caption(1);
    caption(2);
    caption(3);
    resolutionValueLabel = new QLabel(source);
    resoucefilesizeValueLabel = new QLabel(source);
    resouceTotaltimeValueLabel = new QLabel(source);
    sourceGrid->addWidget(resolutionValueLabel, 1, 1);
    sourceGrid->addWidget(resoucefilesizeValueLabel, 2, 1);
    sourceGrid->addWidget(resouceTotaltimeValueLabel, 3, 1);
    right->addWidget(source);

    auto* modes = kestrel::tools::shared::makeFormPanel(this);
    modes->setFixedWidth(320);
    auto* modeGrid = new QGridLayout(modes);
    split_timeBtn = new QRadioButton(modes);
    split_sizeBtn = new QRadioButton(modes);
    split_averageBtn = new QRadioButton(modes);
    split_manuallyBtn = new QRadioButton(modes);
    split_timepopBtn = new QComboBox(modes);
    split_sizepopBtn = new QComboBox(modes);
    averageTextField = new QLineEdit(QStringLiteral("2"), modes);
    averagestepperUpBtn = kestrel::tools::shared::makeFormButton(modes, QStringLiteral("averagestepperUpBtn"));
    averagestepperDownBtn = kestrel::tools::shared::makeFormButton(modes, QStringLiteral("averagestepperDownBtn"));
    averagestepperUpBtn->setText(QStringLiteral("\u25B2"));
    averagestepperDownBtn->setText(QStringLiteral("\u25BC"));
    for (QWidget* w : {static_cast<QWidget*>(split_timeBtn), static_cast<QWidget*>(split_sizeBtn),
                       static_cast<QWidget*>(split_averageBtn), static_cast<QWidget*>(split_manuallyBtn)})
        w->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    modeGrid->addWidget(split_timeBtn, 0, 0, 1, 3);
    modeGrid->addWidget(split_timepopBtn, 1, 0, 1, 3);
    modeGrid->addWidget(split_sizeBtn, 2, 0, 1, 3);
    modeGrid->addWidget(split_sizepopBtn, 3, 0, 1, 3);
    modeGrid->addWidget(split_averageBtn, 4, 0, 1, 3);
    modeGrid->addWidget(averageTextField, 5, 0);
    modeGrid->addWidget(averagestepperDownBtn, 5, 1);
    modeGrid->addWidget(averagestepperUpBtn, 5, 2);
    modeGrid->addWidget(split_manuallyBtn, 6, 0, 1, 3);
    right->addWidget(modes);
    right->addStretch();
    auto* actions = new QHBoxLayout;
    addfileBtn = kestrel::tools::shared::makeFormButton(this, QStringLiteral("addfileBtn"));
    startExportBtn = kestrel::tools::shared::makeFormButton(this, QStringLiteral("startExportBtn"));
    actions->addWidget(addfileBtn);
    actions->addStretch();
    actions->addWidget(startExportBtn);
    right->addLayout(actions);

    connect(split_timeBtn, &QRadioButton::clicked, this, [this] { selectMode(SplitMode::Time); });
    connect(split_sizeBtn, &QRadioButton::clicked, this, [this] { selectMode(SplitMode::Size); });
    connect(split_averageBtn, &QRadioButton::clicked, this, [this] { selectMode(SplitMode::Average); });
    connect(split_manuallyBtn, &QRadioButton::clicked, this, [this] { selectMode(SplitMode::Manual); });
    connect(split_timepopBtn, qOverload<int>(&QComboBox::activated), this, [this] { popupChosen(split_timepopBtn, 1); });
    connect(split_sizepopBtn, qOverload<int>(&QComboBox::activated), this, [this] { popupChosen(split_sizepopBtn, 2); });
    connect(averagestepperUpBtn, &QPushButton::clicked, this, [this] { stepAverage(1); });
    connect(averagestepperDownBtn, &QPushButton::clicked, this, [this] { stepAverage(-1); });
    connect(averageTextField, &QLineEdit::textEdited, this, [this] { splitAction(); });
    connect(playBtn, &QPushButton::clicked, this, [this] { playAction(); });
    connect(pauseBtn, &QPushButton::clicked, this, [this] { pauseAction(); });
    connect(volumeSlider, &QSlider::valueChanged, this, [this](int value) {
        if (!fileData_) return;
        fileData_->volume = value / 100.0 * 2.0;
        if (player_) player_->SetVolume(fileData_->volume);
    });
    connect(splitItemBtn, &QPushButton::clicked, this, [this] {
        playerSlider->addSplitItemTime();
        refreshPointButtons();
    });
    connect(leftMoveBtn, &QPushButton::clicked, this, [this] {
        playerSlider->setSelectedSplitIndex(playerSlider->selectedSplitIndex() - 1);
        seekToFraction(playerSlider->progress());
        refreshPointButtons();
    });
    connect(rightMoveBtn, &QPushButton::clicked, this, [this] {
        playerSlider->setSelectedSplitIndex(playerSlider->selectedSplitIndex() + 1);
        seekToFraction(playerSlider->progress());
        refreshPointButtons();
    });
    connect(deletedItemBtn, &QPushButton::clicked, this, [this] {
        playerSlider->removeSplitItemTAtIndex(playerSlider->selectedSplitIndex());
        refreshPointButtons();
    });
    connect(addfileBtn, &QPushButton::clicked, this, [this] { addFileAction(); });
    connect(startExportBtn, &QPushButton::clicked, this, [this] { startExportAction(); });
    playerSlider->ProgressForSliderBlock = [this](float p) { seekToFraction(p); };
    playerSlider->MouseUpForSliderBlock = [this](float p) {
        seekToFraction(p);
        refreshPointButtons();
    };

    playerTimer_ = new QTimer(this);
    playerTimer_->setInterval(100);
    connect(playerTimer_, &QTimer::timeout, this, [this] { pollPlayer(); });
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) {
            changeLanguage();
            kestrel::widgets::applyTextDirection(this);
        }, this);
}

void SplitWindowController::windowDidLoad() {
    enableEdit(false);
    changeLanguage();
    setUpDataWithFilePath();
    kestrel::widgets::applyTextDirection(this);
}

double SplitWindowController::durationSeconds() const {
    if (player_) return player_->duration().seconds();
    return fileData_ ? fileData_->sourceData.duration : 0.0;
}

void SplitWindowController::changeLanguage() {
    addfileBtn->setText(localized(QStringLiteral("AddFileBtnTitle")));
    startExportBtn->setText(localized(QStringLiteral("Export")));
    playBtn->setText(localized(QStringLiteral("SplitPlayTitle")));
    pauseBtn->setText(localized(QStringLiteral("SplitPauseTitle")));
    splitItemBtn->setText(localized(QStringLiteral("SplitAddPointTitle")));
    leftMoveBtn->setText(QStringLiteral("\u25C0"));
    rightMoveBtn->setText(QStringLiteral("\u25B6"));
    leftMoveBtn->setToolTip(localized(QStringLiteral("SplitPreviousPointTitle")));
    rightMoveBtn->setToolTip(localized(QStringLiteral("SplitNextPointTitle")));
    deletedItemBtn->setText(localized(QStringLiteral("SplitDeletePointTitle")));
    splitTimeLabel->setText(localized(QStringLiteral("SplitManualHint")));
    captionLabels_.at(0)->setText(localized(QStringLiteral("sourceInformationLabelStringVlaue")));
    captionLabels_.at(1)->setText(localized(QStringLiteral("resolutionLabelStringValue")));
    captionLabels_.at(2)->setText(localized(QStringLiteral("FileSizeLabelStringValue")));
    captionLabels_.at(3)->setText(localized(QStringLiteral("TotalTimeLabelStringValue")));
    split_timeBtn->setText(localized(QStringLiteral("LimiteachSegmentToBtnTitle")));
    split_sizeBtn->setText(localized(QStringLiteral("LimiteachFileSizeBtnTitle")));
    split_averageBtn->setText(localized(QStringLiteral("AverageSplitBtnTitle")));
    split_manuallyBtn->setText(localized(QStringLiteral("ManuallySplitBtnTitle")));
    for (QRadioButton* radio : {split_timeBtn, split_sizeBtn, split_averageBtn, split_manuallyBtn}) radio->setToolTip(radio->text());
    windowTitleLabel->setText(QStringLiteral("%1 %2").arg(localized(QStringLiteral("Split_Title")),
                                                           services::Language::getCurrentVersion()));
    fillPopups();
    if (exportDialog_ && !exporting()) exportDialog_->changeLanguage();
}

void SplitWindowController::fillPopups() {
    const double duration = fileData_ ? fileData_->sourceData.duration : 0.0;
    const double size = fileData_ ? fileData_->sourceData.fileSize : 0.0;
    auto fill = [](QComboBox* popup, const QList<int>& values, const QString& unit, int chosen) {
        const QString keep = popup->currentText();
        QSignalBlocker block(popup);
        popup->clear();
        for (int value : values) popup->addItem(QStringLiteral("%1 %2").arg(value).arg(unit), value);
        popup->addItem(localized(QStringLiteral("SplitCustomValue")));
        const int wanted = chosen > 0 ? popup->findData(chosen) : -1;
        if (wanted >= 0) popup->setCurrentIndex(wanted);
        else if (firstNumber(keep) > 0) {
            // A custom value stays chosen through a language switch.
            popup->insertItem(popup->count() - 1, QStringLiteral("%1 %2").arg(firstNumber(keep)).arg(unit));
            popup->setCurrentIndex(popup->count() - 2);
        }
    };
    fill(split_timepopBtn, timeListValues(duration), localized(QStringLiteral("SecsValue")),
         split_timepopBtn->count() == 0 ? int(std::ceil(float(duration) * 0.25f)) : int(firstNumber(split_timepopBtn->currentText())));
    fill(split_sizepopBtn, sizeListValues(size), localized(QStringLiteral("MBValue")),
         split_sizepopBtn->count() == 0 ? int(std::ceil(float(size) * 0.25f)) : int(firstNumber(split_sizepopBtn->currentText())));
}

bool SplitWindowController::setUpDataWithFilePath() {
    kestrel::model::SimpleDataPtr record = session::probeMediaFile(filePath_, {});
    if (!record) {
        if (!filePath_.isEmpty()) showMessage(localized(QStringLiteral("SplitCannotOpenMessage")));
        return false;
    }
    fileData_ = record;
    const auto& source = fileData_->sourceData;
    fileData_->targetData.extension = QFileInfo(filePath_).suffix();
    split_timepopBtn->clear();
    split_sizepopBtn->clear();
    fillPopups();
    enableEdit(true);
    resolutionValueLabel->setText(QStringLiteral("%1x%2").arg(source.width).arg(source.height));
    resoucefilesizeValueLabel->setText(QStringLiteral("%1 MB").arg(double(source.fileSize), 0, 'f', 2));
    resouceTotaltimeValueLabel->setText(services::HelpClass::returnTimeToStr(source.duration));
    {
        QSignalBlocker block(volumeSlider);
        volumeSlider->setValue(int(fileData_->volume * 50));
    }
    initPlayer();
    averageTextField->setText(QStringLiteral("2"));
    split_averageBtn->setChecked(true);
    selectMode(SplitMode::Average);
    return true;
}

SplitMode SplitWindowController::mode() const {
    if (split_timeBtn->isChecked()) return SplitMode::Time;
    if (split_sizeBtn->isChecked()) return SplitMode::Size;
    if (split_averageBtn->isChecked()) return SplitMode::Average;
    return SplitMode::Manual;
}

void SplitWindowController::enableEdit(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{split_timeBtn, split_sizeBtn, split_averageBtn, split_manuallyBtn,
                                                      playBtn, pauseBtn, volumeSlider, splitItemBtn})
        w->setEnabled(enabled && fileData_);
    playerSlider->setDisable(!(enabled && fileData_));
    const SplitMode current = mode();
    split_timepopBtn->setEnabled(enabled && fileData_ && current == SplitMode::Time);
    split_sizepopBtn->setEnabled(enabled && fileData_ && current == SplitMode::Size);
    for (QWidget* w : std::initializer_list<QWidget*>{averageTextField, averagestepperUpBtn, averagestepperDownBtn})
        w->setEnabled(enabled && fileData_ && current == SplitMode::Average);
    addfileBtn->setEnabled(enabled);
    refreshPointButtons();
    if (!enabled) {
        leftMoveBtn->setEnabled(false);
        rightMoveBtn->setEnabled(false);
        deletedItemBtn->setEnabled(false);
    }
}

void SplitWindowController::selectMode(SplitMode mode) {
    split_timeBtn->setChecked(mode == SplitMode::Time);
    split_sizeBtn->setChecked(mode == SplitMode::Size);
    split_averageBtn->setChecked(mode == SplitMode::Average);
    split_manuallyBtn->setChecked(mode == SplitMode::Manual);
    playerSlider->removeAllSplitItem();
    const bool manual = mode == SplitMode::Manual;
    for (QWidget* w : std::initializer_list<QWidget*>{splitTimeLabel, splitItemBtn, leftMoveBtn, rightMoveBtn, deletedItemBtn})
        w->setVisible(manual);
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
    playerSlider->removeAllSplitItem();
    for (double p : points) playerSlider->addSplitItemTime(float(p));
    refreshPointButtons();
}

void SplitWindowController::popupChosen(QComboBox* popup, int type) {
    if (popup->currentIndex() == popup->count() - 1) {
        const double max = type == 1 ? durationSeconds() : fileData_->sourceData.fileSize;
        QString typed;
        if (numberPrompt()) {
            typed = numberPrompt()(type, max);
        } else {
            AlertInputWindowController prompt(this);
            const QString unit = localized(type == 1 ? QStringLiteral("SecsValue") : QStringLiteral("MBValue"));
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
        const double value = firstNumber(typed);
        const QString unit = localized(type == 1 ? QStringLiteral("SecsValue") : QStringLiteral("MBValue"));
        QSignalBlocker block(popup);
        if (value > 0) {
            const QString title = QStringLiteral("%1 %2").arg(value).arg(unit);
            int index = popup->findText(title);
            if (index < 0) {
                popup->insertItem(popup->count() - 1, title, value);
                index = popup->count() - 2;
            }
            popup->setCurrentIndex(index);
        } else {
            popup->setCurrentIndex(0);  // nothing typed: the first length stays chosen
        }
    }
    splitAction();
}

void SplitWindowController::stepAverage(int delta) {
    const double value = delta > 0 ? averageTextField->text().toDouble() + 1 : std::max(averageTextField->text().toDouble() - 1, 2.0);
    averageTextField->setText(QString::number(value));
    splitAction();
}

void SplitWindowController::refreshPointButtons() {
    const int count = playerSlider->count();
    const int selected = playerSlider->selectedSplitIndex();
    const bool editing = fileData_ && !exporting();
    leftMoveBtn->setEnabled(editing && selected > 0);
    rightMoveBtn->setEnabled(editing && selected >= 0 && selected + 1 < count);
    deletedItemBtn->setEnabled(editing && count > 0);
    startExportBtn->setEnabled(fileData_ && !exporting() && count > 0);
    if (mode() == SplitMode::Manual && selected >= 0 && selected < count)
        splitTimeLabel->setText(services::HelpClass::returnTimeToStr(playerSlider->getProgressForIndex(selected) * durationSeconds()));
    else if (mode() == SplitMode::Manual)
        splitTimeLabel->setText(localized(QStringLiteral("SplitManualHint")));
}

void SplitWindowController::addFileAction() {
    widgets::OpenPanelRequest request;
    request.cancelTitle = localized(QStringLiteral("OpenPanelCancelTitle"));
    request.prompt = localized(QStringLiteral("OpenPanelOpenTitle"));
    request.allowedFileTypes = widgets::openPanelFileTypes(false, true);
    const QStringList chosen = widgets::runOpenPanel(request);
    if (chosen.isEmpty()) return;
    const QString previous = filePath_;
    filePath_ = chosen.first();
    if (!setUpDataWithFilePath()) filePath_ = previous;
}

void SplitWindowController::initPlayer() {
    if (playerTimer_) playerTimer_->stop();
    player_.reset();
    delete audioLogo_;
    audioLogo_ = nullptr;
    if (!fileData_) return;
    player_ = player::DIVuverIzizud::initWithString(filePath_.toStdString(), QRectF(QPointF(0, 0), QSizeF(contentLeftView->size())));
    if (!player_) return;
    QWidget* view = player_->view();
    view->setParent(contentLeftView);
    auto* layout = contentLeftView->layout() ? contentLeftView->layout() : new QVBoxLayout(contentLeftView);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    view->show();
    player_->SetVolume(fileData_->volume);
    player_->setPlayerDidEndBlock([this] {
        pauseAction();
        seekToFraction(0);
        playerSlider->setProgress(0);
    });
    if (fileData_->sourceData.width == 0 && fileData_->sourceData.height == 0) {
        audioLogo_ = new QLabel(contentLeftView);
        audioLogo_->setAlignment(Qt::AlignCenter);
        audioLogo_->setPixmap(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Join/FileList/imgAudio")));
        layout->addWidget(audioLogo_);
    }
}

void SplitWindowController::playAction() {
    if (!player_) return;
    player_->play();
    playerTimer_->start();
}

void SplitWindowController::pauseAction() {
    if (!player_) return;
    playerTimer_->stop();
    player_->pause();
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
}

bool SplitWindowController::exporting() const { return job_ && job_->running(); }

void SplitWindowController::showMessage(const QString& text) {
    if (messagePresenter()) {
        messagePresenter()(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, windowTitleLabel->text(), text, QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setText(localized(QStringLiteral("OKBtnTitle")));
    box.exec();
}

void SplitWindowController::startExportAction() {
    if (!fileData_) {
        showMessage(localized(QStringLiteral("scrlabelplaceholderString")));
        return;
    }
    pauseAction();
    exportSession_.reset();
    if (exportDialog_) exportDialog_->deleteLater();
    exportDialog_ = new exportkit::ExportWindowController(this);
    exportDialog_->setInputFileName(QFileInfo(filePath_).fileName());
    exportDialog_->setHiddenMergeAllIntoOne(true);
    exportDialog_->setStartExportCallbackBlock([this](const QString& path) { startExportCallback(path); });
    exportSession_ = std::make_unique<exportkit::ExportSession>(exportDialog_);
    if (dialogPresenter())
        dialogPresenter()(exportDialog_);
    else
        exportDialog_->runModal(this);
}

void SplitWindowController::startExportCallback(const QString& path) {
    if (!exportSession_) return;
    if (exporting()) {
        job_->stop();  // its end puts the dialog and the window back
        return;
    }
    const QFileInfo proposed(path);
    outputPath_ = QDir(proposed.path()).filePath(QFileInfo(filePath_).completeBaseName() + QLatin1Char('_') +
                                                 proposed.completeBaseName());
    session::SplitPlan plan;
    plan.sourcePath = filePath_;
    plan.folder = outputPath_;
    plan.baseName = QFileInfo(fileData_->name).completeBaseName() + QStringLiteral("-split");
    plan.extension = fileData_->targetData.extension;
    plan.forceEncode = exportDialog_ && exportDialog_->reEncoding();
    if (mode() == SplitMode::Size)
        plan.pieceLimitBytes = int64_t(firstNumber(split_sizepopBtn->currentText()) * 1024.0 * 1024.0);
    else
        for (float p : playerSlider->getTimeProgresses()) plan.endFractions.append(double(p));

    auto* job = new session::SplitJob(plan, this);
    job_ = job;
    connect(job, &session::Job::progressChanged, this, [this](double fraction) {
        if (exportSession_) exportSession_->setProgress(fraction);
    });
    connect(job, &session::Job::finished, this, [this, job](const session::JobResult& result) {
        jobFinished(result);
        job->deleteLater();
    });
    exportSession_->begin();
    enableEdit(false);
    startExportBtn->setEnabled(false);
    job->start();
}

void SplitWindowController::jobFinished(const session::JobResult& result) {
    if (exportSession_) {
        if (result.done())
            exportSession_->finishSucceeded(outputPath_);
        else if (result.stopped())
            exportSession_->finishStopped();
        else if (!result.message.isEmpty())
            exportSession_->finishFailed(result.message);
        else
            exportSession_->finishFailed(result.code);
    }
    job_ = nullptr;
    enableEdit(true);
}

void SplitWindowController::closeEvent(QCloseEvent* event) {
    pauseAction();
    if (job_) job_->stop();
    ToolWindow::closeEvent(event);
}

}  // namespace kestrel::tools::splitter

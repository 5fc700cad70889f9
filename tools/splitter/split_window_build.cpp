// The splitter window's controls from the widget kit, their layout and their wiring.
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/player/DIVuverIzizud.h"
#include "export/ui/export_session.h"
#include "platform/notification_center.h"
#include "services/help_class.h"
#include "services/language.h"
#include "tools/shared/kit_controls.h"
#include "tools/splitter/split_progress_view.h"
#include "tools/splitter/split_window_controller.h"
#include "widgets/image_view.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::splitter {

using services::localized;
using widgets::ZorButton;
namespace kit = kestrel::tools::shared;

namespace {

// A value frame: the pop-up list, showing the chosen value and an arrow (tag 2000) over itself.
QWidget* popupFrame(QWidget* parent, QLabel*& text, QComboBox*& popup, const QString& name) {
    QWidget* frame = kit::toolPanel(parent, Qt::transparent, 3, name, 1);
    frame->setFixedHeight(26);
    frame->setMinimumWidth(150);
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(0, 0, 0, 0);
    popup = new QComboBox(frame);
    popup->setObjectName(name + QStringLiteral("Popup"));
    popup->setCursor(Qt::PointingHandCursor);
    popup->setStyleSheet(QStringLiteral(
        "QComboBox { background: transparent; border: none; color: transparent; }"
        "QComboBox::drop-down { border: none; width: 0px; }"
        "QComboBox QAbstractItemView { background: rgb(32,35,43); color: rgb(170,177,185);"
        " selection-background-color: rgb(63,179,167); selection-color: white; }"));
    // The chosen value and the arrow are drawn inside the pop-up, which takes every press.
    auto* shown = new QWidget(popup);
    shown->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* fill = new QHBoxLayout(popup);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(shown);
    auto* row = new QHBoxLayout(shown);
    row->setContentsMargins(8, 0, 4, 0);
    text = kit::toolLabel(shown, 13, kit::kToolText, name + QStringLiteral("Text"));
    auto* arrow = new widgets::ImageView(shown);
    arrow->setTag(2000);
    arrow->setFixedSize(19, 13);
    arrow->setImageScaling(widgets::ImageScaling::ProportionallyDown);
    row->addWidget(text, 1);
    row->addWidget(arrow);
    grid->addWidget(popup, 0, 0);
    return frame;
}

}  // namespace

void SplitWindowController::buildViews() {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(16, 10, 16, 14);
    root->setSpacing(8);
    windowTitleLabel = kit::toolLabel(this, 16, kit::kToolText, QStringLiteral("windowTitleLabel"));
    windowTitleLabel->setAlignment(Qt::AlignCenter);
    root->addWidget(windowTitleLabel);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(14);
    root->addLayout(columns, 1);

    // Left: the preview, the split-point bar, the transport and the point buttons.
    auto* left = new QWidget(this);
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(0, 0, 0, 0);
    leftColumn->setSpacing(4);
    contentLeftView = kit::toolPanel(left, QColor(23, 23, 23), 0, QStringLiteral("contentLeftView"));
    contentLeftView->setMinimumSize(480, 300);
    auto* previewLayout = new QVBoxLayout(contentLeftView);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    leftColumn->addWidget(contentLeftView, 1);
    playerSlider = new SplitProgressView(left);
    // The bar takes the focus, so Tab leaves a typed field for it and commits the field.
    playerSlider->setFocusPolicy(Qt::StrongFocus);
    leftColumn->addWidget(playerSlider);
    buildTransport(left);
    columns->addWidget(left, 1);

    // Right: the source, the four modes, Add File and Export.
    contentRightView = new QWidget(this);
    contentRightView->setObjectName(QStringLiteral("contentRightView"));
    contentRightView->setFixedWidth(340);
    auto* right = new QVBoxLayout(contentRightView);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(10);
    QWidget* source = kit::toolPanel(contentRightView, kit::kToolPanel, 5, QStringLiteral("sourcePanel"));
    auto* sourceGrid = new QGridLayout(source);
    sourceGrid->setContentsMargins(14, 10, 14, 12);
    sourceGrid->setVerticalSpacing(6);
    sourceInformationLabel = kit::toolLabel(source, 13, kit::kToolCaption, QStringLiteral("sourceInformationLabel"));
    resolutionLabel = kit::toolLabel(source, 13, kit::kToolText);
    resoucefilesizeLabel = kit::toolLabel(source, 13, kit::kToolText);
    resouceTotaltimeLabel = kit::toolLabel(source, 13, kit::kToolText);
    resolutionValueLabel = kit::toolLabel(source, 13, kit::kToolText, QStringLiteral("resolutionValueLabel"));
    resoucefilesizeValueLabel = kit::toolLabel(source, 13, kit::kToolText, QStringLiteral("resoucefilesizeValueLabel"));
    resouceTotaltimeValueLabel = kit::toolLabel(source, 13, kit::kToolText, QStringLiteral("resouceTotaltimeValueLabel"));
    // Times carry no direction; a size with its unit reads in the language's direction.
    kit::keepLeftToRight(resouceTotaltimeValueLabel);
    sourceGrid->addWidget(sourceInformationLabel, 0, 0, 1, 2);
    sourceGrid->addWidget(resolutionLabel, 1, 0);
    sourceGrid->addWidget(resolutionValueLabel, 1, 1);
    sourceGrid->addWidget(resoucefilesizeLabel, 2, 0);
    sourceGrid->addWidget(resoucefilesizeValueLabel, 2, 1);
    sourceGrid->addWidget(resouceTotaltimeLabel, 3, 0);
    sourceGrid->addWidget(resouceTotaltimeValueLabel, 3, 1);
    sourceGrid->setColumnStretch(1, 1);
    right->addWidget(source);

    QWidget* modes = kit::toolPanel(contentRightView, kit::kToolPanel, 5, QStringLiteral("modesPanel"));
    buildModes(modes);
    right->addWidget(modes);
    right->addStretch(1);

    auto* actions = new QHBoxLayout;
    addfileBtn = kit::titledButton(contentRightView, QStringLiteral("ZantImage/Join/btnAddFile"), QStringLiteral(".png"),
                                   kit::kToolText, QStringLiteral("addfileBtn"));
    startExportBtn = kit::titledButton(contentRightView, QStringLiteral("ZantImage/Reverse/btnStart"), QStringLiteral("@2x.png"),
                                       Qt::white, QStringLiteral("startExportBtn"));
    startExportBtn->setFixedHeight(32);
    addfileBtn->setFixedHeight(32);
    actions->addWidget(addfileBtn);
    actions->addStretch(1);
    actions->addWidget(startExportBtn);
    right->addLayout(actions);
    columns->addWidget(contentRightView);

    addfileBtn->setMouseDownAction([this](ZorButton*) { addFileAction(); });
    startExportBtn->setMouseDownAction([this](ZorButton*) { startExportAction(); });
    wireBar();

    playerTimer_ = new QTimer(this);
    playerTimer_->setInterval(100);
    connect(playerTimer_, &QTimer::timeout, this, [this] { pollPlayer(); });
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) {
            changeLanguage();
            kit::applyToolTextDirection(this);
        }, this);
}

void SplitWindowController::buildModes(QWidget* panel) {
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(14, 12, 14, 12);
    grid->setVerticalSpacing(6);
    grid->setColumnMinimumWidth(0, 22);
    const QString folder = QStringLiteral("ZantImage/Split");
    split_timeBtn = kit::radioButton(panel, folder, QStringLiteral("split_timeBtn"));
    split_sizeBtn = kit::radioButton(panel, folder, QStringLiteral("split_sizeBtn"));
    split_averageBtn = kit::radioButton(panel, folder, QStringLiteral("split_averageBtn"));
    split_manuallyBtn = kit::radioButton(panel, folder, QStringLiteral("split_manuallyBtn"));
    split_timeBtn->setSelected(true);
    split_timepopBgView = popupFrame(panel, split_timepopTextField, split_timepopBtn, QStringLiteral("split_timepopBgView"));
    split_sizepopBgView = popupFrame(panel, split_sizepopTextField, split_sizepopBtn, QStringLiteral("split_sizepopBgView"));

    split_averageBgView = kit::toolPanel(panel, Qt::transparent, 3, QStringLiteral("split_averageBgView"), 1);
    split_averageBgView->setFixedSize(110, 26);
    auto* averageRow = new QHBoxLayout(split_averageBgView);
    averageRow->setContentsMargins(6, 0, 2, 0);
    averageRow->setSpacing(2);
    averageTextField = new widgets::RDTextField(split_averageBgView);
    averageTextField->setObjectName(QStringLiteral("averageTextField"));
    averageTextField->setFrame(false);
    averageTextField->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,12}")), averageTextField));
    averageTextField->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; color: rgb(170,177,185); }"
                                                   "QLineEdit:disabled { color: rgba(170,177,185,110); }"));
    averageTextField->setPointColor(kit::kToolText);
    averageTextField->setMouseDelegate(this);
    averageTextField->setText(QStringLiteral("2"));
    kit::keepLeftToRight(averageTextField);
    auto* steppers = new QVBoxLayout;
    steppers->setSpacing(0);
    averagestepperUpBtn = kit::pictureButton(split_averageBgView, folder + QStringLiteral("/btnSpinUp"), QStringLiteral("@2x.png"),
                                             QStringLiteral("averagestepperUpBtn"));
    averagestepperDownBtn = kit::pictureButton(split_averageBgView, folder + QStringLiteral("/btnSpinDown"), QStringLiteral("@2x.png"),
                                               QStringLiteral("averagestepperDownBtn"));
    averagestepperUpBtn->setTag(10);
    steppers->addWidget(averagestepperUpBtn);
    steppers->addWidget(averagestepperDownBtn);
    averageRow->addWidget(averageTextField, 1);
    averageRow->addLayout(steppers);
    averageLimitLabel = kit::toolLabel(panel, 12, kit::kToolCaption, QStringLiteral("averageLimitLabel"));
    averageLimitLabel->setWordWrap(true);
    averageLimitLabel->hide();

    grid->addWidget(split_timeBtn, 0, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(split_timepopBgView, 1, 1, Qt::AlignLeft);
    grid->addWidget(split_sizeBtn, 2, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(split_sizepopBgView, 3, 1, Qt::AlignLeft);
    grid->addWidget(split_averageBtn, 4, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(split_averageBgView, 5, 1, Qt::AlignLeft);
    grid->addWidget(averageLimitLabel, 6, 1);
    grid->addWidget(split_manuallyBtn, 7, 0, 1, 2, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);

    const struct {
        ZorButton* radio;
        SplitMode mode;
    } radios[] = {{split_timeBtn, SplitMode::Time},
                  {split_sizeBtn, SplitMode::Size},
                  {split_averageBtn, SplitMode::Average},
                  {split_manuallyBtn, SplitMode::Manual}};
    for (const auto& r : radios) {
        const SplitMode mode = r.mode;
        r.radio->setMouseDownAction([this, mode](ZorButton*) { selectMode(mode); });
    }
    connect(split_timepopBtn, qOverload<int>(&QComboBox::activated), this, [this] { popupChosen(split_timepopBtn, 1); });
    connect(split_sizepopBtn, qOverload<int>(&QComboBox::activated), this, [this] { popupChosen(split_sizepopBtn, 2); });
    connect(averageTextField, &QLineEdit::editingFinished, this, [this] { commitAverage(); });
    averagestepperUpBtn->setMouseDownAction([this](ZorButton*) { stepAverage(1); });
    averagestepperDownBtn->setMouseDownAction([this](ZorButton*) { stepAverage(-1); });
}

void SplitWindowController::buildTransport(QWidget* column) {
    auto* layout = static_cast<QVBoxLayout*>(column->layout());
    auto* transport = new QHBoxLayout;
    transport->setSpacing(6);
    playBtn = kit::pictureButton(column, QStringLiteral("ZantImage/Join/btnPlay"), QStringLiteral("@2x.png"), QStringLiteral("playBtn"));
    pauseBtn = kit::pictureButton(column, QStringLiteral("ZantImage/GifMaker/btnStop"), QStringLiteral("@2x.png"), QStringLiteral("pauseBtn"));
    volumeBtn = kit::pictureButton(column, QStringLiteral("ZantImage/Reverse/btnOpenVolume"), QStringLiteral("@2x.png"),
                                   QStringLiteral("volumeBtn"));
    volumeBtn->setSelectedImage(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Reverse/btnCloseVolume_Normal@2x.png")));
    playerCurrentTimeLabel = kit::toolLabel(column, 13, kit::kToolText, QStringLiteral("playerCurrentTimeLabel"));
    totalTimeLabel = kit::toolLabel(column, 13, kit::kToolText, QStringLiteral("totalTimeLabel"));
    playerCurrentTimeLabel->setText(QStringLiteral("00:00:00.000"));
    for (QLabel* time : {playerCurrentTimeLabel, totalTimeLabel}) kit::keepLeftToRight(time);
    volumeSlider = new widgets::RDProgressSlider(QRectF(0, 0, 110, 20), column);
    volumeSlider->setObjectName(QStringLiteral("volumeSlider"));
    volumeSlider->setFixedSize(110, 20);
    volumeSlider->setProgress(0.5f);
    volumeSlider->setTickrefresh(true);
    volumeSlider->setDelegate(this);
    volumeSlider->setDisable(true);
    transport->addWidget(playBtn);
    transport->addWidget(pauseBtn);
    transport->addSpacing(6);
    transport->addWidget(playerCurrentTimeLabel);
    transport->addWidget(totalTimeLabel);
    transport->addStretch(1);
    transport->addWidget(volumeBtn);
    transport->addWidget(volumeSlider);
    layout->addLayout(transport);

    auto* points = new QHBoxLayout;
    points->setSpacing(6);
    splitTimeLabel = kit::toolLabel(column, 13, kit::kToolText, QStringLiteral("splitTimeLabel"));
    const QString folder = QStringLiteral("ZantImage/Split/");
    splitItemBtn = kit::pictureButton(column, folder + QStringLiteral("btnHandSplit"), QStringLiteral("@2x.png"), QStringLiteral("splitItemBtn"));
    leftMoveBtn = kit::pictureButton(column, folder + QStringLiteral("btnLastPoint"), QStringLiteral("@2x.png"), QStringLiteral("leftMoveBtn"));
    rightMoveBtn = kit::pictureButton(column, folder + QStringLiteral("btnNextPoint"), QStringLiteral("@2x.png"), QStringLiteral("rightMoveBtn"));
    deletedItemBtn = kit::pictureButton(column, folder + QStringLiteral("btnRemovePoint"), QStringLiteral("@2x.png"),
                                        QStringLiteral("deletedItemBtn"));
    points->addWidget(splitTimeLabel, 1);
    for (ZorButton* button : {splitItemBtn, leftMoveBtn, rightMoveBtn, deletedItemBtn}) {
        button->hide();
        points->addWidget(button);
    }
    auto* pointRow = new QWidget(column);
    pointRow->setFixedHeight(26);
    pointRow->setLayout(points);
    points->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pointRow);

    playBtn->setMouseDownAction([this](ZorButton*) { playToggle(); });
    pauseBtn->setMouseDownAction([this](ZorButton*) { stopAction(); });
    volumeBtn->setMouseDownAction([this](ZorButton*) { muteToggle(); });
    splitItemBtn->setMouseDownAction([this](ZorButton*) {
        playerSlider->addSplitItemTime();
        splitTimeLabel->setText(services::HelpClass::returnTimeToStr(float(playerSlider->progress() * durationSeconds())));
        refreshPointButtons();
    });
    const auto move = [this](int delta) {
        const int s = playerSlider->selectedSplitIndex();
        playerSlider->setSelectedSplitIndex(delta < 0 ? (s < 2 ? 0 : s - 1) : (s < 0 ? 0 : s + 1));
        const float p = playerSlider->getProgressForIndex(playerSlider->selectedSplitIndex());
        seekToFraction(p);
        splitTimeLabel->setText(services::HelpClass::returnTimeToStr(float(p * durationSeconds())));
        refreshPointButtons();
    };
    leftMoveBtn->setMouseDownAction([move](ZorButton*) { move(-1); });
    rightMoveBtn->setMouseDownAction([move](ZorButton*) { move(+1); });
    deletedItemBtn->setMouseDownAction([this](ZorButton*) {
        playerSlider->removeSplitItemTAtIndex(playerSlider->selectedSplitIndex());
        refreshPointButtons();
    });
}

void SplitWindowController::wireBar() {
    // A press on the bar pauses the playing preview until the release, so the poll does not
    // move the knob under the pointer.
    playerSlider->MouseDownForSliderBlock = [this](float p) {
        seekToFraction(p);
        if (playing()) {
            resumeAfterSeek_ = true;
            playerTimer_->stop();
            player_->pause();
        }
    };
    playerSlider->ProgressForSliderBlock = [this](float p) { seekToFraction(p); };
    playerSlider->MouseUpForSliderBlock = [this](float p) {
        seekToFraction(p);
        if (resumeAfterSeek_ && player_) {
            resumeAfterSeek_ = false;
            player_->play();
            playerTimer_->start();
        }
        refreshTransport();
        refreshPointButtons();
    };
    playerSlider->SelectedItemBlock = [this](int index) {
        if (!player_) return;
        seekToFraction(playerSlider->getProgressForIndex(index));
        splitTimeLabel->setText(playerCurrentTimeLabel->text());
        refreshPointButtons();
    };
}

void SplitWindowController::changeLanguage() {
    kit::setButtonTitle(addfileBtn, localized(QStringLiteral("AddFileBtnTitle")));
    kit::setButtonTitle(startExportBtn, localized(QStringLiteral("Export")));
    playBtn->setToolTip(localized(playing() ? QStringLiteral("SplitPauseTitle") : QStringLiteral("SplitPlayTitle")));
    pauseBtn->setToolTip(localized(QStringLiteral("SplitStopTitle")));
    volumeBtn->setToolTip(localized(QStringLiteral("SplitMuteTitle")));
    splitItemBtn->setToolTip(localized(QStringLiteral("SplitAddPointTitle")));
    leftMoveBtn->setToolTip(localized(QStringLiteral("SplitPreviousPointTitle")));
    rightMoveBtn->setToolTip(localized(QStringLiteral("SplitNextPointTitle")));
    deletedItemBtn->setToolTip(localized(QStringLiteral("SplitDeletePointTitle")));
    sourceInformationLabel->setText(localized(QStringLiteral("sourceInformationLabelStringVlaue")));
    resolutionLabel->setText(localized(QStringLiteral("resolutionLabelStringValue")));
    resoucefilesizeLabel->setText(localized(QStringLiteral("FileSizeLabelStringValue")));
    resouceTotaltimeLabel->setText(localized(QStringLiteral("TotalTimeLabelStringValue")));
    if (!fileData_) {
        resolutionValueLabel->clear();
        resoucefilesizeValueLabel->setText(QStringLiteral("0.0 ") + localized(QStringLiteral("MBValue")));
        resouceTotaltimeValueLabel->setText(QStringLiteral("00:00:00.000"));
    }
    kit::setButtonTitle(split_timeBtn, localized(QStringLiteral("LimiteachSegmentToBtnTitle")));
    kit::setButtonTitle(split_sizeBtn, localized(QStringLiteral("LimiteachFileSizeBtnTitle")));
    kit::setButtonTitle(split_averageBtn, localized(QStringLiteral("AverageSplitBtnTitle")));
    kit::setButtonTitle(split_manuallyBtn, localized(QStringLiteral("ManuallySplitBtnTitle")));
    if (playerSlider->count() == 0 && mode() == SplitMode::Manual)
        splitTimeLabel->setText(localized(QStringLiteral("SplitManualHint")));
    if (averageLimitLabel->isVisibleTo(this))
        averageLimitLabel->setText(localized(QStringLiteral("SplitPartsLimitNote")).arg(maxEqualParts()));
    windowTitleLabel->setText(QStringLiteral("%1 %2").arg(localized(QStringLiteral("Split_Title")),
                                                           services::Language::getCurrentVersion()));
    fillPopups();
    if (exportDialog_ && !exporting()) exportDialog_->changeLanguage();
}

}  // namespace kestrel::tools::splitter

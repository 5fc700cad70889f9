#include "tools/cutter/batch_cutter_window_controller.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "editor/shutter_sound.h"
#include "export/ui/reveal_in_file_manager.h"
#include "platform/notification_center.h"
#include "services/language.h"
#include "tools/cutter/batch_cut_run.h"
#include "tools/cutter/cut_range_panel.h"
#include "tools/cutter/cut_time.h"
#include "tools/cutter/cutter_look.h"
#include "tools/shared/clip_list_view.h"
#include "tools/shared/media_input.h"
#include "tools/shared/simple_alert.h"
#include "tools/shared/output_folder_popup.h"
#include "tools/shared/support_mail.h"
#include "widgets/dialogs/app_icon.h"
#include "widgets/dialogs/zor_open_alert.h"
#include "widgets/ns_progress_view.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::cutter {

using kestrel::model::SimpleDataPtr;
using kestrel::widgets::ZorButton;
using services::localized;

BatchCutterWindowController::BatchCutterWindowController(QWidget* parent)
    : kestrel::widgets::ToolWindow(parent), shutterSound_(kestrel::editor::makeDeviceShutterSound()) {
    resize(1180, 760);
    // Windows are never mirrored; text controls follow the language (changeLanguage).
    setLayoutDirection(Qt::LeftToRight);
    run_ = new BatchCutRun(this);
    buildWindow();
    connect(run_, &BatchCutRun::fileStarted, this, [this](int row) {
        fileListTableView_->setSelectedRow(row);
        fileListTableView_->setSelectionReportSuppressed(true);
        fileListTableView_->reloadData();
        fileListTableView_->setSelectionReportSuppressed(false);
        fileListTableView_->showProgress(row);
        fileListTableView_->setExportProgress(0);
    });
    connect(run_, &BatchCutRun::fileProgress, this, [this](int, double p) { fileListTableView_->setExportProgress(float(p)); });
    connect(run_, &BatchCutRun::fileEnded, this, [this](int row) { fileListTableView_->hiddenProgress(row); });
    connect(run_, &BatchCutRun::overallProgress, this, [this](double p) { joinnerProgressView_->setProgress(float(p)); });
    connect(run_, &BatchCutRun::finished, this, &BatchCutterWindowController::runFinished);
    platform::NotificationCenter::defaultCenter().addObserver(platform::kChangeLanguageNotification,
                                                              [this](const platform::Notification&) { changeLanguage(); }, this);
}

BatchCutterWindowController::~BatchCutterWindowController() {
    platform::NotificationCenter::defaultCenter().removeObserversOf(this);
}

QString BatchCutterWindowController::outputPath() const { return outputFolderBtn_->outputPath(); }

void BatchCutterWindowController::setShutterSound(std::unique_ptr<kestrel::editor::ShutterSound> sound) {
    shutterSound_ = std::move(sound);
}
bool BatchCutterWindowController::running() const { return run_->running(); }

void BatchCutterWindowController::buildWindow() {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(16, 10, 16, 10);
    root->setSpacing(8);

    windowTitleLabel_ = new QLabel(this);
    windowTitleLabel_->setAlignment(Qt::AlignCenter);
    windowTitleLabel_->setStyleSheet(QStringLiteral("color: rgb(170,177,185); font-size: 16px;"));
    root->addWidget(windowTitleLabel_);

    auto* body = new QHBoxLayout;
    body->setSpacing(12);
    root->addLayout(body, 1);

    // Left: add button, then the list or the empty-list view, then the list buttons.
    auto* left = new QVBoxLayout;
    addfileBtn_ = textButton(this);
    addfileBtn_->setMouseDownAction([this](ZorButton*) { addFileAction(); });
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(addfileBtn_);
    addRow->addStretch(1);
    left->addLayout(addRow);
    listStack_ = new QStackedWidget(this);
    emptyView_ = new QWidget(listStack_);
    emptyView_->setObjectName(QStringLiteral("emptyView"));
    emptyView_->setAttribute(Qt::WA_StyledBackground);
    emptyView_->setStyleSheet(QStringLiteral("#emptyView { border: 2px solid rgb(60,64,72); border-radius: 5px; }"));
    auto* emptyColumn = new QVBoxLayout(emptyView_);
    emptyColumn->setContentsMargins(24, 24, 24, 24);
    gettingstatedlabel_ = dimLabel(emptyView_, 18);
    gettingstatedlabel_->setWordWrap(true);
    emptyColumn->addStretch(1);
    emptyColumn->addWidget(gettingstatedlabel_);
    for (QLabel*& step : steps_) {
        step = dimLabel(emptyView_, 14);
        step->setWordWrap(true);
        emptyColumn->addWidget(step);
    }
    emptyColumn->addSpacing(16);
    emailLink_ = new kestrel::tools::shared::SupportMailLink(emptyView_);
    emptyColumn->addWidget(emailLink_);
    emptyColumn->addStretch(2);
    fileListTableView_ = new kestrel::tools::shared::ClipListView(listStack_);
    fileListTableView_->setRowHeight(100);
    fileListTableView_->setSelectItemCallback([this](const SimpleDataPtr&) {
        QTimer::singleShot(0, this, [this] { initPlayer(); });
    });
    listStack_->addWidget(emptyView_);
    listStack_->addWidget(fileListTableView_);
    listStack_->setMinimumWidth(560);
    left->addWidget(listStack_, 1);
    listButtons_ = new QWidget(this);
    auto* buttons = new QHBoxLayout(listButtons_);
    buttons->setContentsMargins(0, 0, 0, 0);
    removeBtn_ = textButton(listButtons_);
    clearBtn_ = textButton(listButtons_);
    upBtn_ = textButton(listButtons_);
    downBtn_ = textButton(listButtons_);
    for (ZorButton* b : {removeBtn_, clearBtn_, upBtn_, downBtn_}) buttons->addWidget(b);
    buttons->addStretch(1);
    removeBtn_->setMouseDownAction([this](ZorButton*) { removeSelected(); });
    clearBtn_->setMouseDownAction([this](ZorButton*) { clearList(); });
    upBtn_->setMouseDownAction([this](ZorButton*) { moveSelected(-1); });
    downBtn_->setMouseDownAction([this](ZorButton*) { moveSelected(+1); });
    left->addWidget(listButtons_);
    body->addLayout(left, 5);

    // Right: preview and cut range, then the mode radios and the reset and apply-to-all buttons.
    panel_ = new CutRangePanel(CutRules::Batch, this);
    connect(panel_, &CutRangePanel::rangeEdited, this, [this](int64_t start, int64_t stop) {
        if (SimpleDataPtr record = selectedRecord()) {
            record->cutTimeRange_start = start;
            record->cutTimeRange_stop = stop;
            refreshList(false);
        }
    });
    connect(panel_, &CutRangePanel::volumeEdited, this, [this](double volume) {
        if (SimpleDataPtr record = selectedRecord()) record->volume = volume;
    });
    connect(panel_, &CutRangePanel::snapshotRequested, this, &BatchCutterWindowController::takeSnapshot);
    panel_->setIdleView(buildLogoView());
    auto* extra = static_cast<QHBoxLayout*>(panel_->extraRow()->layout());
    selectTimeBtn_ = checkButton(panel_->extraRow());
    unSelectTimeBtn_ = checkButton(panel_->extraRow());
    selectTimeBtn_->setMouseDownAction([this](ZorButton*) { setMode(false); });
    unSelectTimeBtn_->setMouseDownAction([this](ZorButton*) { setMode(true); });
    resetCutterBtn_ = textButton(panel_->extraRow());
    applytoallBtn_ = textButton(panel_->extraRow());
    resetCutterBtn_->setMouseDownAction([this](ZorButton*) { resetCutterItemAction(); });
    applytoallBtn_->setMouseDownAction([this](ZorButton*) { applytoallItemAction(); });
    extra->addWidget(selectTimeBtn_);
    extra->addWidget(unSelectTimeBtn_);
    extra->addStretch(1);
    extra->addWidget(resetCutterBtn_);
    extra->addWidget(applytoallBtn_);
    body->addWidget(panel_, 6);

    // Bottom: output folder, progress, Start.
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(8);
    outputLabel_ = dimLabel(this, 13);
    outputFolderBtn_ = new kestrel::tools::shared::OutputFolderPopup(this);
    outputFolderBtn_->setMinimumWidth(200);
    openOutputFolderBtn_ = pictureButton(QStringLiteral("ZantImage/Reverse/btnOpenPath"), QStringLiteral("@2x.png"), this);
    openOutputFolderBtn_->setMouseDownAction([this](ZorButton*) {
        if (!outputPath().isEmpty()) exportkit::revealInFileManager(outputPath());
    });
    joinnerLabel_ = dimLabel(this, 13);
    joinnerProgressView_ = new kestrel::widgets::NSProgressView(QRectF(0, 0, 200, 10), this);
    joinnerProgressView_->setFixedHeight(10);
    joinnerProgressView_->setMinimumWidth(160);
    startJoinnerBtn_ = textButton(this);
    startJoinnerBtn_->setBackGroundColor(QColor(38, 110, 214));
    startJoinnerBtn_->setBordColor(QColor(38, 110, 214));
    startJoinnerBtn_->setContentColor(Qt::white);
    startJoinnerBtn_->setFixedHeight(34);
    startJoinnerBtn_->setCornerRadius(17);
    startJoinnerBtn_->setMouseDownAction([this](ZorButton*) { startBachCutterAction(); });
    bottom->addWidget(outputLabel_);
    bottom->addWidget(outputFolderBtn_);
    bottom->addWidget(openOutputFolderBtn_);
    bottom->addSpacing(16);
    bottom->addWidget(joinnerLabel_);
    bottom->addWidget(joinnerProgressView_, 1);
    bottom->addSpacing(16);
    bottom->addWidget(startJoinnerBtn_);
    root->addLayout(bottom);

    fileListViewHidden(true);
    changeLanguage();
}

// The preview area while the list is empty: the program's icon and name and the tool's name.
QWidget* BatchCutterWindowController::buildLogoView() {
    nofileplayerBgView_ = new QWidget;
    nofileplayerBgView_->setObjectName(QStringLiteral("logoView"));
    auto* column = new QVBoxLayout(nofileplayerBgView_);
    column->addStretch(1);
    auto* icon = new QLabel(nofileplayerBgView_);
    icon->setPixmap(kestrel::widgets::applicationIcon().scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setAlignment(Qt::AlignCenter);
    column->addWidget(icon);
    logoTitle_ = new QLabel(nofileplayerBgView_);
    logoSubtitle_ = new QLabel(nofileplayerBgView_);
    for (QLabel* label : {logoTitle_, logoSubtitle_}) {
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        label->setStyleSheet(QStringLiteral("color: white;"));
        column->addWidget(label);
    }
    QFont title = logoTitle_->font();
    title.setPixelSize(36);
    logoTitle_->setFont(title);
    QFont subtitle = logoSubtitle_->font();
    subtitle.setPixelSize(24);
    logoSubtitle_->setFont(subtitle);
    column->addStretch(1);
    return nofileplayerBgView_;
}

void BatchCutterWindowController::windowDidLoad() { changeLanguage(); }

void BatchCutterWindowController::changeLanguage() {
    windowTitleLabel_->setText(QStringLiteral("%1 %2 %3").arg(localized(QStringLiteral("Title")),
                                                              localized(QStringLiteral("Video/Audio Batch Cutter")),
                                                              services::Language::getCurrentVersion()));
    logoTitle_->setText(localized(QStringLiteral("Title")));
    logoSubtitle_->setText(localized(QStringLiteral("Video/Audio Batch Cutter")));
    emailLink_->retranslate();
    setButtonText(addfileBtn_, localized(QStringLiteral("AddFileBtnTitle")));
    gettingstatedlabel_->setText(localized(QStringLiteral("batch_desc")));
    steps_[0]->setText(QStringLiteral("1. ") + localized(QStringLiteral("batch_desc1")));
    steps_[1]->setText(QStringLiteral("2. ") + localized(QStringLiteral("batch_desc2")));
    steps_[2]->setText(QStringLiteral("3. ") + localized(QStringLiteral("batch_desc3")));
    setButtonText(removeBtn_, localized(QStringLiteral("RemoveBtnTitle")));
    setButtonText(clearBtn_, localized(QStringLiteral("ClearBtnTitle")));
    setButtonText(upBtn_, localized(QStringLiteral("UpBtnTitle")));
    setButtonText(downBtn_, localized(QStringLiteral("DownBtnTitle")));
    setButtonText(selectTimeBtn_, QStringLiteral("  ") + localized(QStringLiteral("SelectTimeBtnTitle")));
    setButtonText(unSelectTimeBtn_, QStringLiteral("  ") + localized(QStringLiteral("UnSelectTimeBtnTitle")));
    setButtonText(resetCutterBtn_, localized(QStringLiteral("ResetBtnTitle")));
    setButtonText(applytoallBtn_, localized(QStringLiteral("ApplytoallBtnTitle")));
    outputLabel_->setText(localized(QStringLiteral("outputFolderLabelstringValue")));
    joinnerLabel_->setText(localized(QStringLiteral("progressLabelStringValue")));
    setButtonText(startJoinnerBtn_, localized(running() ? QStringLiteral("CancelexportTitle") : QStringLiteral("StartExportTitle")));
    startJoinnerBtn_->setMinimumWidth(std::max(startJoinnerBtn_->minimumWidth(), 120));
    outputFolderBtn_->retranslate();
    panel_->retranslate();
    fileListTableView_->retranslate();
    kestrel::widgets::applyTextDirection(this);
    panel_->keepTimesLeftToRight();
}

SimpleDataPtr BatchCutterWindowController::selectedRecord() const {
    const qint64 row = fileListTableView_->selectedRow();
    return row >= 0 && row < fileList_.size() ? fileList_.at(row) : nullptr;
}

void BatchCutterWindowController::fileListViewHidden(bool hidden) {
    listStack_->setCurrentWidget(hidden ? emptyView_ : static_cast<QWidget*>(fileListTableView_));
    listButtons_->setVisible(!hidden);
    for (ZorButton* b : {selectTimeBtn_, unSelectTimeBtn_, resetCutterBtn_, applytoallBtn_}) b->setEnabled(!hidden && !running());
    startJoinnerBtn_->setEnabled(!hidden || running());
    if (hidden) panel_->unload();
}

void BatchCutterWindowController::enableEdit(bool enabled) {
    fileListTableView_->setRowsEnabled(enabled);
    for (ZorButton* b : {removeBtn_, clearBtn_, selectTimeBtn_, unSelectTimeBtn_, resetCutterBtn_, applytoallBtn_, addfileBtn_})
        b->setEnabled(enabled);
    outputFolderBtn_->setEnabled(enabled);
    panel_->setEditingEnabled(enabled);
    if (enabled) updateMoveButtons();
    else upBtn_->setEnabled(false), downBtn_->setEnabled(false);
}

void BatchCutterWindowController::refreshList(bool reportSelection) {
    const qint64 row = fileListTableView_->selectedRow();
    fileListTableView_->setItems(fileList_);
    fileListTableView_->setSelectedRow(std::clamp<qint64>(row, 0, std::max<qint64>(0, fileList_.size() - 1)));
    fileListTableView_->setSelectionReportSuppressed(!reportSelection);
    fileListTableView_->reloadData();
    updateMoveButtons();
}

void BatchCutterWindowController::updateMoveButtons() {
    const qint64 row = fileListTableView_->selectedRow();
    upBtn_->setEnabled(!running() && row > 0 && row < fileList_.size());
    downBtn_->setEnabled(!running() && row >= 0 && row < fileList_.size() - 1);
}

void BatchCutterWindowController::initPlayer() {
    const SimpleDataPtr record = selectedRecord();
    if (!record) {
        panel_->unload();
        return;
    }
    const bool hasPicture = record->sourceData.width != 0 || record->sourceData.height != 0;
    panel_->loadFile(record->path, record->sourceData.duration, hasPicture, record->volume, record->cutTimeRange_start,
                     record->cutTimeRange_stop);
    // The range is kept within what the preview can show.
    record->cutTimeRange_start = panel_->startUs();
    record->cutTimeRange_stop = panel_->stopUs();
    showMode(record->isTrimFanxuan);
    updateMoveButtons();
}

void BatchCutterWindowController::showMode(bool removeRange) {
    selectTimeBtn_->setSelected(!removeRange);
    unSelectTimeBtn_->setSelected(removeRange);
    panel_->setRemoveLook(removeRange);
}

void BatchCutterWindowController::setMode(bool removeRange) {
    SimpleDataPtr record = selectedRecord();
    if (!record) return;
    record->isTrimFanxuan = removeRange;
    showMode(removeRange);
}

void BatchCutterWindowController::addFileAction() {
    const QStringList paths = kestrel::tools::shared::chooseMediaFiles(true);
    if (!paths.isEmpty()) addFiles(paths);
}

void BatchCutterWindowController::addFiles(const QStringList& paths) {
    const kestrel::tools::shared::ProbedFiles probed = kestrel::tools::shared::probeMediaFiles(paths, true);
    const bool wasEmpty = fileList_.isEmpty();
    fileList_.append(probed.accepted);
    if (!fileList_.isEmpty()) {
        // The first files show at once; later ones leave the preview where it is.
        fileListTableView_->showAddedRows(fileList_, wasEmpty);
        fileListViewHidden(false);
        updateMoveButtons();
        // The rows just added come into view.
        fileListTableView_->scrollToRow(int(fileList_.size()) - 1);
    }
    if (!probed.refused.isEmpty()) showSimpleAlert(kestrel::tools::shared::refusedFilesMessage(probed.refused));
}

void BatchCutterWindowController::removeSelected() {
    const qint64 row = fileListTableView_->selectedRow();
    if (running() || row < 0 || row >= fileList_.size()) return;
    fileList_.removeAt(row);
    fileListTableView_->setItems(fileList_);
    fileListTableView_->setSelectedRow(std::min<qint64>(row, fileList_.size() - 1));
    fileListTableView_->setSelectionReportSuppressed(false);
    fileListTableView_->reloadData();
    fileListViewHidden(fileList_.isEmpty());
    updateMoveButtons();
}

void BatchCutterWindowController::clearList() {
    if (running()) return;
    fileList_.clear();
    fileListTableView_->setItems(fileList_);
    fileListTableView_->reloadData();
    joinnerProgressView_->setProgress(0);
    fileListViewHidden(true);
    updateMoveButtons();
}

void BatchCutterWindowController::moveSelected(int delta) {
    const qint64 row = fileListTableView_->selectedRow();
    const qint64 to = row + delta;
    if (running() || row < 0 || row >= fileList_.size() || to < 0 || to >= fileList_.size()) return;
    fileList_.swapItemsAt(row, to);
    fileListTableView_->setItems(fileList_);
    fileListTableView_->setSelectedRow(to);
    // The preview stays on the moved file.
    fileListTableView_->setSelectionReportSuppressed(true);
    fileListTableView_->reloadData();
    updateMoveButtons();
}

void BatchCutterWindowController::resetCutterItemAction() {
    SimpleDataPtr record = selectedRecord();
    if (!record || running()) return;
    record->isTrimFanxuan = false;
    showMode(false);
    panel_->resetRange();
}

void BatchCutterWindowController::applytoallItemAction() {
    const SimpleDataPtr selected = selectedRecord();
    if (!selected || running()) return;
    const double s = double(selected->cutTimeRange_start) / 1e6;
    const double e = double(selected->cutTimeRange_stop) / 1e6;
    for (const SimpleDataPtr& record : fileList_) {
        if (record == selected) continue;
        const RangeUs range = rangeAppliedTo(s, e, double(record->sourceData.duration));
        record->cutTimeRange_start = range.start_us;
        record->cutTimeRange_stop = range.stop_us;
        record->isTrimFanxuan = selected->isTrimFanxuan;
    }
    refreshList(false);
}

void BatchCutterWindowController::startBachCutterAction() {
    panel_->pause();
    if (running()) {
        // Cancel always cancels, whatever became of the output folder: the file being cut
        // goes, and the run ends once its job has returned.
        run_->stop();
        return;
    }
    if (fileList_.isEmpty()) return;
    const QFileInfo folder(outputPath());
    if (!folder.isDir() || !folder.isWritable()) {
        showSimpleAlert(localized(QStringLiteral("isNotWritableFile")));
        return;
    }
    enableEdit(false);
    setButtonText(startJoinnerBtn_, localized(QStringLiteral("CancelexportTitle")));
    joinnerProgressView_->setProgress(0);
    run_->start(fileList_, outputPath());
}

void BatchCutterWindowController::runFinished(const BatchRunSummary& summary) {
    setButtonText(startJoinnerBtn_, localized(QStringLiteral("StartExportTitle")));
    enableEdit(true);
    fileListTableView_->setSelectionReportSuppressed(false);
    if (summary.stopped) {
        joinnerProgressView_->setProgress(0);
    } else if (!summary.failures.isEmpty()) {
        // Never reported as finished: the files that failed are named with the reason.
        showSimpleAlert(localized(QStringLiteral("BatchCutFailedMessage")) + QLatin1Char('\n') + summary.failures.join(QLatin1Char('\n')));
    } else {
        joinnerProgressView_->setProgress(1);
        showFinishedAlert();
    }
    Q_EMIT runEnded();
}

void BatchCutterWindowController::showSimpleAlert(const QString& message) {
    lastAlertText_ = message;
    kestrel::tools::shared::showSimpleAlert(this, message);
}

void BatchCutterWindowController::showFinishedAlert() {
    lastAlertText_ = localized(QStringLiteral("Cutterfinishedstring"));
    kestrel::widgets::ZorOpenAlert alert(this);
    alert.setWindowTitleText(windowTitle());
    alert.setInfomation(QStringLiteral("Cutterfinishedstring"));
    alert.setSelectedOkBlock([this](qint64 choice) {
        if (choice == 1 && !outputPath().isEmpty()) exportkit::revealInFileManager(outputPath());
    });
    alert.runModal();
}

void BatchCutterWindowController::takeSnapshot() {
    lastSnapshotPath_ = panel_->snapshot(outputPath());
    if (lastSnapshotPath_.isEmpty()) {
        showSimpleAlert(localized(QStringLiteral("SnapshotFailedMessage")) + QLatin1Char('\n') + outputPath());
        return;
    }
    if (shutterSound_) shutterSound_->play();
}

void BatchCutterWindowController::closeEvent(QCloseEvent* event) {
    if (running()) run_->stop();  // the unfinished file is removed by its job
    panel_->unload();
    kestrel::widgets::ToolWindow::closeEvent(event);
}

}  // namespace kestrel::tools::cutter

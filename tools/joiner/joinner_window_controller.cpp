// The joiner's shell: start-up, the clip list's buttons, the empty-list view, the output folder
// and closing.
#include "tools/joiner/joinner_window_controller.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QTimer>

#include "engine/player/DIVuverIzizud.h"
#include "platform/notification_center.h"
#include "services/folders.h"
#include "services/language.h"
#include "session/join_export_job.h"
#include "session/media_probe.h"
#include "tools/joiner/joiner_profile_targets.h"
#include "tools/joiner/joiner_time_fields.h"
#include "services/help_class.h"
#include "tools/shared/clip_list_view.h"
#include "widgets/dialogs/file_kinds.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/ns_progress_view.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::joiner {
namespace {

QString localized(const char* key) { return services::Language::localizedStringForKey(QString::fromLatin1(key)); }

// The extensions the joiner's open panel offers.
QStringList joinerFileTypes() {
    return {"mov", "qt",  "mp4", "m4v", "flv", "ts",   "m2ts", "mts",  "mkv", "mka", "mpg", "mpeg", "mpa",
            "m2v", "mpv", "dat", "avi", "divx", "3gp", "3g2",  "mxf",  "tp",  "trp", "nut", "h261", "h264",
            "mod", "tod", "wmv", "mp3", "mp2", "m4a",  "m4r",  "flac", "wav", "wma", "ogg", "aac",  "ac3", "webm", "opus"};
}

}  // namespace

JoinnerWindowController::JoinnerWindowController(QWidget* parent) : kestrel::widgets::ToolWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildWindow();
}

JoinnerWindowController::~JoinnerWindowController() {
    platform::NotificationCenter::defaultCenter().removeObserversOf(this);
    cutProgressView_->setDelegate(nullptr);
    volumeSlider_->setDelegate(nullptr);
    if (rdPlayer_) rdPlayer_->stop();
    // A join still running is stopped by its job; its unfinished file goes with it.
    delete job_;
}

void JoinnerWindowController::windowDidLoad() {
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) { changeLanguage(); }, this);
    outputPopUpBtnAction(-1);
    changeLanguage();
    fileListViewHidden(true);
}

void JoinnerWindowController::closeEvent(QCloseEvent* event) {
    if (job_) job_->stop();
    removeTimer();
    if (rdPlayer_) {
        rdPlayer_->stop();
        if (QWidget* view = rdPlayer_->view()) view->setParent(nullptr);
        rdPlayer_.reset();
    }
    kestrel::widgets::ToolWindow::closeEvent(event);
}

// ---- Adding and the list buttons ----

void JoinnerWindowController::addFileAction() {
    kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
    request.allowsMultipleSelection = true;
    request.allowedFileTypes = joinerFileTypes();
    const QStringList paths = kestrel::widgets::runOpenPanel(request);
    if (paths.isEmpty()) return;
    addFiles(paths);
}

QStringList JoinnerWindowController::addFiles(const QStringList& paths) {
    QStringList refused;
    QList<kestrel::model::SimpleDataPtr> added;
    for (const QString& path : paths) {
        kestrel::model::SimpleDataPtr record = kestrel::session::probeMediaFile(path, {});
        // A clip with no sound and no picture, or no length, cannot be joined.
        if (!record || record->sourceData.duration <= 0 || (record->sourceData.exist == 0 && record->sourceData.a_exist <= 0)) {
            refused.append(QFileInfo(path).fileName());
            continue;
        }
        record->cutTimeRange_start = 0;
        record->cutTimeRange_stop = static_cast<int64_t>(double(record->sourceData.duration) * 1000000.0);
        record->volume = 1.0;
        added.append(record);
    }
    // New clips take the chosen output values as their targets.
    applyChoiceToClips(formatBar_->choice(), formatBar_->chosenIsAudio(), added);
    const bool wasEmpty = fileList_.isEmpty();
    fileList_.append(added);
    if (!refused.isEmpty()) showSimpleAlert(localized("nonsupportfilesstringValue") + refused.join(QLatin1Char(',')), kPlainAlert);
    if (fileList_.isEmpty()) return refused;
    const qint64 row = wasEmpty ? 0 : fileListTableView_->selectedRow();
    fileListTableView_->setItems(fileList_);
    fileListTableView_->setSelectedRow(row);
    // The first clips load the preview; more clips leave it on the clip it shows.
    fileListTableView_->setSelectionReportSuppressed(!wasEmpty);
    fileListTableView_->reloadData();
    fileListViewHidden(false);
    selectTimeBtn_->setEnabled(true);
    unSelectTimeBtn_->setEnabled(true);
    updateMoveButtons();
    return refused;
}

void JoinnerWindowController::removeAction() {
    const qint64 row = fileListTableView_->selectedRow();
    if (job_ || row < 0 || row >= fileList_.size()) return;
    if (fileList_[row]->defaultFormat) setChoicesEnabled(true);
    fileList_.removeAt(row);
    fileListTableView_->setItems(fileList_);
    fileListTableView_->setSelectedRow(std::min<qint64>(row, fileList_.size() - 1));
    fileListTableView_->setSelectionReportSuppressed(false);
    fileListTableView_->reloadData();
    fileListViewHidden(fileList_.isEmpty());
    if (fileList_.isEmpty()) {
        setProgressShown(0);
        initPlayer();
    }
    updateMoveButtons();
}

void JoinnerWindowController::clearAction() {
    if (job_) return;
    setChoicesEnabled(true);
    fileList_.clear();
    fileListTableView_->setItems(fileList_);
    fileListTableView_->reloadData();
    fileListViewHidden(true);
    cutProgressView_->setLowerValue(0.0f, 1.0f);
    cutProgressView_->setProgress(0);
    setProgressShown(0);
    initPlayer();
    updateMoveButtons();
}

void JoinnerWindowController::upAction() {
    const qint64 row = fileListTableView_->selectedRow();
    if (job_ || row < 1 || row >= fileList_.size()) return;
    fileList_.swapItemsAt(row, row - 1);
    fileListTableView_->setItems(fileList_);
    fileListTableView_->setSelectedRow(row - 1);
    fileListTableView_->setSelectionReportSuppressed(true);  // the preview keeps its clip
    fileListTableView_->reloadData();
    updateMoveButtons();
}

void JoinnerWindowController::downAction() {
    const qint64 row = fileListTableView_->selectedRow();
    if (job_ || row < 0 || row >= fileList_.size() - 1) return;
    fileList_.swapItemsAt(row, row + 1);
    fileListTableView_->setItems(fileList_);
    fileListTableView_->setSelectedRow(row + 1);
    fileListTableView_->setSelectionReportSuppressed(true);
    fileListTableView_->reloadData();
    updateMoveButtons();
}

void JoinnerWindowController::updateMoveButtons() {
    const qint64 row = fileListTableView_->selectedRow();
    const bool editable = job_ == nullptr;
    upBtn_->setEnabled(editable && row >= 1 && row < fileList_.size());
    downBtn_->setEnabled(editable && row >= 0 && row < fileList_.size() - 1);
}

void JoinnerWindowController::fileListViewHidden(bool hidden) {
    noFileView_->setVisible(hidden);
    fileListTableView_->setVisible(!hidden);
    for (kestrel::widgets::ZorButton* b : {removeBtn_, clearBtn_, upBtn_, downBtn_}) b->setVisible(!hidden);
    volumeSlider_->setDisable(hidden);
    cutProgressView_->setEnabled(!hidden);
    for (auto* f : startFields_) f->setEnabled(!hidden);
    for (auto* f : stopFields_) f->setEnabled(!hidden);
    for (kestrel::widgets::ZorButton* b : {startCutTimeBtn_, stopCutTimeBtn_, resetCutterBtn_, applytoallBtn_, playBtn_,
                                           playSelectBtn_, volumeBtn_})
        b->setEnabled(!hidden);
    stopBtn_->setEnabled(false);
    selectTimeBtn_->setEnabled(!hidden);
    unSelectTimeBtn_->setEnabled(!hidden);
    startJoinnerBtn_->setEnabled(!hidden || job_);
    if (hidden) {
        cutProgressView_->setProgress(0);
        cutProgressView_->setLowerValue(0.0f, 1.0f);
        const QString zero = services::HelpClass::returnTimeToStr(0);
        cutDurationValueLabel_->setText(zero);
        leftTimeLabel_->setText(zero);
        rightTimeLabel_->setText(zero);
        for (auto* f : startFields_) f->setText(fieldText(0));
        for (auto* f : stopFields_) f->setText(fieldText(0));
        volumeValueLabel_->clear();
    }
}

void JoinnerWindowController::enableEdit(bool enable) {
    setChoicesEnabled(enable && !std::any_of(fileList_.begin(), fileList_.end(), [](auto& c) { return c->defaultFormat; }));
    fileListTableView_->setRowsEnabled(enable);
    for (kestrel::widgets::ZorButton* b : {addfileBtn_, removeBtn_, clearBtn_, playBtn_, playSelectBtn_, startCutTimeBtn_,
                                           stopCutTimeBtn_, resetCutterBtn_, applytoallBtn_, selectTimeBtn_, unSelectTimeBtn_})
        b->setEnabled(enable);
    for (auto* f : startFields_) f->setEnabled(enable);
    for (auto* f : stopFields_) f->setEnabled(enable);
    stopBtn_->setEnabled(false);
    cutProgressView_->setEnabled(enable);
    volumeSlider_->setDisable(!enable);
    outputFolderBtn_->setEnabled(enable);
    updateMoveButtons();
}

// ---- Output folder ----

void JoinnerWindowController::setOutputPath(const QString& folder) {
    chosenFolder_ = folder;
    outputPath_ = folder;
    rebuildOutputItems();
}

void JoinnerWindowController::outputPopUpBtnAction(int index) {
    const QString appFolder = services::FileManager::sharedManager().rootDirPath();
    switch (index) {
    case kMovies:
    case kDocuments:
    case kDesktop: {
        const QString folder = index == kMovies ? services::FileManager::moviesFolderPath()
                               : index == kDocuments ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                                     : QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        if (!QFileInfo(folder).isDir() || !QFileInfo(folder).isWritable()) return outputPopUpBtnAction(kOther);
        outputPath_ = folder;
        break;
    }
    case kOther: {
        QString folder;
        if (folderChooser_) {
            folder = folderChooser_();
        } else {
            QFileDialog dialog(this, localized("Main_Sel_Dir_Hit"), appFolder);
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOption(QFileDialog::ShowDirsOnly);
            dialog.setOption(QFileDialog::DontUseNativeDialog);
            dialog.setLabelText(QFileDialog::Accept, localized("OpenPanelOpenTitle"));
            dialog.setLabelText(QFileDialog::Reject, localized("OpenPanelCancelTitle"));
            if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) folder = dialog.selectedFiles().first();
        }
        if (!folder.isEmpty()) chosenFolder_ = outputPath_ = folder;
        break;
    }
    case kChosen:
        outputPath_ = chosenFolder_;
        break;
    default:  // the application's folder, also at start-up
        outputPath_ = appFolder.isEmpty() ? services::FileManager::moviesFolderPath() : appFolder;
        break;
    }
    rebuildOutputItems();
}

}  // namespace kestrel::tools::joiner

// The joiner's shell: start-up, the clip list's buttons, the empty-list view, the output folder
// and closing.
#include "tools/joiner/joinner_window_controller.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include "editor/shutter_sound.h"
#include "engine/player/DIVuverIzizud.h"
#include "platform/notification_center.h"
#include "services/folders.h"
#include "services/help_class.h"
#include "services/language.h"
#include "session/export/join/join_export_job.h"
#include "session/media/media_probe.h"
#include "tools/joiner/joiner_profile_targets.h"
#include "tools/joiner/joiner_time_fields.h"
#include "tools/shared/clip_list_view.h"
#include "tools/shared/media_input.h"
#include "tools/shared/output_folder_popup.h"
#include "widgets/ns_progress_view.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::joiner {
namespace {

QString localized(const char* key) { return services::Language::localizedStringForKey(QString::fromLatin1(key)); }

}  // namespace

JoinnerWindowController::JoinnerWindowController(QWidget* parent)
    : kestrel::widgets::ToolWindow(parent), shutterSound_(kestrel::editor::makeDeviceShutterSound()) {
    buildWindow();
}

JoinnerWindowController::~JoinnerWindowController() {
    platform::NotificationCenter::defaultCenter().removeObserversOf(this);
    // A time field that loses the focus while the window goes would commit into a window that
    // is no more: the fields stop talking to it first.
    for (const auto* fields : {&startFields_, &stopFields_})
        for (kestrel::widgets::RDTextField* field : *fields) {
            field->setMouseDelegate(nullptr);
            disconnect(field, nullptr, this, nullptr);
        }
    cutProgressView_->setDelegate(nullptr);
    volumeSlider_->setDelegate(nullptr);
    if (rdPlayer_) rdPlayer_->stop();
    // A join still running is stopped by its job; its unfinished file goes with it.
    delete job_;
}

void JoinnerWindowController::setShutterSound(std::unique_ptr<kestrel::editor::ShutterSound> sound) {
    shutterSound_ = std::move(sound);
}

void JoinnerWindowController::windowDidLoad() {
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) { changeLanguage(); }, this);
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
    const QStringList paths = kestrel::tools::shared::chooseMediaFiles(true);
    if (paths.isEmpty()) return;
    addFiles(paths);
}

QStringList JoinnerWindowController::addFiles(const QStringList& paths) {
    const kestrel::tools::shared::ProbedFiles probed = kestrel::tools::shared::probeMediaFiles(paths, true);
    const QList<kestrel::model::SimpleDataPtr>& added = probed.accepted;
    QStringList refused;
    for (const kestrel::tools::shared::RefusedFile& file : probed.refused) refused.append(file.name);
    // New clips take the chosen output values as their targets.
    applyChoiceToClips(formatBar_->choice(), formatBar_->chosenIsAudio(), added);
    const bool wasEmpty = fileList_.isEmpty();
    fileList_.append(added);
    if (!probed.refused.isEmpty()) showSimpleAlert(kestrel::tools::shared::refusedFilesMessage(probed.refused), kPlainAlert);
    if (fileList_.isEmpty()) return refused;
    // The first clips load the preview; more clips leave it on the clip it shows.
    fileListTableView_->showAddedRows(fileList_, wasEmpty);
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
                                           playSelectBtn_, volumeBtn_, cutCoverBtn_, cutcoverStyleBtn_})
        b->setEnabled(!hidden);
    stopBtn_->setEnabled(false);
    for (kestrel::widgets::ZorButton* b : steppers_) b->setEnabled(false);  // until a field is clicked
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
    if (!enable)
        for (kestrel::widgets::ZorButton* b : steppers_) b->setEnabled(false);
    cutProgressView_->setEnabled(enable);
    volumeSlider_->setDisable(!enable);
    outputFolderBtn_->setEnabled(enable);
    updateMoveButtons();
}

}  // namespace kestrel::tools::joiner

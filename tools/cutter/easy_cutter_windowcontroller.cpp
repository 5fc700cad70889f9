#include "tools/cutter/easy_cutter_windowcontroller.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

#include "editor/shutter_sound.h"
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "platform/dispatch.h"
#include "platform/notification_center.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "session/media/cut_pictures.h"
#include "tools/cutter/cut_range_panel.h"
#include "tools/cutter/cutter_look.h"
#include "tools/cutter/easy_clip_list.h"
#include "tools/cutter/easy_cut_export.h"
#include "tools/shared/media_input.h"
#include "tools/shared/simple_alert.h"
#include "widgets/dialogs/alert_window_controller.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::cutter {

using kestrel::model::CutterTimeItem;
using kestrel::widgets::ZorButton;
using services::localized;

namespace {

// A key cap of the hint panel.
QLabel* keyCap(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(28);
    label->setStyleSheet(QStringLiteral("background: rgb(47,54,62); border-radius: 2px; color: rgba(204,204,204,200);"
                                        "padding: 2px 6px; font-size: 12px;"));
    return label;
}

}  // namespace

EasyCutterWindowcontroller::EasyCutterWindowcontroller(QWidget* parent)
    : kestrel::widgets::ToolWindow(parent), shutterSound_(kestrel::editor::makeDeviceShutterSound()) {
    resize(1180, 720);
    // Windows are never mirrored; text controls follow the language (changeLanguage).
    setLayoutDirection(Qt::LeftToRight);
    export_ = new EasyCutExport(this);
    connect(export_, &EasyCutExport::progress, this, [this](double p) {
        if (session_) session_->setProgress(p);
    });
    connect(export_, &EasyCutExport::finished, this, &EasyCutterWindowcontroller::exportEndedWith);
    buildWindow();
    platform::NotificationCenter::defaultCenter().addObserver(platform::kChangeLanguageNotification,
                                                              [this](const platform::Notification&) { changeLanguage(); }, this);
}

EasyCutterWindowcontroller::~EasyCutterWindowcontroller() {
    platform::NotificationCenter::defaultCenter().removeObserversOf(this);
}

bool EasyCutterWindowcontroller::exporting() const { return export_->running(); }

void EasyCutterWindowcontroller::setShutterSound(std::unique_ptr<kestrel::editor::ShutterSound> sound) {
    shutterSound_ = std::move(sound);
}

QString EasyCutterWindowcontroller::snapshotFolder() {
    // Where the export dialog writes: the folder the user chose there, else its default.
    const QString chosen = platform::UserDefaults::standard().stringForKey(QStringLiteral("kOutputDir"));
    return chosen.isEmpty() ? exportkit::ExportDialogBase::defaultOutputFolder() : chosen;
}

void EasyCutterWindowcontroller::buildWindow() {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(16, 10, 16, 12);
    windowTitlLabel_ = new QLabel(this);
    windowTitlLabel_->setAlignment(Qt::AlignCenter);
    windowTitlLabel_->setStyleSheet(QStringLiteral("color: rgb(170,177,185); font-size: 16px;"));
    root->addWidget(windowTitlLabel_);

    auto* body = new QHBoxLayout;
    body->setSpacing(14);
    root->addLayout(body, 1);

    // Left: the source path, the preview and cut range, the range buttons and the key hints.
    auto* left = new QVBoxLayout;
    scrLabel_ = dimLabel(this, 13);
    scrLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    left->addWidget(scrLabel_);
    panel_ = new CutRangePanel(CutRules::Easy, this);
    left->addWidget(panel_, 1);
    auto* extra = static_cast<QHBoxLayout*>(panel_->extraRow()->layout());
    resetCutLeftBtn_ = pictureButton(QStringLiteral("ZantImage/Cut/btnReset"), QStringLiteral("@2x.png"), panel_->extraRow());
    resetCutRightBtn_ = pictureButton(QStringLiteral("ZantImage/Cut/btnReset"), QStringLiteral("@2x.png"), panel_->extraRow());
    cutStartBtn_ = textButton(panel_->extraRow());
    cutStartBtn_->setFixedHeight(32);
    resetCutLeftBtn_->setMouseDownAction([this](ZorButton*) {
        panel_->setRange(0, panel_->stopUs());
        if (selected_ >= 0) Q_EMIT panel_->rangeEdited(panel_->startUs(), panel_->stopUs());
    });
    resetCutRightBtn_->setMouseDownAction([this](ZorButton*) {
        panel_->setRange(panel_->startUs(), panel_->durationUs());
        panel_->seekUs(0);
        if (selected_ >= 0) Q_EMIT panel_->rangeEdited(panel_->startUs(), panel_->stopUs());
    });
    cutStartBtn_->setMouseDownAction([this](ZorButton*) { addClipAction(); });
    extra->addWidget(resetCutLeftBtn_);
    extra->addWidget(resetCutRightBtn_);
    extra->addStretch(1);
    extra->addWidget(cutStartBtn_);
    connect(panel_, &CutRangePanel::rangeEdited, this, [this](int64_t start, int64_t stop) {
        if (selected_ < 0 || selected_ >= clips_.size()) return;
        clips_[selected_].start = float(double(start) / 1e6);
        clips_[selected_].end = float(double(stop) / 1e6);
        reloadClips();
    });
    connect(panel_, &CutRangePanel::snapshotRequested, this, &EasyCutterWindowcontroller::takeSnapshot);
    connect(panel_, &CutRangePanel::alertRequested, this, &EasyCutterWindowcontroller::showSimpleAlert);

    keybordTishiView_ = new QWidget(this);
    keybordTishiView_->setObjectName(QStringLiteral("keyHints"));
    keybordTishiView_->setAttribute(Qt::WA_StyledBackground);
    keybordTishiView_->setStyleSheet(QStringLiteral("#keyHints { background: rgb(30,34,42); border-radius: 4px; }"));
    auto* hints = new QGridLayout(keybordTishiView_);
    hints->setContentsMargins(10, 6, 10, 6);
    controlkeybordLabel_ = dimLabel(keybordTishiView_, 12);
    playpauseLabel_ = dimLabel(keybordTishiView_, 12);
    controlmarksLabel_ = dimLabel(keybordTishiView_, 12);
    hints->addWidget(controlkeybordLabel_, 0, 0, 1, 6);
    hints->addWidget(keyCap(QStringLiteral("Space"), keybordTishiView_), 1, 0);
    hints->addWidget(playpauseLabel_, 1, 1);
    hints->addWidget(keyCap(QStringLiteral("←"), keybordTishiView_), 1, 2);
    hints->addWidget(keyCap(QStringLiteral("→"), keybordTishiView_), 1, 3);
    hints->addWidget(controlmarksLabel_, 1, 4);
    hints->addWidget(keyCap(QStringLiteral("I / O"), keybordTishiView_), 1, 5);
    setMarksLabel_ = dimLabel(keybordTishiView_, 12);
    hints->addWidget(setMarksLabel_, 1, 6);
    hints->setColumnStretch(7, 1);
    left->addWidget(keybordTishiView_);
    body->addLayout(left, 3);

    // Right: the clip list, merge, add file and Export.
    auto* right = new QVBoxLayout;
    cutClipsLabel_ = dimLabel(this, 13);
    right->addWidget(cutClipsLabel_);
    clipList_ = new EasyClipList(this);
    clipList_->setMinimumWidth(380);
    connect(clipList_, &EasyClipList::rowPressed, this, &EasyCutterWindowcontroller::clipPressed);
    connect(clipList_, &EasyClipList::moveUp, this, [this](int i) { moveClip(i, -1); });
    connect(clipList_, &EasyClipList::moveDown, this, [this](int i) { moveClip(i, +1); });
    connect(clipList_, &EasyClipList::remove, this, &EasyCutterWindowcontroller::deleteClip);
    connect(clipList_, &EasyClipList::paste, this, &EasyCutterWindowcontroller::pasteClip);
    connect(clipList_, &EasyClipList::pressedBeside, this, [this] { selectClip(-1); });
    right->addWidget(clipList_, 1);
    mergeBtn_ = checkButton(this);
    mergeBtn_->setMouseDownAction([](ZorButton* b) { b->setSelected(!b->selected()); });
    right->addWidget(mergeBtn_);
    auto* buttons = new QHBoxLayout;
    updateFileAddBtn_ = textButton(this);
    updateFileAddBtn_->setFixedHeight(32);
    updateFileAddBtn_->setMouseDownAction([this](ZorButton*) { addFileAction(); });
    startExportBtn_ = textButton(this);
    startExportBtn_->setFixedHeight(32);
    startExportBtn_->setBackGroundColor(QColor(38, 110, 214));
    startExportBtn_->setBordColor(QColor(38, 110, 214));
    startExportBtn_->setContentColor(Qt::white);
    startExportBtn_->setEnabled(false);
    startExportBtn_->setMouseDownAction([this](ZorButton*) { startExportAction(); });
    buttons->addWidget(updateFileAddBtn_);
    buttons->addStretch(1);
    buttons->addWidget(startExportBtn_);
    right->addLayout(buttons);
    body->addLayout(right, 2);
    changeLanguage();
}

void EasyCutterWindowcontroller::changeLanguage() {
    windowTitlLabel_->setText(QStringLiteral("%1 %2 %3").arg(localized(QStringLiteral("Title")),
                                                             localized(QStringLiteral("Video/Audio Easy Cutter")),
                                                             services::Language::getCurrentVersion()));
    controlkeybordLabel_->setText(localized(QStringLiteral("controlkeyboardLabelstringValue")));
    playpauseLabel_->setText(localized(QStringLiteral("playpauseLabelstringValue")));
    controlmarksLabel_->setText(localized(QStringLiteral("controlmarksLabelstringValue")));
    setMarksLabel_->setText(localized(QStringLiteral("setmarksLabelstringValue")));
    cutClipsLabel_->setText(localized(QStringLiteral("Cut Clips:")));
    setButtonText(startExportBtn_, localized(exporting() ? QStringLiteral("CancelexportTitle") : QStringLiteral("Export")));
    setButtonText(cutStartBtn_, localized(QStringLiteral("tool_trimItemTitle")));
    setButtonText(mergeBtn_, QStringLiteral("  ") + localized(QStringLiteral("MerageBtnstringValue")));
    setButtonText(updateFileAddBtn_, localized(QStringLiteral("AddFileBtnTitle")));
    resetCutLeftBtn_->setToolTip(localized(QStringLiteral("ResetStartTip")));
    resetCutRightBtn_->setToolTip(localized(QStringLiteral("ResetEndTip")));
    panel_->retranslate();
    reloadClips();
    kestrel::widgets::applyTextDirection(this);
    panel_->keepTimesLeftToRight();
}

void EasyCutterWindowcontroller::windowDidLoad() {
    if (!filePath_.isEmpty()) {
        setupDataForFilePath();
        return;
    }
    // Opened without a file (from the earlier main view): it asks for its own once shown.
    enableEditItemShow(false);
    QPointer<EasyCutterWindowcontroller> self(this);
    platform::dispatchMainAsync([self] {
        if (self) self->addFileAction();
    });
}

void EasyCutterWindowcontroller::enableEditItemShow(bool show) {
    for (QWidget* w : std::initializer_list<QWidget*>{panel_, keybordTishiView_, cutStartBtn_, resetCutLeftBtn_, resetCutRightBtn_})
        w->setVisible(show);
}

void EasyCutterWindowcontroller::enableEdit(bool enabled) {
    panel_->setEditingEnabled(enabled);
    for (ZorButton* b : {mergeBtn_, cutStartBtn_, resetCutLeftBtn_, resetCutRightBtn_, updateFileAddBtn_}) b->setEnabled(enabled);
    clipList_->setRowsEnabled(enabled);
}

void EasyCutterWindowcontroller::setupDataForFilePath() {
    const kestrel::tools::shared::ProbedFiles probed = kestrel::tools::shared::probeMediaFiles({filePath_}, false);
    if (probed.accepted.isEmpty()) {
        // Nothing to edit: the reason the file cannot be used is shown in place.
        const QString reason = probed.refused.isEmpty() ? QString() : probed.refused.first().reason;
        scrLabel_->setText(QFileInfo(filePath_).fileName() + QStringLiteral(": ") + reason);
        enableEditItemShow(false);
        return;
    }
    loadRecord(probed.accepted.first());
}

void EasyCutterWindowcontroller::loadRecord(const kestrel::model::SimpleDataPtr& record) {
    fileData_ = record;
    filePath_ = record->path;
    clips_.clear();
    selected_ = -1;
    reloadClips();
    const bool hasPicture = fileData_->sourceData.width != 0 || fileData_->sourceData.height != 0;
    panel_->loadFile(fileData_->path, fileData_->sourceData.duration, hasPicture, 1.0, 0, 0);
    scrLabel_->setText(fileData_->path);
    scrLabel_->setToolTip(fileData_->path);
    enableEditItemShow(true);
}

void EasyCutterWindowcontroller::addFileAction() {
    const QStringList paths = kestrel::tools::shared::chooseMediaFiles(false);
    if (!paths.isEmpty()) addFile(paths.first());
}

void EasyCutterWindowcontroller::addFile(const QString& path) {
    if (exporting()) return;
    const kestrel::tools::shared::ProbedFiles probed = kestrel::tools::shared::probeMediaFiles({path}, false);
    if (probed.accepted.isEmpty()) {
        if (!fileData_) {
            filePath_ = path;
            setupDataForFilePath();
            return;
        }
        // The shown file and its clips stay; the refused one is named with the reason.
        showSimpleAlert(kestrel::tools::shared::refusedFilesMessage(probed.refused));
        return;
    }
    if (!clips_.isEmpty()) {
        // Another file drops the clips of this one: only when the user says so.
        kestrel::widgets::AlertWindowController ask(this);
        ask.setTitle(QStringLiteral("EasyCut_Title"));
        ask.setMessage(QStringLiteral("ReplaceClipsMessage"));
        ask.setLeftBtnTitle(QStringLiteral("alertOKBtn"));
        ask.setRightBtnTitle(QStringLiteral("alertCancelBtn"));
        bool confirmed = false;
        ask.setLeftBtnClickCallbackBlock([&confirmed](bool) { confirmed = true; });
        ask.changeLanguage();
        ask.runModal();
        if (!confirmed) return;
    }
    loadRecord(probed.accepted.first());
}

void EasyCutterWindowcontroller::takeSnapshot() {
    const QString folder = snapshotFolder();
    lastSnapshotPath_ = panel_->snapshot(folder);
    if (lastSnapshotPath_.isEmpty()) {
        showSimpleAlert(localized(QStringLiteral("SnapshotFailedMessage")) + QLatin1Char('\n') + folder);
        return;
    }
    if (shutterSound_) shutterSound_->play();
}

void EasyCutterWindowcontroller::addClipAction() {
    if (!fileData_ || !panel_->hasFile()) return;
    // A time still being typed is committed first; a refused one adds no clip.
    if (!panel_->commitEditingField()) return;
    const int64_t start = panel_->startUs(), stop = panel_->stopUs();
    if (stop <= start) {
        showSimpleAlert(localized(QStringLiteral("CutRangeEmptyMessage")));
        return;
    }
    CutterTimeItem clip;
    clip.start = float(double(start) / 1e6);
    clip.end = float(double(stop) / 1e6);
    const bool hasPicture = fileData_->sourceData.width != 0 || fileData_->sourceData.height != 0;
    clip.thumb = hasPicture ? kestrel::session::videoFrameAt(fileData_->path, start)
                            : services::Language::imageWithfileName(QStringLiteral("ZantImage/Cut/FileList/imgAudio.bmp"));
    // A clip's picture is a snapshot too: it clicks like one.
    if (hasPicture && !clip.thumb.isNull() && shutterSound_) shutterSound_->play();
    panel_->seekUs(start);
    clips_.append(clip);
    reloadClips();
    startExportBtn_->setEnabled(true);
}

void EasyCutterWindowcontroller::reloadClips() {
    for (int i = 0; i < clips_.size(); ++i) clips_[i].selected = i == selected_;
    clipList_->reload(clips_);
    if (!exporting()) startExportBtn_->setEnabled(!clips_.isEmpty());
}

void EasyCutterWindowcontroller::selectClip(int index) {
    selected_ = index >= 0 && index < clips_.size() ? index : -1;
    if (selected_ >= 0) {
        const CutterTimeItem& clip = clips_.at(selected_);
        panel_->setRange(int64_t(double(clip.start) * 1e6), int64_t(double(clip.end) * 1e6));
        panel_->seekUs(panel_->startUs());
    }
    reloadClips();
}

void EasyCutterWindowcontroller::clipPressed(int index) { selectClip(index == selected_ ? -1 : index); }

void EasyCutterWindowcontroller::deleteClip(int index) {
    if (index < 0 || index >= clips_.size()) return;
    clips_.removeAt(index);
    // The selection follows its clip, and goes with it.
    if (selected_ == index) selected_ = -1;
    else if (selected_ > index) --selected_;
    reloadClips();
}

void EasyCutterWindowcontroller::moveClip(int index, int delta) {
    const int to = index + delta;
    if (index < 0 || index >= clips_.size() || to < 0 || to >= clips_.size()) return;
    clips_.swapItemsAt(index, to);
    if (selected_ == index) selected_ = to;
    else if (selected_ == to) selected_ = index;
    reloadClips();
}

void EasyCutterWindowcontroller::pasteClip(int index) {
    if (index < 0 || index >= clips_.size()) return;
    CutterTimeItem copy = clips_.at(index);
    copy.selected = false;
    clips_.insert(index + 1, copy);
    if (selected_ > index) ++selected_;
    reloadClips();
}

exportkit::ExportWindowController* EasyCutterWindowcontroller::prepareExportDialog() {
    session_.reset();
    if (dialog_) dialog_->deleteLater();
    dialog_ = new exportkit::ExportWindowController(this);
    dialog_->setInputFileName(fileData_ ? QFileInfo(fileData_->path).fileName() : QString());
    dialog_->setHiddenMergeAllIntoOne(false);
    dialog_->setIsMergeAllIntoOne(mergeBtn_->selected());
    dialog_->setStartExportCallbackBlock([this](const QString& path) { exportCallback(path); });
    session_ = std::make_unique<exportkit::ExportSession>(dialog_);
    return dialog_;
}

void EasyCutterWindowcontroller::startExportAction() {
    if (clips_.isEmpty() || !fileData_) return;
    panel_->pause();
    prepareExportDialog()->runModal(this);
}

void EasyCutterWindowcontroller::exportCallback(const QString& proposedPath) {
    if (!dialog_ || !session_ || !fileData_) return;
    if (exporting()) {
        export_->stop();
        return;
    }
    const bool merge = dialog_->mergeAllIntoOne ? dialog_->mergeAllIntoOne->selected() : dialog_->isMergeAllIntoOne();
    mergeBtn_->setSelected(merge);
    panel_->pause();
    session_->begin();
    enableEdit(false);
    setButtonText(startExportBtn_, localized(QStringLiteral("CancelexportTitle")));
    const bool reencode = dialog_->reEncoding();
    if (merge)
        export_->startMerged(*fileData_, clips_, panel_->effectiveVolume(), proposedPath, reencode);
    else
        export_->startSeparate(*fileData_, clips_, proposedPath, reencode);
}

void EasyCutterWindowcontroller::exportEndedWith(const EasyExportOutcome& outcome) {
    enableEdit(true);
    setButtonText(startExportBtn_, localized(QStringLiteral("Export")));
    startExportBtn_->setEnabled(!clips_.isEmpty());
    if (session_) {
        switch (outcome.kind) {
        case EasyExportOutcome::Done: session_->finishSucceeded(outcome.target, localized(QStringLiteral("Succeeded converting!"))); break;
        case EasyExportOutcome::Stopped:
            session_->finishStopped();
            dialog_->showSucceeded(localized(QStringLiteral("Cancel to abort the file converting!")));
            break;
        case EasyExportOutcome::Failed:
            lastAlertText_ = outcome.failure;
            session_->finishFailed(outcome.failure);
            break;
        }
    }
    Q_EMIT exportEnded();
}

void EasyCutterWindowcontroller::showSimpleAlert(const QString& message) {
    lastAlertText_ = message;
    kestrel::tools::shared::showSimpleAlert(this, message);
}

void EasyCutterWindowcontroller::closeEvent(QCloseEvent* event) {
    if (exporting()) export_->stop();  // the unfinished file is removed by its job
    panel_->unload();
    kestrel::widgets::ToolWindow::closeEvent(event);
}

}  // namespace kestrel::tools::cutter

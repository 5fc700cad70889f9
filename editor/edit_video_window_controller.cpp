#include "editor/edit_video_window_controller.h"

#include <QApplication>
#include <algorithm>
#include <QComboBox>
#include <QLabel>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <utility>

#include "editor/editor_views.h"
#include "editor/editor_window.h"
#include "editor/effects/kxfx_view.h"
#include "editor/editor_export_attachment.h"
#include "editor/output_folder_menu.h"
#include "editor/output_target.h"
#include "editor/shutter_sound.h"
#include "editor/music/music_panel.h"
#include "editor/subtitle/subtitle_panel.h"
#include "editor/watermark/editor_side_panels.h"
#include "editor/watermark/watermark_panel.h"
#include "engine/player/DIVuverIzizud.h"
#include "export/ui/export_dialog_base.h"
#include "platform/atomic_image_write.h"
#include "platform/notification_center.h"
#include "services/language.h"
#include "services/output_name.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/rd_text_field.h"
#include "widgets/volume_progress_slider.h"
#include "widgets/zor_button.h"

using services::localized;

EditVideoWindowController::EditVideoWindowController(int64_t toolItemType, QObject* parent)
    : QObject(parent),
      toolItemType_(toolItemType),
      shutterSound_(kestrel::editor::makeDeviceShutterSound()),
      v_(std::make_unique<Views>()) {}

EditVideoWindowController::~EditVideoWindowController() {
    platform::NotificationCenter::defaultCenter().removeObserversOf(this);
    // The views hold no reference back once the window is gone.
    if (v_->cutProgressView) v_->cutProgressView->setDelegate(nullptr);
    // The panels let go of the preview before it goes.
    if (sidePanels_) sidePanels_->setPlayer(nullptr, fileData_);
    if (rdPlayer_) rdPlayer_->stop();
    rdPlayer_.reset();
    delete v_->window;
}

QWidget* EditVideoWindowController::window() {
    if (!loaded_) {
        loaded_ = true;
        windowDidLoad();
    }
    return v_->window;
}

void EditVideoWindowController::showWindow(const QString& title) {
    QWidget* w = window();
    if (!title.isEmpty()) w->setWindowTitle(title);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
    }
    w->show();
    w->raise();
    w->activateWindow();
    presentPendingAlerts();
}

void EditVideoWindowController::presentPendingAlerts() {
    const QStringList messages = std::exchange(pendingAlerts_, {});
    presentingPending_ = true;
    for (const QString& message : messages) showAlert(message);
    presentingPending_ = false;
}

void EditVideoWindowController::closeAction() {
    if (v_->window) v_->window->close();
}

void EditVideoWindowController::setExportProgressWindow(exportkit::ExportDialogBase* dialog) {
    exportProgressWindow_ = dialog;
}

void EditVideoWindowController::showAlert(const QString& message) {
    // An alert raised while the window is still being built would come up behind it: it waits
    // until the window is on screen (showWindow presents it, or the next turn of the loop).
    if (v_->window && !v_->window->isVisible() && !presentingPending_) {
        if (pendingAlerts_.isEmpty()) QTimer::singleShot(0, this, [this] { presentPendingAlerts(); });
        pendingAlerts_ << message;
        return;
    }
    if (alertPresenter_) {
        alertPresenter_(message);
        return;
    }
    // Modal to the editor only, and without a nested event loop: the alert can come up while the
    // window is still being built for its opener, and it goes with the window.
    auto* box = new QMessageBox(QMessageBox::Warning, localized(QStringLiteral("Title")), message,
                                QMessageBox::NoButton, v_->window);
    box->addButton(localized(QStringLiteral("OKBtnTitle")), QMessageBox::AcceptRole);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void EditVideoWindowController::windowDidLoad() {
    buildWindow();
    auto* win = static_cast<kestrel::editor::EditorWindow*>(v_->window);
    win->onClose = [this] { handleWindowClosed(); };
    win->onResize = [this] { changesize(LayoutReason::Resize); };
    win->onFullScreen = [this](bool full) {
        changesize(full ? LayoutReason::EnterFullScreen : LayoutReason::ExitFullScreen);
    };
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) { changelanguage(); }, this);


    // The output-format bar opens the remembered category and profile.
    v_->formatBar->load();
    initPlayer();
    initCropView();
    initTrimView();
    buildEmptyPanels();
    enableEdit(true);
    if (v_->cliper) v_->cliper->hide();

    // The first tool; the fields it locks while switching are unlocked a moment later.
    QList<kestrel::widgets::RDTextField*> locked;
    switch (toolItemType_) {
    case kToolTrim:
        locked = v_->startFields() + v_->stopFields();
        cutAction();
        break;
    case kToolRotate:
    case kToolCrop:
        locked = {v_->cropTopField, v_->cropLeftField, v_->cropWidthField, v_->cropHeightField};
        cropAction();
        break;
    case kToolEffect: effectAction(); break;
    case kToolWatermark: watermarkAction(); break;
    case kToolSubtitle: subtitleAction(); break;
    case kToolMusic: audioAction(); break;
    default: cutAction(); break;
    }
    for (auto* f : locked) f->setReadOnly(true);
    if (!locked.isEmpty()) {
        QPointer<QWidget> guard = v_->window;
        QTimer::singleShot(250, v_->window, [locked, guard] {
            if (!guard) return;
            for (auto* f : locked) f->setReadOnly(false);
        });
    }

    setUpDataForFilePath();
    changelanguage();
    QTimer::singleShot(200, v_->window, [this] {
        // The image-enhancement tile previews with enhancement effect 103 (the effect panel's).
        if (exportAttachment_) exportAttachment_->magicEnhanceAction();
    });
}

void EditVideoWindowController::changelanguage() {
    if (!v_->window) return;
    // Opened from a tile, the header names that tile's tool rather than the editor.
    const QString tool = localized(titleKey_.isEmpty() ? QStringLiteral("VelmoraLabelTitle") : titleKey_);
    if (!titleKey_.isEmpty()) v_->window->setWindowTitle(tool);
    v_->windowTitleLabel->setText(QStringLiteral("%1 %2 %3 ")
                                      .arg(tool,
                                           localized(QStringLiteral("Title")),
                                           services::Language::getCurrentVersion()));
    const std::pair<kestrel::widgets::ZorButton*, const char*> titles[] = {
        {v_->cutButton, "tool_trimItemTitle"},     {v_->cropButton, "tool_cropItemTitle"},
        {v_->effectButton, "tool_effectItemTitle"}, {v_->watermarkButton, "tool_watermarkItemTitle"},
        {v_->subtitleButton, "tool_subtitleItemTitle"}, {v_->addmusicButton, "tool_musicItemTitle"},
        {v_->startExportBtn, "Export"},            {v_->addfileButton, "AddFileBtnTitle"},
        {v_->resetRotateBtn, "ResetBtnTitle"},
    };
    for (const auto& [button, key] : titles) button->setContentTitle(localized(QString::fromLatin1(key)));
    layoutToolButtons();
    {
        // The track names follow the language; the chosen track stays chosen.
        QComboBox* tracks = v_->audiochanelPopBtn;
        const QSignalBlocker quiet(tracks);
        const int chosen = tracks->currentIndex();
        fillAudioTrackBox();
        if (chosen < tracks->count()) tracks->setCurrentIndex(chosen);
    }
    const std::pair<kestrel::widgets::ZorButton*, const char*> spaced[] = {
        {v_->keepTimeSelectedPart, "SelectTimeBtnTitle"},
        {v_->removeTimeSelectedPart, "UnSelectTimeBtnTitle"},
        {v_->keepAspectBtn, "KeepAspectRatiostring"},
    };
    for (const auto& [button, key] : spaced)
        button->setContentTitle(QStringLiteral("  ") + localized(QString::fromLatin1(key)));
    const std::pair<QLabel*, const char*> labels[] = {
        {v_->cuttingTimeLabel, "Cutting Time:"},
        {v_->cuttingModelLabel, "Cutting Model:"},
        {v_->cuttingStartlabel, "Start:"},
        {v_->cuttingStopLabel, "End:"},
        {v_->cropTitleLabel, "cropTitleLabelStringValue"},
        {v_->rotateDesLabel, "descripationLabelstringValue"},
        {v_->original_SizeLabel, "original_ratioLabel_string"},
        {v_->cropAreaLabel, "crop_Area_SizeLabel_string"},
        {v_->cropPositionLabel, "positionLabelstringValue"},
        {v_->topLabel, "topLabelstringValue"},
        {v_->leftLabel, "Left:"},
        {v_->rotateAngleLabel, "Rotate Angle:"},
    };
    for (const auto& [label, key] : labels) label->setText(localized(QString::fromLatin1(key)));
    v_->outputPathPopUpBtn->retranslate();
    v_->outputOpenBtn->setToolTip(localized(QStringLiteral("OpenOutputFolderTip")));
    // The rotation hint takes two lines, smaller where a language needs more.
    kestrel::widgets::fitTwoLines(v_->rotateDesLabel, localized(QStringLiteral("descripationLabelstringValue")), 13, 9);
    if (sidePanels_) sidePanels_->changelanguage();
    if (exportAttachment_) exportAttachment_->changelanguage();
    // Arabic reads right to left inside each control; the window keeps its layout, and the
    // time and size fields keep their digits in order.
    kestrel::widgets::applyTextDirection(v_->window);
    for (auto* field : v_->window->findChildren<kestrel::widgets::RDTextField*>()) field->setLayoutDirection(Qt::LeftToRight);
}

void EditVideoWindowController::enableEdit(bool e) {
    for (kestrel::widgets::ZorButton* b : {v_->b_cameraBtn, v_->b_picStyleBtn, v_->b_volumeBtn, v_->b_playPauseBtn,
                                  v_->left_ratioBtn, v_->right_ratioBtn, v_->vertical_mirrorBtn,
                                  v_->horizontal_mirrorBtn, v_->resetRotateBtn, v_->keepAspectBtn})
        b->setEnabled(e);
    for (kestrel::widgets::RDTextField* f : {v_->cropWidthField, v_->cropHeightField, v_->cropTopField, v_->cropLeftField})
        f->setEnabled(e);
    v_->audiochanelPopBtn->setEnabled(e);
    v_->b_volumeSlider->setDisable(!e);
    if (exportAttachment_) exportAttachment_->enableEdit(e);
    if (sidePanels_) sidePanels_->enableEdit(e);
    if (!fileData_) return;
    v_->cutProgressView->setProgress(0);
    const double d = playerDurationSeconds();
    if (cutTimeRange_stop_ == 0) cutTimeRange_stop_ = d * 1000000.0;
    if (d > 0) {
        v_->cutProgressView->setUpperValue(float((cutTimeRange_stop_ / 1000000.0) / d));
        v_->cutProgressView->setLowerValue(float((cutTimeRange_start_ / 1000000.0) / d));
    }
    writeTimeFields(true, cutTimeRange_start_ / 1000000.0);
    writeTimeFields(false, cutTimeRange_stop_ / 1000000.0);
}

const QList<kestrel::editor::EffectItem>& EditVideoWindowController::effectTypes() const {
    static const QList<kestrel::editor::EffectItem> none;
    kestrel::editor::KxfxView* panel = exportAttachment_ ? exportAttachment_->effectPanel() : nullptr;
    return panel ? panel->effectTypes() : none;
}

double EditVideoWindowController::volume() const {
    kestrel::editor::KxfxView* panel = exportAttachment_ ? exportAttachment_->effectPanel() : nullptr;
    return panel ? panel->volume() : 1.0;
}

QList<kestrel::model::WaterParam>& EditVideoWindowController::waterMarkList() {
    return sidePanels_ ? sidePanels_->watermarkPanel()->waterMarkList() : noWaterMarks_;
}

kestrel::model::SubtitleParam EditVideoWindowController::subtitleParam() const {
    return sidePanels_ ? sidePanels_->subtitlePanel()->subtitleParamForExport() : kestrel::model::SubtitleParam();
}

const QList<kestrel::model::MusicInfo>& EditVideoWindowController::musicList() const {
    static const QList<kestrel::model::MusicInfo> none;
    return sidePanels_ ? sidePanels_->musicPanel()->musicList() : none;
}

void EditVideoWindowController::closewindow() {
    if (closed_) return;
    closed_ = true;
    // A running export is asked to stop through its own dialog's stop request.
    if (exportProgressWindow_ && exportProgressWindow_->exporting()) {
        if (const auto& stopRequest = exportProgressWindow_->startExportCallbackBlock())
            stopRequest(exportProgressWindow_->outputPath());
    }
    if (sidePanels_) sidePanels_->musicPanel()->stopAudio();
    if (rdPlayer_ && isPlaying()) {
        if (sidePanels_) sidePanels_->setPlayer(nullptr, fileData_);
        removeTimer();
        rdPlayer_->stop();
        if (QWidget* view = rdPlayer_->view()) view->setParent(nullptr);
        rdPlayer_.reset();
    }
    if (volumeHideTimer_) volumeHideTimer_->stop();
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
}

void EditVideoWindowController::handleWindowClosed() {
    closewindow();
    // Nobody else holds the controller: it goes once the close has been handled.
    deleteLater();
}

void EditVideoWindowController::rewriteTargetFromFormatBar() {
    if (!fileData_ || !v_->formatBar) return;
    exportkit::MediaProperties target = kestrel::editor::mediaPropertiesOf(fileData_->targetData);
    v_->formatBar->writeTarget(kestrel::editor::mediaPropertiesOf(fileData_->sourceData), target);
    kestrel::editor::assignTarget(fileData_->targetData, target);
    // Another codec or container may take other sizes.
    refreshCropSizeRule();
}

void EditVideoWindowController::outputChoiceChanged(exportkit::OutputFormatBar*) { rewriteTargetFromFormatBar(); }
void EditVideoWindowController::outputSettingChanged(exportkit::OutputFormatBar*, int) { rewriteTargetFromFormatBar(); }
void EditVideoWindowController::outputSettingsRestored(exportkit::OutputFormatBar*) { rewriteTargetFromFormatBar(); }

void EditVideoWindowController::outputBarCollapseToggled(exportkit::OutputFormatBar*, bool collapsed) {
    formatBarCollapsed_ = collapsed;
    if (QWidget* win = v_->window) {
        // The window gives up or takes back the height of the profile rows.
        const int delta = collapsed ? -140 : 140;
        win->setMinimumHeight(std::max(0, win->minimumHeight() + delta));
        win->resize(win->width(), win->height() + delta);
    }
    changesize(LayoutReason::Request);
}

bool EditVideoWindowController::saveImage(const QImage& image, const QString& path) {
    QString target = path;
    if (target.startsWith(QLatin1Char('~'))) target.replace(0, 1, QDir::homePath());
    if (image.isNull() || services::outputPathTaken(target)) return false;
    // The data is of the kind the name says; a name of no picture kind is refused.
    const QString suffix = QFileInfo(target).suffix().toLower();
    const char* format = suffix == QLatin1String("png")                                    ? "PNG"
                         : suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg") ? "JPEG"
                         : suffix == QLatin1String("bmp")                                    ? "BMP"
                                                                                             : nullptr;
    if (!format) return false;
    const QImage written = qstrcmp(format, "PNG") == 0 ? image : image.convertToFormat(QImage::Format_RGB32);
    // Written whole or not at all (QSaveFile alone keeps a cut-off file on a full disk).
    return platform::saveImageAtomically(written, target, format);
}

QWidget* EditVideoWindowController::hostWindow() { return v_->window; }

QWidget* EditVideoWindowController::effectFrame() { return v_->kxfxView; }

kestrel::widgets::ZorButton* EditVideoWindowController::exportButton() { return v_->startExportBtn; }

void EditVideoWindowController::showVolume(double volume) {
    if (v_->b_volumeSlider) v_->b_volumeSlider->setProgress(float(volume / 2.0));
}

void EditVideoWindowController::stopPanelAudio() {
    if (sidePanels_) sidePanels_->musicPanel()->stopAudio();
}

void EditVideoWindowController::followRememberedOutputFolder() {
    if (v_->outputPathPopUpBtn) v_->outputPathPopUpBtn->followRememberedFolder();
}

void EditVideoWindowController::openScrFolderAction() {
    if (v_->outputPathPopUpBtn) v_->outputPathPopUpBtn->revealFolder();
}

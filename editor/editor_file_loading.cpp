// Loading the input file: the editor's own open panel, the probe into a new job record, and the
// reload of every panel for it.
#include <QComboBox>
#include <QFileInfo>
#include "widgets/dialogs/open_panel.h"
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_views.h"
#include "editor/music/music_panel.h"
#include "editor/watermark/editor_side_panels.h"
#include "engine/player/DIVuverIzizud.h"
#include "services/language.h"
#include "session/media/media_probe.h"
#include "widgets/zor_button.h"

using services::localized;

void EditVideoWindowController::addfileAction() {
    QStringList chosen;
    if (fileChooser_) {
        chosen = fileChooser_();
    } else {
        // The shell's panel: named filters in the user's language, the standard start folder.
        kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
        QStringList types;
        // Video containers only: the editor refuses a file without a picture.
        for (const char* ext : {"mov", "qt", "mp4", "m4v", "flv", "ts", "m2ts", "mts", "mkv", "mpg", "mpeg", "m2v",
                                "mpv", "dat", "avi", "divx", "3gp", "3g2", "mxf", "tp", "trp", "nut", "h261", "h264",
                                "mod", "tod", "wmv"})
            types << QString::fromLatin1(ext);
        request.allowedFileTypes = types;
        request.allowsMultipleSelection = true;
        chosen = kestrel::widgets::runOpenPanel(request);
        if (chosen.isEmpty()) return;
    }
    if (chosen.isEmpty()) return;
    filePath_ = chosen.first();
    setUpDataForFilePath();
}

void EditVideoWindowController::addFile() {
    // A file that cannot be probed leaves no record behind, so the no-video alert follows
    // instead of a preview of a file the record does not describe.
    fileData_ = kestrel::session::probeMediaFile(filePath_, kestrel::session::SavedOutputChoices::read());
    // Only a picture has a size: a file without video shows none (never "-1 x -1").
    const bool hasPicture = fileData_ && fileData_->sourceData.width >= 1 && fileData_->sourceData.height >= 1;
    if (!hasPicture) {
        v_->original_SizeValueLabel->clear();
        v_->cropWidthField->clear();
        v_->cropHeightField->clear();
        return;
    }
    // The whole new picture, in the sizes the export will write.
    videoSize_ = sourceSize();
    refreshCropSizeRule();
    resetCropState();
    showCropFields();
}

void EditVideoWindowController::setUpDataForFilePath() {
    resetRotateTouchUp();
    if (sidePanels_) sidePanels_->musicPanel()->removeAllMusic();
    addFile();
    if (fileData_ && fileData_->sourceData.width >= 1 && fileData_->sourceData.height >= 1) {
        initPlayer();
        for (auto* f : v_->startFields() + v_->stopFields()) {
            f->setText(QStringLiteral("0"));
            f->setEnabled(true);
        }
        v_->cropLeftField->setEnabled(true);
        v_->cropTopField->setEnabled(true);
        refreshPlayerView();
        resetRotateTouchUp();
        for (auto* b : v_->toolButtons()) b->setEnabled(true);
        enableEdit(true);
        if (!filePath_.isEmpty()) selectToolAfterLoad();
        if (rdPlayer_) {
            v_->startExportBtn->setEnabled(true);
            v_->startExportBtn->setToolTip(QString());
        } else {
            // The probe read it, but no picture of it decodes: nothing to preview and nothing to
            // export, and the button says why.
            const QString reason =
                localized(QStringLiteral("EditorFileNotPlayableMessage")).arg(QFileInfo(filePath_).fileName());
            v_->startExportBtn->setEnabled(false);
            v_->startExportBtn->setToolTip(reason);
            showAlert(reason);
        }
    } else {
        // Nothing to export until a file with video is loaded.
        v_->startExportBtn->setEnabled(false);
        v_->startExportBtn->setToolTip(QString());
        // Nothing to preview: a player left from set-up or an earlier file would show another file.
        if (rdPlayer_) {
            stop();
            if (sidePanels_) sidePanels_->setPlayer(nullptr, fileData_);
            if (QWidget* view = rdPlayer_->view()) view->setParent(nullptr);
            rdPlayer_.reset();
        }
        showAlert(localized(QStringLiteral("Pleaseselectedvideo'sfilestring")));
    }
}

void EditVideoWindowController::selectToolAfterLoad() {
    switch (toolItemType_) {
    case kToolTrim: cutAction(); break;
    case kToolRotate:
    case kToolCrop: cropAction(); break;
    case kToolEffect: effectAction(); break;
    case kToolWatermark: watermarkAction(); break;
    case kToolSubtitle: subtitleAction(); break;
    case kToolMusic: audioAction(); break;
    default: cutAction(); break;
    }
}

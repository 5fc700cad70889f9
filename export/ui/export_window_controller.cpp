#include "export/ui/export_window_controller.h"

#include "export/ui/dialog_style.h"
#include "services/folders.h"
#include "services/help_class.h"
#include "services/language.h"
#include "widgets/zor_button.h"

#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>

namespace exportkit {

ExportWindowController::ExportWindowController(QWidget* parent) : ExportDialogBase(parent) {}

void ExportWindowController::buildOwnViews() {
    reEncodingBtn = style::makeCheckButton(this, true);
    reEncodingBtn->setGeometry(130, 80, 115, 22);
    mergeAllIntoOne = style::makeCheckButton(this, true);
    mergeAllIntoOne->setGeometry(247, 80, 150, 22);
    enableGpuBtn = style::makeCheckButton(this, false);
    enableGpuBtn->setGeometry(399, 80, 150, 22);
    for (widgets::ZorButton* box : {reEncodingBtn, mergeAllIntoOne, enableGpuBtn}) {
        box->setMouseDownAction([this](widgets::ZorButton* clicked) {
            clicked->setSelected(!clicked->selected());
            if (clicked == mergeAllIntoOne) isMergeAllIntoOne_ = !isMergeAllIntoOne_;
            resetFinishState();
        });
    }
    mergeAllIntoOne->setVisible(!hiddenMergeAllIntoOne_);
    mergeAllIntoOne->setSelected(isMergeAllIntoOne_);
    // The progress row sits higher when the merge box is hidden (y 78 vs 63 from the bottom).
    const int bottomY = hiddenMergeAllIntoOne_ ? 78 : 63;
    progressGroup->move(progressGroup->x(), height() - bottomY - progressGroup->height());
}

void ExportWindowController::changeLanguage() {
    ExportDialogBase::changeLanguage();
    if (!reEncodingBtn) return;
    reEncodingBtn->setContentTitle(services::localized(QStringLiteral("ReEncodingstringValue")));
    mergeAllIntoOne->setContentTitle(services::localized(QStringLiteral("MerageBtnstringValue")));
    enableGpuBtn->setContentTitle(services::localized(QStringLiteral("EnableGpustringValue")));
}

void ExportWindowController::startExport() {
    if (exporting()) {
        requestStop(QStringLiteral("StopExportMessage"));
        return;
    }
    if (!startExportCallbackBlock()) return;
    if (!services::FileManager::sharedManager().createDirectoryAtPath(outputPath())) {
        QMessageBox::warning(this, windowTitle(), services::localized(QStringLiteral("ExportFolderUnusableMessage")));
        return;
    }
    proposeOutputFileName(services::HelpClass::createFilename(), QFileInfo(inputFileName()).suffix());
    callStartBlock();
}

}  // namespace exportkit

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

namespace {

ExportWindowController::HardwareProbe& hardwareProbe() {
    static ExportWindowController::HardwareProbe probe;
    return probe;
}

// The option boxes run along the field column, a second row below when a language's titles do
// not fit on one.
constexpr int kBoxRowY = 80, kBoxRowPitch = 24, kBoxHeight = 22, kBoxGap = 16, kLeftMargin = 20;

}  // namespace

void ExportWindowController::setHardwareEncodingProbe(HardwareProbe probe) { hardwareProbe() = std::move(probe); }

bool ExportWindowController::reEncoding() const { return reEncodingBtn && reEncodingBtn->selected(); }

void ExportWindowController::changeLanguage() {
    ExportDialogBase::changeLanguage();
    if (enableGpuBtn)
        enableGpuBtn->setToolTip(hardwareEncoding_ ? QString() : services::localized(QStringLiteral("EnableGpuUnavailableTip")));
}

void ExportWindowController::buildOwnViews() {
    reEncodingBtn = style::makeCheckButton(this, true);
    mergeAllIntoOne = style::makeCheckButton(this, true);
    enableGpuBtn = style::makeCheckButton(this, false);
    for (kestrel::widgets::ZorButton* box : {reEncodingBtn, mergeAllIntoOne, enableGpuBtn}) {
        box->setGeometry(captionRight(), kBoxRowY, 115, kBoxHeight);
        box->setMouseDownAction([this](kestrel::widgets::ZorButton* clicked) {
            clicked->setSelected(!clicked->selected());
            if (clicked == mergeAllIntoOne) isMergeAllIntoOne_ = !isMergeAllIntoOne_;
            resetFinishState();
        });
    }
    // Without a probe nothing is known to work, so the box stays off.
    hardwareEncoding_ = hardwareProbe() && hardwareProbe()();
    enableGpuBtn->setEnabled(hardwareEncoding_);
    QColor dimmed = style::kCaptionColor;
    dimmed.setAlphaF(dimmed.alphaF() * 0.5);
    enableGpuBtn->setDisableColor(dimmed);
    mergeAllIntoOne->setVisible(!hiddenMergeAllIntoOne_);
    reEncodingBtn->setVisible(!hiddenEncodingOptions_);
    enableGpuBtn->setVisible(!hiddenEncodingOptions_);
    mergeAllIntoOne->setSelected(isMergeAllIntoOne_);
    // The progress row sits higher when the merge box is hidden (y 78 vs 63 from the bottom).
    const int bottomY = hiddenMergeAllIntoOne_ ? 78 : 63;
    progressGroup->move(progressGroup->x(), height() - bottomY - progressGroup->height());
}

void ExportWindowController::layoutCaptionColumn() {
    ExportDialogBase::layoutCaptionColumn();
    if (!reEncodingBtn) return;
    // Along the field column when that takes fewer rows, else from the dialog's left margin.
    const int fromMargin = layoutOptionBoxes(kLeftMargin);
    if (layoutOptionBoxes(captionRight()) > fromMargin) layoutOptionBoxes(kLeftMargin);
}

int ExportWindowController::layoutOptionBoxes(int left) {
    int x = left;
    int y = kBoxRowY;
    const std::pair<kestrel::widgets::ZorButton*, const char*> boxes[] = {
        {reEncodingBtn, "ReEncodingstringValue"}, {mergeAllIntoOne, "MerageBtnstringValue"}, {enableGpuBtn, "EnableGpustringValue"}};
    for (const auto& [box, key] : boxes) {
        const int width = style::fitCheckBox(box, services::localized(QLatin1String(key)), kContentRight - left);
        if (box->isHidden()) continue;
        if (x > left && x + width > kContentRight) {
            x = left;
            y += kBoxRowPitch;
        }
        box->move(x, y);
        x += width + kBoxGap;
    }
    return (y - kBoxRowY) / kBoxRowPitch + 1;
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

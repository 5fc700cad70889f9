#include "export/ui/export_session.h"

#include "export/ui/export_dialog_base.h"
#include "services/language.h"
#include "widgets/ns_progress_view.h"
#include "widgets/zor_button.h"

#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <algorithm>
#include <cmath>

namespace exportkit {
namespace {

ExportSession::FailureAlert& failureAlert() {
    static ExportSession::FailureAlert alert = [](QWidget* parent, const QString& text) {
        QMessageBox::warning(parent, services::localized(QStringLiteral("Export")), text);
    };
    return alert;
}

float progressValue(double fraction) {
    if (std::isnan(fraction)) return 0;
    return static_cast<float>(std::clamp(fraction, 0.0, 1.0));
}

}  // namespace

ExportSession::ExportSession(ExportDialogBase* dialog) : dialog_(dialog) { dialog_->loadWindow(); }

void ExportSession::setFailureAlert(FailureAlert alert) { failureAlert() = std::move(alert); }

bool ExportSession::running() const { return dialog_->exporting(); }

void ExportSession::begin() {
    dialog_->progressTitlelabel->show();
    dialog_->progressView->setProgress(0);
    dialog_->progressView->show();
    dialog_->succeededLabel->hide();
    dialog_->openBtn->hide();
    dialog_->closeBtn->hide();
    dialog_->startBtn->show();
    dialog_->startBtn->setContentTitle(services::localized(QStringLiteral("Stop")));
    dialog_->setExporting(true);
}

void ExportSession::setProgress(double fraction) {
    if (!dialog_->exporting()) return;
    dialog_->progressView->setProgress(progressValue(fraction));
}

void ExportSession::leaveRunning() {
    // Also closes a stop question asked meanwhile: there is no more to stop.
    dialog_->setExporting(false);
    dialog_->startBtn->setContentTitle(services::localized(QStringLiteral("Start")));
    dialog_->jobEnded();
}

void ExportSession::finishSucceeded(const QString& writtenPath, const QString& successText) {
    leaveRunning();
    dialog_->progressView->setProgress(1);
    dialog_->setOutputFileName(QFileInfo(writtenPath).fileName());
    dialog_->startBtn->hide();
    dialog_->openBtn->show();
    dialog_->closeBtn->show();
    // The final name is shown: numbering may have made it differ from the proposal.
    const QString name = dialog_->outputFileName();
    // In right-to-left text the file name stays one left-to-right run.
    const QString shownName =
        services::Language::isalaboLanguage() ? QChar(0x2066) + name + QChar(0x2069) : name;
    dialog_->showSucceeded(successText.isEmpty() ? shownName : successText + QLatin1Char(' ') + shownName);
}

void ExportSession::finishFailed(int code) { finishFailed(QStringLiteral("error:%1").arg(code)); }

void ExportSession::finishFailed(const QString& message) {
    leaveRunning();
    dialog_->progressView->setProgress(0);
    dialog_->progressView->hide();
    dialog_->progressTitlelabel->hide();
    dialog_->resetFinishState();
    if (failureAlert()) failureAlert()(dialog_, message);
}

void ExportSession::finishStopped() {
    leaveRunning();
    dialog_->progressView->setProgress(0);
    dialog_->progressView->hide();
    dialog_->progressTitlelabel->hide();
    dialog_->resetFinishState();
}

}  // namespace exportkit

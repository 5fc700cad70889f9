#include "tests/journeys/editor_journey_helpers.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScrollArea>
#include <QTimer>

#include "editor/editor_export_attachment.h"
#include "editor/export_controller.h"
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "export/ui/output_format_bar.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/support/user_input.h"
#include "widgets/zor_button.h"

namespace kestrel::test {

std::string makeJourneyClip(const TempDir& dir, const std::string& name, double seconds, int width, int height,
                            bool withSound) {
    FixtureSpec spec;
    spec.duration_s = seconds;
    spec.width = width;
    spec.height = height;
    spec.frame_rate = "25";
    spec.gop = 25;
    spec.audio_streams = withSound ? 1 : 0;
    const std::string path = dir.file(name);
    makeMedia(path, spec);
    return path;
}

CompareOptions journeyTolerance() {
    CompareOptions options;
    options.min_psnr_db = 25;
    options.min_ssim = 0.90;
    return options;
}

EditorJourney::EditorJourney(int64_t tool, const std::string& clip, bool magicEnhance) {
    // A new user: no remembered choice of an earlier run.
    auto& defaults = platform::UserDefaults::standard();
    for (const QString& key : defaults.allKeys()) defaults.removeObjectForKey(key);
    services::Language::setLanguage();
    window_ = new EditVideoWindowController(tool);
    window_->setIsMagicEnhance(magicEnhance);
    window_->setFilePath(QString::fromStdString(clip));
    window_->setAlertPresenter([this](const QString& message) { alerts_ << message; });
    exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { alerts_ << text; });
    window_->showWindow(QStringLiteral("Editor"));
    activate(window_->window());
}

EditorJourney::~EditorJourney() {
    if (window_ && window_->exportAttachment()) {
        kestrel::editor::EditorExportController* run = window_->exportAttachment()->exportRun();
        waitUntil([run] { return !run || run->pendingJobs() == 0; });
    }
    exportkit::ExportSession::setFailureAlert(nullptr);
    if (window_) window_->closeAction();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool EditorJourney::clickProfile(const QString& name) {
    exportkit::OutputFormatBar* bar = views().formatBar;
    const qsizetype at = bar->functionItemChilds().indexOf(name);
    if (at < 0) return false;
    kestrel::widgets::ZorButton* profile = bar->functionItemButtons()[size_t(at)];
    bar->functionItemScrollview()->ensureWidgetVisible(profile);
    click(profile);
    return true;
}

std::string EditorJourney::exportWithButton(const TempDir& folder) {
    kestrel::editor::EditorExportController* run = window_->exportAttachment()->exportRun();
    bool finished = false;
    // The dialog is modal: it is answered from inside its own loop, once it is up.
    auto* answer = new QTimer;
    answer->setInterval(20);
    QObject::connect(answer, &QTimer::timeout, [&, answer] {
        exportkit::ExportWindowController* dialog = run->exportProgressWindow();
        if (!dialog || !dialog->isVisible()) return;
        answer->stop();
        dialog->setOutputPath(QString::fromStdString(folder.path()));
        dialog->startExport();
        finished = waitUntil([&] { return !dialog->exporting() && run->pendingJobs() == 0; }, 300000);
        dialog->closeWindowAction();
    });
    answer->start();
    click(views().startExportBtn);
    answer->stop();
    delete answer;
    if (!finished) return {};
    const QString written = window_->fileData()->exportPath;
    return QFileInfo::exists(written) ? written.toStdString() : std::string();
}

}  // namespace kestrel::test

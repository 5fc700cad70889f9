#include "widgets/dialogs/open_panel.h"

#include "widgets/dialogs/file_kinds.h"
#include "services/folders.h"
#include "services/language.h"

#include <QFileDialog>

namespace kestrel::widgets {

namespace {

QStringList runFileDialog(const OpenPanelRequest& request) {
    QFileDialog panel(nullptr, request.message, request.directory);
    panel.setOption(QFileDialog::DontUseNativeDialog, true);
    panel.setOption(QFileDialog::DontResolveSymlinks, false);
    panel.setOption(QFileDialog::ReadOnly, !request.chooseFolders);  // new folders only where one is chosen
    if (request.chooseFolders) {
        panel.setFileMode(QFileDialog::Directory);
        panel.setOption(QFileDialog::ShowDirsOnly, true);
    } else {
        panel.setFileMode(request.allowsMultipleSelection ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    }
    panel.setAcceptMode(QFileDialog::AcceptOpen);
    panel.setLabelText(QFileDialog::Accept, request.prompt);
    panel.setLabelText(QFileDialog::Reject, request.cancelTitle);
    if (!request.allowedFileTypes.isEmpty()) {
        QStringList patterns, shown;
        for (const QString& type : request.allowedFileTypes) {
            patterns << caseInsensitivePattern(type);
            shown << QStringLiteral("*.") + type.toLower();
        }
        // The user reads the plain extensions; the letter-case patterns that match them stay hidden.
        panel.setOption(QFileDialog::HideNameFilterDetails, true);
        panel.setNameFilter(QStringLiteral("%1 (%2)").arg(shown.join(' '), patterns.join(' ')));
    }
    if (panel.exec() != QDialog::Accepted) return {};
    return panel.selectedFiles();
}

OpenPanelRunner& installedRunner() {
    static OpenPanelRunner runner;
    return runner;
}

}  // namespace

void setOpenPanelRunner(OpenPanelRunner runner) { installedRunner() = std::move(runner); }

QStringList runOpenPanel(const OpenPanelRequest& request) {
    const OpenPanelRunner& runner = installedRunner();
    return runner ? runner(request) : runFileDialog(request);
}

OpenPanelRequest standardOpenPanelRequest() {
    OpenPanelRequest request;
    request.message = services::localized(QStringLiteral("Main_Sel_File_Hit"));
    request.cancelTitle = services::localized(QStringLiteral("OpenPanelCancelTitle"));
    request.prompt = services::localized(QStringLiteral("OpenPanelOpenTitle"));
    request.directory = services::FileManager::moviesFolderPath() + "/" + services::localized(QStringLiteral("Title"));
    return request;
}

}  // namespace kestrel::widgets

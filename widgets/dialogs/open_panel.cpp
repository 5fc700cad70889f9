#include "widgets/dialogs/open_panel.h"

#include "widgets/dialogs/file_kinds.h"
#include "services/folders.h"
#include "services/language.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>
#include <utility>

namespace kestrel::widgets {

namespace {

QStringList runFileDialog(const OpenPanelRequest& request) {
    // No title of its own would leave the desktop's generic one.
    const QString title = request.message.isEmpty() ? services::localized(QStringLiteral("Main_Sel_File_Hit")) : request.message;
    QFileDialog panel(nullptr, title);
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
        // The user reads the plain extensions; the letter-case patterns that match them stay hidden.
        panel.setOption(QFileDialog::HideNameFilterDetails, true);
        panel.setNameFilters(openPanelNameFilters(request.allowedFileTypes));
    }
    const QString folder = existingStartFolder(request.directory);
    if (!folder.isEmpty()) panel.setDirectory(folder);
    if (panel.exec() != QDialog::Accepted) return {};
    return panel.selectedFiles();
}

enum class Kind { Video, Audio, Picture, Subtitle };

Kind kindOf(const QString& type) {
    static const QStringList subtitles = {QStringLiteral("srt"), QStringLiteral("ass"), QStringLiteral("ssa")};
    static const QStringList audioContainers = {QStringLiteral("mka"), QStringLiteral("mpa")};
    if (subtitles.contains(type)) return Kind::Subtitle;
    if (videoFileTypes().contains(type)) return Kind::Video;
    if (audioFileTypes().contains(type) || audioContainers.contains(type)) return Kind::Audio;
    if (pictureFileTypes().contains(type)) return Kind::Picture;
    return Kind::Video;
}

QString kindName(Kind kind) {
    switch (kind) {
    case Kind::Video: return services::localized(QStringLiteral("OpenPanelVideoFilesFilter"));
    case Kind::Audio: return services::localized(QStringLiteral("OpenPanelAudioFilesFilter"));
    case Kind::Picture: return services::localized(QStringLiteral("OpenPanelPicturesFilter"));
    case Kind::Subtitle: return services::localized(QStringLiteral("OpenPanelSubtitlesFilter"));
    }
    return {};
}

QString nameFilter(const QString& name, const QStringList& types) {
    QStringList shown, patterns;
    for (const QString& type : types) {
        shown << QStringLiteral("*.") + type;
        patterns << caseInsensitivePattern(type);
    }
    return QStringLiteral("%1 (%2) (%3)").arg(name, shown.join(' '), patterns.join(' '));
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

QStringList openPanelNameFilters(const QStringList& allowedFileTypes) {
    QStringList all;
    QList<std::pair<Kind, QStringList>> kinds;
    for (const QString& given : allowedFileTypes) {
        const QString type = given.toLower();
        if (type.isEmpty() || all.contains(type)) continue;
        all << type;
        const Kind kind = kindOf(type);
        auto group = std::find_if(kinds.begin(), kinds.end(), [kind](const auto& entry) { return entry.first == kind; });
        if (group == kinds.end()) kinds.append({kind, {type}});
        else group->second << type;
    }
    QStringList filters;
    if (kinds.size() > 1) filters << nameFilter(services::localized(QStringLiteral("OpenPanelAllFilesFilter")), all);
    for (const auto& [kind, types] : kinds) filters << nameFilter(kindName(kind), types);
    return filters;
}

QString existingStartFolder(const QString& folder) {
    if (folder.isEmpty()) return {};
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    while (!QFileInfo(path).isDir()) {
        const QString up = QFileInfo(path).path();
        if (up == path) return {};
        path = up;
    }
    return path;
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

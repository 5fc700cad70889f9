#include "widgets/dialogs/open_panel.h"

#include "services/folders.h"
#include "services/language.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/dialogs/file_kinds.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QSplitter>
#include <QTreeView>
#include <algorithm>
#include <memory>
#include <utility>

namespace kestrel::widgets {

namespace {

QStringList runFileDialog(const OpenPanelRequest& request) {
    const std::unique_ptr<QFileDialog> panel = makeFileDialog(request);
    if (panel->exec() != QDialog::Accepted) return {};
    return panel->selectedFiles();
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

constexpr int kPanelWidth = 820;
constexpr int kPanelHeight = 520;
constexpr int kPlacesWidth = 170;
constexpr int kListFrame = 40;  // the dialog's margins, the list's frame and its scroll bar
constexpr int kNameColumn = 0, kSizeColumn = 1, kKindColumn = 2, kDateColumn = 3;

// How many extensions a filter names before "…": a long list would run out of the pop-up.
constexpr int kNamedTypes = 5;

// The extensions a user knows first come first in a filter's name.
int familiarity(const QString& type) {
    static const QStringList familiar = {
        QStringLiteral("mp4"), QStringLiteral("mov"), QStringLiteral("mkv"), QStringLiteral("avi"), QStringLiteral("wmv"),
        QStringLiteral("webm"), QStringLiteral("m4v"), QStringLiteral("mpg"), QStringLiteral("mp3"), QStringLiteral("wav"),
        QStringLiteral("m4a"), QStringLiteral("aac"), QStringLiteral("flac"), QStringLiteral("ogg"), QStringLiteral("jpg"),
        QStringLiteral("png"), QStringLiteral("bmp"), QStringLiteral("gif"), QStringLiteral("tiff"), QStringLiteral("srt"),
        QStringLiteral("ass"), QStringLiteral("ssa")};
    const int at = static_cast<int>(familiar.indexOf(type));
    return at < 0 ? static_cast<int>(familiar.size()) : at;
}

QString nameFilter(const QString& name, const QStringList& types) {
    QStringList byFamiliarity = types;
    std::stable_sort(byFamiliarity.begin(), byFamiliarity.end(),
                     [](const QString& a, const QString& b) { return familiarity(a) < familiarity(b); });
    QStringList shown, patterns;
    for (const QString& type : byFamiliarity.mid(0, kNamedTypes)) shown << QStringLiteral("*.") + type;
    if (types.size() > kNamedTypes) shown << QString(QChar(0x2026));
    for (const QString& type : types) patterns << caseInsensitivePattern(type);
    // The extensions read left to right inside a right-to-left name too ("*.mp4", not "mp4.*").
    const QChar isolate(0x2066), endIsolate(0x2069);
    return QStringLiteral("%1 %2(%3)%4 (%5)").arg(name, isolate, shown.join(' '), endIsolate, patterns.join(' '));
}

// The panel's filters in order, each a name and its lower-case extensions: one for every kind
// together when there are several, then one per kind.
using FilterGroups = QList<std::pair<QString, QStringList>>;

FilterGroups filterGroups(const QStringList& allowedFileTypes) {
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
    FilterGroups groups;
    if (kinds.size() > 1) groups.append({services::localized(QStringLiteral("OpenPanelAllFilesFilter")), all});
    for (const auto& [kind, types] : kinds) groups.append({kindName(kind), types});
    return groups;
}

QStringList nameFilters(const FilterGroups& groups) {
    QStringList filters;
    for (const auto& [name, types] : groups) filters << nameFilter(name, types);
    return filters;
}

OpenPanelRunner& installedRunner() {
    static OpenPanelRunner runner;
    return runner;
}

// Qt sizes the file list's columns and the places list for a smaller dialog: sizes, kinds and
// dates would show cut ("459...KiB") and the places' names elided.
void fitColumns(QFileDialog* panel) {
    if (auto* places = panel->findChild<QSplitter*>(QStringLiteral("splitter")); places && places->count() == 2)
        places->setSizes({kPlacesWidth, kPanelWidth - kPlacesWidth});
    auto* list = panel->findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!list) return;
    const QFontMetrics metrics(list->font());
    const int padding = 3 * metrics.averageCharWidth() + list->style()->pixelMetric(QStyle::PM_HeaderMargin) * 2;
    const QString longestSize = QLocale().formattedDataSize(1023LL * 1024 * 1024 * 1024 - 1);
    const QString date = QLocale().toString(QDateTime(QDate(2026, 12, 28), QTime(23, 58)), QLocale::ShortFormat);
    QHeaderView* header = list->header();
    header->setMinimumSectionSize(metrics.averageCharWidth() * 6);
    header->resizeSection(kSizeColumn, metrics.horizontalAdvance(longestSize) + padding);
    header->resizeSection(kKindColumn, metrics.averageCharWidth() * 16 + padding);
    header->resizeSection(kDateColumn, metrics.horizontalAdvance(date) + padding);
    const int rest = kPanelWidth - kPlacesWidth - kListFrame - header->sectionSize(kSizeColumn) - header->sectionSize(kKindColumn) -
                     header->sectionSize(kDateColumn);
    header->resizeSection(kNameColumn, std::max(rest, metrics.averageCharWidth() * 20));
}

}  // namespace

void setOpenPanelRunner(OpenPanelRunner runner) { installedRunner() = std::move(runner); }

QStringList runOpenPanel(const OpenPanelRequest& request) {
    const OpenPanelRunner& runner = installedRunner();
    return runner ? runner(request) : runFileDialog(request);
}

QStringList openPanelNameFilters(const QStringList& allowedFileTypes) { return nameFilters(filterGroups(allowedFileTypes)); }

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

std::unique_ptr<QFileDialog> makeFileDialog(const OpenPanelRequest& request) {
    // No title of its own would leave the desktop's generic one.
    const QString title = request.message.isEmpty() ? services::localized(QStringLiteral("Main_Sel_File_Hit")) : request.message;
    auto panel = std::make_unique<QFileDialog>(nullptr, title);
    panel->setOption(QFileDialog::DontUseNativeDialog, true);
    panel->setOption(QFileDialog::DontResolveSymlinks, false);
    panel->setOption(QFileDialog::ReadOnly, !request.chooseFolders);  // new folders only where one is chosen
    if (request.chooseFolders) {
        panel->setFileMode(QFileDialog::Directory);
        panel->setOption(QFileDialog::ShowDirsOnly, true);
    } else {
        panel->setFileMode(request.allowsMultipleSelection ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    }
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setLabelText(QFileDialog::Accept, request.prompt);
    panel->setLabelText(QFileDialog::Reject, request.cancelTitle);
    const FilterGroups groups = filterGroups(request.allowedFileTypes);
    if (!groups.isEmpty()) {
        // The user reads the plain extensions; the letter-case patterns that match them stay hidden.
        panel->setOption(QFileDialog::HideNameFilterDetails, true);
        panel->setNameFilters(nameFilters(groups));
    }
    const QString folder = existingStartFolder(request.directory);
    if (!folder.isEmpty()) panel->setDirectory(folder);
    // Room for a folder's path and a filter's name; the grip would sit on the Cancel button.
    panel->resize(kPanelWidth, kPanelHeight);
    panel->setSizeGripEnabled(false);
    if (auto* kinds = panel->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        // A filter names its first extensions; its tool tip names them all.
        for (int i = 0; i < kinds->count() && i < groups.size(); ++i) {
            QStringList named;
            for (const QString& type : groups[i].second) named << QStringLiteral("*.") + type;
            kinds->setItemData(i, named.join(' '), Qt::ToolTipRole);
        }
    }
    fitColumns(panel.get());
    applyTextDirection(panel.get());
    return panel;
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

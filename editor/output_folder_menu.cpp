#include "editor/output_folder_menu.h"

#include "export/ui/reveal_in_file_manager.h"
#include "platform/user_defaults.h"
#include "services/folders.h"
#include "services/language.h"
#include "widgets/dialogs/open_panel.h"

#include <QDir>
#include <algorithm>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStandardPaths>

namespace kestrel::editor {

namespace {

const QString kOutputDirKey = QStringLiteral("kOutputDir");

QString standardFolder(QStandardPaths::StandardLocation location) {
    const QString path = QStandardPaths::writableLocation(location);
    return path.isEmpty() ? QDir::homePath() : path;
}

QString cleaned(const QString& path) { return path.isEmpty() ? path : QDir::cleanPath(path); }

}  // namespace

QString OutputFolderMenu::folderOf(Item item) {
    switch (item) {
    case Movies: return services::FileManager::moviesFolderPath();
    case Documents: return standardFolder(QStandardPaths::DocumentsLocation);
    case Desktop: return standardFolder(QStandardPaths::DesktopLocation);
    case ProgramFolder:
        return services::FileManager::moviesFolderPath() + QLatin1Char('/') + services::localized(QStringLiteral("Title"));
    default: return QString();
    }
}

OutputFolderMenu::OutputFolderMenu(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(10);
    setStyleSheet(QStringLiteral("QComboBox { background: rgb(32, 35, 43); color: rgb(170, 177, 185);"
                                 " border: 1px solid rgb(49, 60, 72); border-radius: 6px; padding: 0 6px; }"
                                 "QComboBox QAbstractItemView { background: rgb(32, 35, 43); color: rgb(170, 177, 185);"
                                 " selection-background-color: rgb(44, 50, 61); selection-color: rgb(96, 222, 208); }"));
    connect(this, qOverload<int>(&QComboBox::activated), this, &OutputFolderMenu::outputPopUpBtnAction);
    followRememberedFolder();
}

void OutputFolderMenu::revealFolder() const {
    if (outputPath_.isEmpty()) return;
    QDir().mkpath(outputPath_);
    exportkit::openFolderInFileManager(outputPath_);
}

void OutputFolderMenu::followRememberedFolder() {
    const QString remembered = cleaned(platform::UserDefaults::standard().stringForKey(kOutputDirKey));
    if (remembered.isEmpty()) {
        refill(chosenFolder_);
        showFolder(ProgramFolder, folderOf(ProgramFolder), false);
        QDir().mkpath(outputPath_);  // a folder that cannot be made is reported by the export
        return;
    }
    for (Item item : {Movies, Documents, Desktop, ProgramFolder}) {
        if (cleaned(folderOf(item)) == remembered) {
            refill(chosenFolder_);
            showFolder(item, remembered, false);
            return;
        }
    }
    chosenFolder_ = remembered;
    refill(chosenFolder_);
    showFolder(Chosen, remembered, false);
}

void OutputFolderMenu::refill(const QString& chosenFolder) {
    const QSignalBlocker quiet(this);
    clear();
    for (const char* key : {"outputFolderItemMovies", "outputFolderItemDocuments", "outputFolderItemDesktop", "Title",
                            "outputFolderItemOther..."})
        addItem(services::localized(QString::fromLatin1(key)));
    if (!chosenFolder.isEmpty()) {
        const QString name = QFileInfo(chosenFolder).fileName();
        addItem(name.isEmpty() ? chosenFolder : name);
    }
}

void OutputFolderMenu::retranslate() {
    const int index = currentIndex();
    refill(chosenFolder_);
    const QSignalBlocker quiet(this);
    setCurrentIndex(std::min(index, count() - 1));
}

void OutputFolderMenu::showFolder(int index, const QString& path, bool remember) {
    {
        const QSignalBlocker quiet(this);
        setCurrentIndex(index);
    }
    lastIndex_ = index;
    outputPath_ = path;
    setToolTip(path);
    if (remember) platform::UserDefaults::standard().setString(kOutputDirKey, path);
    Q_EMIT outputPathChanged(path);
}

void OutputFolderMenu::outputPopUpBtnAction(int index) {
    if (index == Other) {
        kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
        request.message = services::localized(QStringLiteral("Main_Sel_Dir_Hit"));
        request.directory = folderOf(ProgramFolder);
        request.chooseFolders = true;
        const QStringList chosen = kestrel::widgets::runOpenPanel(request);
        if (chosen.isEmpty() || chosen.first().isEmpty()) {
            const QSignalBlocker quiet(this);
            setCurrentIndex(lastIndex_);  // cancelled: nothing changes
            return;
        }
        chosenFolder_ = cleaned(chosen.first());
        refill(chosenFolder_);
        showFolder(Chosen, chosenFolder_, true);
        return;
    }
    if (index >= Chosen && !chosenFolder_.isEmpty()) {
        showFolder(Chosen, chosenFolder_, true);
        return;
    }
    const Item item = index >= Movies && index <= ProgramFolder ? Item(index) : ProgramFolder;
    const QString path = folderOf(item);
    if (item == ProgramFolder) QDir().mkpath(path);
    showFolder(item, path, true);
}

}  // namespace kestrel::editor

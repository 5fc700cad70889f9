#include "tools/shared/output_folder_popup.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

#include "services/folders.h"
#include "services/language.h"

namespace kestrel::tools::shared {

using services::localized;

namespace {

OutputFolderPopup::FolderChooser& folderChooser() {
    static OutputFolderPopup::FolderChooser chooser;
    return chooser;
}

QString askForFolder(const QString& start) {
    if (folderChooser()) return folderChooser()(start);
    return QFileDialog::getExistingDirectory(nullptr, localized(QStringLiteral("Main_Sel_Dir_Hit")), start,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

QString standardFolder(QStandardPaths::StandardLocation location) {
    const QString path = QStandardPaths::writableLocation(location);
    return path.isEmpty() ? QDir::homePath() : path;
}

}  // namespace

void OutputFolderPopup::setFolderChooser(FolderChooser chooser) { folderChooser() = std::move(chooser); }

QString OutputFolderPopup::programFolder() {
    return services::FileManager::moviesFolderPath() + QLatin1Char('/') + localized(QStringLiteral("Title"));
}

OutputFolderPopup::OutputFolderPopup(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const QString arrow = services::Language::pathWithfileName(QStringLiteral("ZantImage/Join/btnShowPanel_Normal@2x.png"));
    setStyleSheet(QStringLiteral("QComboBox { background: rgb(34,39,48); color: rgb(205,214,221);"
                                 " border: 1px solid rgb(58,65,77); border-radius: 4px; padding: 3px 8px; }"
                                 "QComboBox::drop-down { border: none; width: 18px; }"
                                 "QComboBox QAbstractItemView { background: rgb(34,39,48); color: rgb(205,214,221);"
                                 " selection-background-color: rgb(44,50,61); selection-color: rgb(96,222,208);"
                                 " border: 1px solid rgb(58,65,77); }")
                      + (arrow.isEmpty() ? QString()
                                         : QStringLiteral("QComboBox::down-arrow { image: url(\"%1\"); width: 12px; height: 12px; }")
                                               .arg(arrow)));
    rebuild();
    connect(this, qOverload<int>(&QComboBox::activated), this, &OutputFolderPopup::choose);
    choose(ProgramFolder);
}

void OutputFolderPopup::rebuild(const QString& chosenName) {
    rebuilding_ = true;
    clear();
    for (const char* key : {"outputFolderItemMovies", "outputFolderItemDocuments", "outputFolderItemDesktop", "Title",
                            "outputFolderItemOther..."})
        addItem(localized(QString::fromLatin1(key)));
    if (!chosenName.isEmpty()) addItem(chosenName);
    rebuilding_ = false;
}

void OutputFolderPopup::retranslate() {
    const QString chosen = count() > Chosen ? itemText(Chosen) : QString();
    const int index = currentIndex();
    rebuild(chosen);
    setCurrentIndex(index);
}

void OutputFolderPopup::setOutputPath(const QString& path) {
    outputPath_ = path;
    setToolTip(path);
    Q_EMIT outputPathChanged(path);
}

void OutputFolderPopup::choose(int index) {
    switch (index) {
    case Movies:
    case Documents:
    case Desktop: {
        const QStandardPaths::StandardLocation location[] = {QStandardPaths::MoviesLocation,
                                                             QStandardPaths::DocumentsLocation,
                                                             QStandardPaths::DesktopLocation};
        const QString path = index == Movies ? services::FileManager::moviesFolderPath() : standardFolder(location[index]);
        const QFileInfo folder(path);
        if (asksWhenUnwritable_ && !(folder.isDir() && folder.isWritable())) {
            // A folder nothing can be written into is no choice: the user picks another.
            choose(Other);
            return;
        }
        rebuild();
        setCurrentIndex(index);
        lastIndex_ = index;
        setOutputPath(path);
        return;
    }
    case Other: {
        const QString folder = askForFolder(programFolder());
        if (folder.isEmpty()) {
            setCurrentIndex(lastIndex_);  // cancelled: nothing changes
            return;
        }
        rebuild(QFileInfo(folder).fileName().isEmpty() ? folder : QFileInfo(folder).fileName());
        setCurrentIndex(Chosen);
        lastIndex_ = Chosen;
        setOutputPath(QDir::cleanPath(folder));
        return;
    }
    case ProgramFolder:
    default: {
        const QString path = index == ProgramFolder || index < 0 ? programFolder() : outputPath_;
        // A folder that cannot be made stays chosen; the run's writability test reports it.
        QDir().mkpath(path);
        const QString chosen = index >= Chosen && count() > Chosen ? itemText(Chosen) : QString();
        rebuild(chosen);
        setCurrentIndex(index < 0 ? ProgramFolder : std::min(index, count() - 1));
        lastIndex_ = currentIndex();
        setOutputPath(path);
        return;
    }
    }
}

}  // namespace kestrel::tools::shared

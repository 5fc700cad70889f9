#pragma once
// The editor's output-folder pop-up: the movies, documents and desktop folders, the program's own
// folder in the movies folder (the default, made when missing), an item that asks for another
// folder in the open panel, and that folder's name once chosen. The choice is remembered in
// "kOutputDir", the folder the export dialog starts in, so exports and snapshots of every later
// window use it too.
#include <QComboBox>
#include <QString>

namespace kestrel::editor {

class OutputFolderMenu : public QComboBox {
    Q_OBJECT
public:
    enum Item { Movies = 0, Documents = 1, Desktop = 2, ProgramFolder = 3, Other = 4, Chosen = 5 };

    // Shows the remembered folder, or the program's own folder when none is remembered.
    explicit OutputFolderMenu(QWidget* parent = nullptr);

    const QString& outputPath() const { return outputPath_; }
    // The folder a given item stands for (Other and Chosen excepted).
    static QString folderOf(Item item);

    // Acts on the item at the index as when the user picks it.
    void outputPopUpBtnAction(int index);
    // Shows the remembered folder again (after the export dialog may have changed it).
    void followRememberedFolder();
    // Re-titles the items in the current language.
    void retranslate();
    // Shows the folder in the file manager, making it first when it has gone (it is where the
    // next output goes).
    void revealFolder() const;

Q_SIGNALS:
    void outputPathChanged(const QString& path);

private:
    void refill(const QString& chosenFolder);
    void showFolder(int index, const QString& path, bool remember);

    QString outputPath_;
    QString chosenFolder_;
    int lastIndex_ = ProgramFolder;
};

}  // namespace kestrel::editor

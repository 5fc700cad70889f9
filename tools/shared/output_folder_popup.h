#pragma once
// The output-folder pop-up of the batch tools: the movies, documents and desktop folders, the
// program's own folder in the movies folder (the default, made when missing) and an item that
// asks for another folder, whose name is then appended as a sixth item. The choice is not
// remembered between windows.
#include <QComboBox>
#include <QString>
#include <functional>

namespace kestrel::tools::shared {

class OutputFolderPopup : public QComboBox {
    Q_OBJECT
public:
    enum Item { Movies = 0, Documents = 1, Desktop = 2, ProgramFolder = 3, Other = 4, Chosen = 5 };
    // Asks for a folder, starting in the given one; empty when cancelled.
    using FolderChooser = std::function<QString(const QString& start)>;

    explicit OutputFolderPopup(QWidget* parent = nullptr);

    const QString& outputPath() const { return outputPath_; }
    // Replaces the folder dialog (tests answer it); an empty function restores the dialog.
    static void setFolderChooser(FolderChooser chooser);

    // The program's own folder: the movies folder followed by the localised "Title".
    static QString programFolder();
    // Re-titles the base items in the current language.
    void retranslate();
    // Applies the item at the index as if the user had chosen it.
    void choose(int index);
    // When set, choosing the movies, documents or desktop folder while it cannot be written opens
    // the folder panel instead (the joiner's pop-up).
    void setAsksForAFolderWhenUnwritable(bool asks) { asksWhenUnwritable_ = asks; }

Q_SIGNALS:
    void outputPathChanged(const QString& path);

private:
    void rebuild(const QString& chosenName = QString());
    void setOutputPath(const QString& path);

    QString outputPath_;
    int lastIndex_ = ProgramFolder;
    bool rebuilding_ = false;
    bool asksWhenUnwritable_ = false;
};

}  // namespace kestrel::tools::shared

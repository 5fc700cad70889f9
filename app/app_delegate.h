#pragma once
// The application delegate: titles the main menu and styles the main window at launch, wires
// the help entry, and switches the interface language while the program runs.
#include <QAction>
#include <QMenuBar>
#include <QObject>
#include <QPointer>

class QComboBox;
class QFileDialog;
class QWidget;

namespace app {

class AppDelegate : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;

    // The delegate of this run (the most recently created one).
    static AppDelegate* sharedAppDelegate();

    QMenuBar* mainMenu() const { return mainMenu_; }
    void setMainMenu(QMenuBar* menu) { mainMenu_ = menu; }
    QAction* helpItemBtn() const { return helpItemBtn_; }
    void setHelpItemBtn(QAction* item) { helpItemBtn_ = item; }

    // Titles the menu, styles the main window (title bar colour, localised title) and wires help.
    void applicationDidFinishLaunching(QWidget* mainWindow);
    // The application ends when its last window closes.
    bool applicationShouldTerminateAfterLastWindowClosed() const { return true; }

    // A language pop-up whose first entry is its title: entry n stands for language n - 1.
    void langeuageAction(const QComboBox* popUp);
    // A language menu item: its tag - 100.
    void changeLangeuage(const QAction* item);
    // Stores the choice, keeps the preferred-language list, points lookups at the language,
    // re-titles the menu and tells every window to re-title itself.
    void setLange(qint64 index);

    // Opens the user guide installed with the program.
    void showHelpAction();
    // The About box over the active window.
    void showAboutBox();
    void quitAction();

    // A save panel with its message, prompt, allowed file types, folder creation, title, name
    // and start folder set; returned, not run (the caller owns it). The platform's choice to
    // hide an extension has no counterpart here: the name is always shown whole.
    static QFileDialog* savePanelWithTitleMessage(const QString& message, const QString& prompt, const QString& title,
                                                  const QString& nameFiledValue, bool createDirectories,
                                                  bool bSelectHiddenExtension, const QString& directory,
                                                  const QStringList& allowedFileTypes);
    // Runs the panel. Cancelled: an empty string. Chosen: the file is made empty when nothing is
    // there, remembered (its bookmark key stored under "logo_accessKey") and answered as a
    // "file:" URL text.
    static QString getSavePanelChooseFiles(QFileDialog* panel);
    // Appends "\n " and the text to "logo.text" on the user's desktop, made when missing; when
    // that file cannot be read, to the file last chosen in getSavePanelChooseFiles.
    static void writeLogToDesktop(const QString& text);

private:
    QPointer<QMenuBar> mainMenu_;
    QPointer<QAction> helpItemBtn_;
};

}  // namespace app

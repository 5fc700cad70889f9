#pragma once
// What the two modal export dialogs share: the output-folder row (remembered in "kOutputDir"),
// the progress row, Start/Stop, Open and Close, and the owner contract. The dialog runs no job:
// Start hands the full output path to the owner through startExportCallbackBlock; the same
// block called while exporting is the owner's stop request. The owner reports progress and the
// end of its job through ExportSession.
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <functional>

class QLabel;
class QLineEdit;
class QWidget;

namespace kestrel::widgets {
class NSProgressView;
class ZorButton;
}

namespace exportkit {

class ExportDialogBase : public QDialog {
    Q_OBJECT
public:
    using StartBlock = std::function<void(const QString& outputFilePath)>;
    // Asks the user for a folder, starting in startFolder; "" when cancelled.
    using FolderChooser = std::function<QString(const QString& startFolder)>;
    // Asks whether a running export should stop.
    using StopConfirmer = std::function<bool(const QString& messageKey)>;
    using Revealer = std::function<bool(const QString& filePath)>;

    explicit ExportDialogBase(QWidget* parent = nullptr);
    ~ExportDialogBase() override;

    // Builds the views on first use (the owner sets its options before).
    void loadWindow();
    // Builds the views before the first show, so that they are shown with the dialog.
    void setVisible(bool visible) override;

    bool exporting() const { return exporting_; }
    void setExporting(bool exporting) { exporting_ = exporting; }
    const QString& outputPath() const { return outputPath_; }
    void setOutputPath(const QString& path);
    const QString& inputFileName() const { return inputFileName_; }
    void setInputFileName(const QString& name) { inputFileName_ = name; }
    const QString& outputFileName() const { return outputFileName_; }
    void setOutputFileName(const QString& name) { outputFileName_ = name; }
    const StartBlock& startExportCallbackBlock() const { return startExportCallbackBlock_; }
    void setStartExportCallbackBlock(StartBlock block) { startExportCallbackBlock_ = std::move(block); }

    void setFolderChooser(FolderChooser chooser) { folderChooser_ = std::move(chooser); }
    void setStopConfirmer(StopConfirmer confirmer) { stopConfirmer_ = std::move(confirmer); }
    void setRevealer(Revealer revealer) { revealer_ = std::move(revealer); }

    // "<movies folder>/<localised Title>": the folder used until the user picks one.
    static QString defaultOutputFolder();

    virtual void changeLanguage();
    virtual void startExport() = 0;
    void selectOutputDirAction();
    QString openFolder();
    void outputOpenAction();
    virtual void openfileAction();
    void closeWindowAction();
    // Start titled "Start" and shown; Open, Close and the success text hidden.
    void resetFinishState();

    // Shows the result line (cut in the middle, whole in the tooltip, when it is too long).
    void showSucceeded(const QString& text);

    // Called by ExportSession when the owner's job has ended, whatever the outcome.
    virtual void jobEnded() {}
    // The stop question while it is open (else null); a job that ends meanwhile closes it.
    QMessageBox* stopAlert() const { return stopAlert_; }
    void dismissStopAlert();

    // Centres the dialog over owner and runs it modally.
    int runModal(QWidget* owner);

    // Outlets.
    QLabel* windowTitlelabel = nullptr;
    QLabel* outputTitleLabel = nullptr;
    QLabel* progressTitlelabel = nullptr;
    QLabel* succeededLabel = nullptr;
    QLineEdit* outputPathTextFiled = nullptr;
    QWidget* outputPathBox = nullptr;
    QWidget* progressGroup = nullptr;
    kestrel::widgets::ZorButton* selectOutputDirBtn = nullptr;
    kestrel::widgets::ZorButton* outputOpenBtn = nullptr;
    kestrel::widgets::NSProgressView* progressView = nullptr;
    kestrel::widgets::ZorButton* startBtn = nullptr;
    kestrel::widgets::ZorButton* openBtn = nullptr;
    kestrel::widgets::ZorButton* closeBtn = nullptr;

protected:
    // Builds the views of a subclass; called once by loadWindow after the shared ones.
    virtual void buildOwnViews() {}
    // Puts the fields right of the widest caption (texts change with the language).
    virtual void layoutCaptionColumn();
    int captionRight() const { return captionRight_; }
    // Right edge of the rows (the folder row's last button).
    static constexpr int kContentRight = 532;
    // The stop question, asked modally over the dialog; true when confirmed.
    bool askStop(const QString& messageKey);
    // Asks to stop (confirmation with messageKey), then sends the stop request; true when sent.
    bool requestStop(const QString& messageKey);
    // Calls the block with outputPath / outputFileName.
    void callStartBlock();
    // The proposed file in the current folder: base.ext, numbered while it exists.
    void proposeOutputFileName(const QString& base, const QString& extension);
    void closeEvent(QCloseEvent* event) override;
    void reject() override;


private:
    void buildSharedViews();
    void layoutActionButtons();

    bool loaded_ = false;
    int captionRight_ = 130;
    bool exporting_ = false;
    QString outputPath_;
    QString inputFileName_;
    QString outputFileName_;
    StartBlock startExportCallbackBlock_;
    FolderChooser folderChooser_;
    StopConfirmer stopConfirmer_;
    Revealer revealer_;
    QPointer<QMessageBox> stopAlert_;
};

}  // namespace exportkit

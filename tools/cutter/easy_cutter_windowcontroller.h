#pragma once
// The easy cutter: one video or audio file, any number of clips marked on its preview with the
// two-handle cut bar, written each to a file of its own in a new folder or all merged into one
// file. The preview and cut range on the left, the clip list with merge and Export on the right.
#include <QList>
#include <QString>
#include <memory>

#include "model/cutter_time_item.h"
#include "model/simple_data.h"
#include "widgets/tool_window.h"

class QLabel;

namespace exportkit {
class ExportSession;
class ExportWindowController;
}  // namespace exportkit

namespace kestrel::editor {
class ShutterSound;
}

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::cutter {

class CutRangePanel;
class EasyClipList;
class EasyCutExport;
struct EasyExportOutcome;

class EasyCutterWindowcontroller : public kestrel::widgets::ToolWindow {
    Q_OBJECT
public:
    explicit EasyCutterWindowcontroller(QWidget* parent = nullptr);
    ~EasyCutterWindowcontroller() override;

    // The input path, handed over by the opener before the window is first shown.
    const QString& filePath() const { return filePath_; }
    void setFilePath(const QString& value) { filePath_ = value; }

    // Loads filePath: a new preview and an empty clip list, or hidden editing controls when the
    // file cannot be used.
    void setupDataForFilePath();
    // The open panel, then the chosen file in place of the shown one: a file that cannot be used
    // is named with the reason and changes nothing; one that would drop clips asks first.
    void addFileAction();
    void addFile(const QString& path);
    // Adds the range on the cut bar as a clip (refused when it is empty).
    void addClipAction();
    // Builds a new export dialog wired to this window (startExportAction runs it modally).
    exportkit::ExportWindowController* prepareExportDialog();
    void startExportAction();

    const QList<kestrel::model::CutterTimeItem>& clips() const { return clips_; }
    // The file the clips belong to (null before a file was loaded).
    const kestrel::model::SimpleDataPtr& fileData() const { return fileData_; }
    int selectedClip() const { return selected_; }
    bool exporting() const;

    // Controls, for tests.
    CutRangePanel* rangePanel() const { return panel_; }
    EasyClipList* clipList() const { return clipList_; }
    kestrel::widgets::ZorButton* addClipButton() const { return cutStartBtn_; }
    kestrel::widgets::ZorButton* exportButton() const { return startExportBtn_; }
    kestrel::widgets::ZorButton* mergeButton() const { return mergeBtn_; }
    kestrel::widgets::ZorButton* addFileButton() const { return updateFileAddBtn_; }
    kestrel::widgets::ZorButton* resetStartButton() const { return resetCutLeftBtn_; }
    kestrel::widgets::ZorButton* resetEndButton() const { return resetCutRightBtn_; }
    QLabel* sourceLabel() const { return scrLabel_; }
    QWidget* keyHintPanel() const { return keybordTishiView_; }
    QLabel* titleLabel() const { return windowTitlLabel_; }
    QLabel* stepHintLabel() const { return controlmarksLabel_; }
    const QString& lastAlertText() const { return lastAlertText_; }
    const QString& lastSnapshotPath() const { return lastSnapshotPath_; }
    // The folder snapshots go to: the export dialog's output folder.
    static QString snapshotFolder();
    // The click a snapshot and a clip's picture make (tests count it).
    void setShutterSound(std::unique_ptr<kestrel::editor::ShutterSound> sound);

Q_SIGNALS:
    // An export ended (done, stopped or failed).
    void exportEnded();

protected:
    void windowDidLoad() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void changeLanguage();
    void enableEditItemShow(bool show);
    void enableEdit(bool enabled);
    void reloadClips();
    void selectClip(int index);
    void clipPressed(int index);
    void deleteClip(int index);
    void moveClip(int index, int delta);
    void pasteClip(int index);
    void loadRecord(const kestrel::model::SimpleDataPtr& record);
    void takeSnapshot();
    void exportCallback(const QString& proposedPath);
    void exportEndedWith(const EasyExportOutcome& outcome);
    void showSimpleAlert(const QString& message);

    QString filePath_;
    kestrel::model::SimpleDataPtr fileData_;
    QList<kestrel::model::CutterTimeItem> clips_;
    int selected_ = -1;
    EasyCutExport* export_ = nullptr;
    exportkit::ExportWindowController* dialog_ = nullptr;
    std::unique_ptr<exportkit::ExportSession> session_;

    QLabel* windowTitlLabel_ = nullptr;
    QLabel* scrLabel_ = nullptr;
    CutRangePanel* panel_ = nullptr;
    kestrel::widgets::ZorButton *resetCutLeftBtn_ = nullptr, *resetCutRightBtn_ = nullptr, *cutStartBtn_ = nullptr;
    QWidget* keybordTishiView_ = nullptr;
    QLabel* controlkeybordLabel_ = nullptr;
    QLabel* playpauseLabel_ = nullptr;
    QLabel* controlmarksLabel_ = nullptr;
    QLabel* setMarksLabel_ = nullptr;
    QLabel* cutClipsLabel_ = nullptr;
    EasyClipList* clipList_ = nullptr;
    kestrel::widgets::ZorButton *mergeBtn_ = nullptr, *updateFileAddBtn_ = nullptr, *startExportBtn_ = nullptr;
    QString lastAlertText_;
    QString lastSnapshotPath_;
    std::unique_ptr<kestrel::editor::ShutterSound> shutterSound_;
};

}  // namespace kestrel::tools::cutter

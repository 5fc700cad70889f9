#pragma once
// The batch cutter: a list of video and audio files, each with its own cut range and mode (keep
// the range, or remove it and keep what lies around it), cut one after another into the chosen
// output folder. The list on the left, the preview and cut-range panel on the right, the output
// bar with the Start/Cancel button at the bottom.
#include <QList>
#include <QString>
#include <memory>

#include "model/simple_data.h"
#include "widgets/tool_window.h"

class QLabel;
class QStackedWidget;

namespace kestrel::editor {
class ShutterSound;
}

namespace kestrel::widgets {
class NSProgressView;
class ZorButton;
}  // namespace kestrel::widgets

namespace kestrel::tools::shared {
class ClipListView;
class OutputFolderPopup;
class SupportMailLink;
}  // namespace kestrel::tools::shared

namespace kestrel::tools::cutter {

class BatchCutRun;
class CutRangePanel;
struct BatchRunSummary;

class BatchCutterWindowController : public kestrel::widgets::ToolWindow {
    Q_OBJECT
public:
    explicit BatchCutterWindowController(QWidget* parent = nullptr);
    ~BatchCutterWindowController() override;

    const QList<kestrel::model::SimpleDataPtr>& fileList() const { return fileList_; }
    QString outputPath() const;
    bool running() const;

    // The open panel, then the probe of each chosen file; refused files are listed in one alert.
    void addFileAction();
    // Adds files as the panel would have (also used by drag and drop).
    void addFiles(const QStringList& paths);
    // Starts a run, or cancels the one under way.
    void startBachCutterAction();
    // Every other file takes the selected file's range and mode.
    void applytoallItemAction();
    void resetCutterItemAction();

    // Controls, for tests.
    kestrel::tools::shared::ClipListView* fileListTableView() const { return fileListTableView_; }
    CutRangePanel* rangePanel() const { return panel_; }
    kestrel::widgets::ZorButton* addFileButton() const { return addfileBtn_; }
    kestrel::widgets::ZorButton* startButton() const { return startJoinnerBtn_; }
    kestrel::widgets::ZorButton* removeButton() const { return removeBtn_; }
    kestrel::widgets::ZorButton* clearButton() const { return clearBtn_; }
    kestrel::widgets::ZorButton* upButton() const { return upBtn_; }
    kestrel::widgets::ZorButton* downButton() const { return downBtn_; }
    kestrel::widgets::ZorButton* keepRangeButton() const { return selectTimeBtn_; }
    kestrel::widgets::ZorButton* removeRangeButton() const { return unSelectTimeBtn_; }
    kestrel::widgets::ZorButton* resetButton() const { return resetCutterBtn_; }
    kestrel::widgets::ZorButton* applyToAllButton() const { return applytoallBtn_; }
    kestrel::widgets::NSProgressView* overallProgressView() const { return joinnerProgressView_; }
    kestrel::tools::shared::OutputFolderPopup* outputFolderPopup() const { return outputFolderBtn_; }
    // The text of the last alert shown (tests read it; alerts are modal).
    const QString& lastAlertText() const { return lastAlertText_; }
    const QString& lastSnapshotPath() const { return lastSnapshotPath_; }
    QLabel* titleLabel() const { return windowTitleLabel_; }
    // The preview area's logo while the list is empty.
    QWidget* logoView() const { return nofileplayerBgView_; }
    kestrel::tools::shared::SupportMailLink* supportMailLink() const { return emailLink_; }
    // The click a snapshot makes (tests count it).
    void setShutterSound(std::unique_ptr<kestrel::editor::ShutterSound> sound);

Q_SIGNALS:
    // A run ended (after its alert, if any).
    void runEnded();

protected:
    void windowDidLoad() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void changeLanguage();
    void fileListViewHidden(bool hidden);
    void enableEdit(bool enabled);
    void refreshList(bool reportSelection);
    void initPlayer();
    void updateMoveButtons();
    void showMode(bool removeRange);
    void setMode(bool removeRange);
    void removeSelected();
    void clearList();
    void moveSelected(int delta);
    void runFinished(const BatchRunSummary& summary);
    void showSimpleAlert(const QString& message);
    void showFinishedAlert();
    void takeSnapshot();
    QWidget* buildLogoView();
    kestrel::model::SimpleDataPtr selectedRecord() const;

    QList<kestrel::model::SimpleDataPtr> fileList_;
    BatchCutRun* run_ = nullptr;

    QLabel* windowTitleLabel_ = nullptr;
    kestrel::widgets::ZorButton* addfileBtn_ = nullptr;
    QStackedWidget* listStack_ = nullptr;
    QWidget* emptyView_ = nullptr;
    QLabel* gettingstatedlabel_ = nullptr;
    QLabel* steps_[3] = {};
    kestrel::tools::shared::SupportMailLink* emailLink_ = nullptr;
    QWidget* nofileplayerBgView_ = nullptr;
    QLabel* logoTitle_ = nullptr;
    QLabel* logoSubtitle_ = nullptr;
    kestrel::tools::shared::ClipListView* fileListTableView_ = nullptr;
    QWidget* listButtons_ = nullptr;
    kestrel::widgets::ZorButton *removeBtn_ = nullptr, *clearBtn_ = nullptr, *upBtn_ = nullptr, *downBtn_ = nullptr;
    CutRangePanel* panel_ = nullptr;
    kestrel::widgets::ZorButton *selectTimeBtn_ = nullptr, *unSelectTimeBtn_ = nullptr;
    kestrel::widgets::ZorButton *resetCutterBtn_ = nullptr, *applytoallBtn_ = nullptr;
    QLabel* outputLabel_ = nullptr;
    kestrel::tools::shared::OutputFolderPopup* outputFolderBtn_ = nullptr;
    kestrel::widgets::ZorButton* openOutputFolderBtn_ = nullptr;
    QLabel* joinnerLabel_ = nullptr;
    kestrel::widgets::NSProgressView* joinnerProgressView_ = nullptr;
    kestrel::widgets::ZorButton* startJoinnerBtn_ = nullptr;
    QString lastAlertText_;
    QString lastSnapshotPath_;
    std::unique_ptr<kestrel::editor::ShutterSound> shutterSound_;
};

}  // namespace kestrel::tools::cutter

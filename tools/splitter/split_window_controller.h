#pragma once
// The splitter's window: a file probed and previewed, split by time, by size, into equal parts
// or at hand-placed points on the split-point bar, and exported piece by piece into a new run
// folder through one split job, with the run's progress and Stop in the export dialog.
#include <QList>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "export/ui/export_window_controller.h"
#include "model/simple_data.h"
#include "session/export/split/split_job.h"
#include "widgets/tool_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;
class QWidget;

namespace exportkit {
class ExportSession;
class ExportWindowController;
}  // namespace exportkit
namespace kestrel::player {
class DIVuverIzizud;
}
namespace kestrel::session {
class SplitJob;
struct JobResult;
}  // namespace kestrel::session

namespace kestrel::tools::splitter {

class SplitProgressView;

enum class SplitMode { Time, Size, Average, Manual };

class SplitWindowController : public kestrel::widgets::ToolWindow {
    Q_OBJECT
public:
    explicit SplitWindowController(QWidget* parent = nullptr);
    ~SplitWindowController() override;

    const QString& filePath() const { return filePath_; }
    void setFilePath(const QString& value) { filePath_ = value; }

    // How the window shows its dialogs; tests answer them without a modal run.
    using DialogPresenter = std::function<void(exportkit::ExportWindowController* dialog)>;
    using NumberPrompt = std::function<QString(int type, double maxNumber)>;
    using MessagePresenter = std::function<void(const QString& text)>;
    static void setExportDialogPresenter(DialogPresenter presenter);
    static void setNumberPrompt(NumberPrompt prompt);
    static void setMessagePresenter(MessagePresenter presenter);

    // Probes filePath and sets the window up for it; false when the file cannot be split.
    bool setUpDataWithFilePath();
    SplitMode mode() const;
    const kestrel::model::SimpleDataPtr& fileData() const { return fileData_; }
    bool exporting() const;
    exportkit::ExportWindowController* exportProgressWindow() const { return exportDialog_; }
    // The run folder of the last export.
    const QString& outputPath() const { return outputPath_; }

    // Controls, for the look and the tests.
    QRadioButton* split_timeBtn = nullptr;
    QRadioButton* split_sizeBtn = nullptr;
    QRadioButton* split_averageBtn = nullptr;
    QRadioButton* split_manuallyBtn = nullptr;
    QComboBox* split_timepopBtn = nullptr;
    QComboBox* split_sizepopBtn = nullptr;
    QLineEdit* averageTextField = nullptr;
    QPushButton* averagestepperUpBtn = nullptr;
    QPushButton* averagestepperDownBtn = nullptr;
    SplitProgressView* playerSlider = nullptr;
    QPushButton* playBtn = nullptr;
    QPushButton* pauseBtn = nullptr;
    QSlider* volumeSlider = nullptr;
    QPushButton* splitItemBtn = nullptr;
    QPushButton* leftMoveBtn = nullptr;
    QPushButton* rightMoveBtn = nullptr;
    QPushButton* deletedItemBtn = nullptr;
    QLabel* splitTimeLabel = nullptr;
    QLabel* playerCurrentTimeLabel = nullptr;
    QLabel* totalTimeLabel = nullptr;
    QPushButton* addfileBtn = nullptr;
    QPushButton* startExportBtn = nullptr;
    QLabel* windowTitleLabel = nullptr;
    QLabel* resolutionValueLabel = nullptr;
    QLabel* resoucefilesizeValueLabel = nullptr;
    QLabel* resouceTotaltimeValueLabel = nullptr;
    QWidget* contentLeftView = nullptr;

protected:
    void windowDidLoad() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildViews();
    void changeLanguage();
    void fillPopups();
    void enableEdit(bool enabled);
    void selectMode(SplitMode mode);
    void splitAction();
    void popupChosen(QComboBox* popup, int type);
    void stepAverage(int delta);
    void refreshPointButtons();
    void addFileAction();
    void initPlayer();
    void playAction();
    void pauseAction();
    void seekToFraction(float fraction);
    void pollPlayer();
    void startExportAction();
    void startExportCallback(const QString& path);
    void jobFinished(const kestrel::session::JobResult& result);
    void showMessage(const QString& text);
    double durationSeconds() const;

    QString filePath_;
    kestrel::model::SimpleDataPtr fileData_;
    std::unique_ptr<kestrel::player::DIVuverIzizud> player_;
    QTimer* playerTimer_ = nullptr;
    QPointer<exportkit::ExportWindowController> exportDialog_;
    std::unique_ptr<exportkit::ExportSession> exportSession_;
    QPointer<kestrel::session::SplitJob> job_;
    QString outputPath_;
    QList<QLabel*> captionLabels_;
    QLabel* audioLogo_ = nullptr;
};

}  // namespace kestrel::tools::splitter

// The home screen names the window by its earlier namespace.
namespace splitter {
using kestrel::tools::splitter::SplitWindowController;
}  // namespace splitter

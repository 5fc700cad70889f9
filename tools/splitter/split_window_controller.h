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
#include "widgets/rd_progress_slider.h"
#include "widgets/rd_text_field.h"
#include "widgets/tool_window.h"

class QComboBox;
class QLabel;
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
namespace kestrel::widgets {
class ImageView;
class ZorButton;
}  // namespace kestrel::widgets

namespace kestrel::tools::splitter {

class SplitProgressView;

enum class SplitMode { Time, Size, Average, Manual };

class SplitWindowController : public kestrel::widgets::ToolWindow,
                              private kestrel::widgets::RDTextFieldDelegate,
                              private kestrel::widgets::RDProgressSliderDelegate {
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

    // Probes filePath and sets the window up for it; false (with the reason said) when the file
    // cannot be split, and the window then stays as it was.
    bool setUpDataWithFilePath();
    SplitMode mode() const;
    const kestrel::model::SimpleDataPtr& fileData() const { return fileData_; }
    bool exporting() const;
    exportkit::ExportWindowController* exportProgressWindow() const { return exportDialog_; }
    // The run folder of the last export.
    const QString& outputPath() const { return outputPath_; }
    // Read from the preview player.
    bool playing() const;
    double positionSeconds() const;
    bool muted() const { return muted_; }
    // The most equal parts the loaded file takes: each piece holds at least one second.
    int maxEqualParts() const;

    // Controls, for the look and the tests.
    kestrel::widgets::ZorButton* split_timeBtn = nullptr;
    kestrel::widgets::ZorButton* split_sizeBtn = nullptr;
    kestrel::widgets::ZorButton* split_averageBtn = nullptr;
    kestrel::widgets::ZorButton* split_manuallyBtn = nullptr;
    QWidget* split_timepopBgView = nullptr;
    QWidget* split_sizepopBgView = nullptr;
    QWidget* split_averageBgView = nullptr;
    QLabel* split_timepopTextField = nullptr;
    QLabel* split_sizepopTextField = nullptr;
    QComboBox* split_timepopBtn = nullptr;
    QComboBox* split_sizepopBtn = nullptr;
    kestrel::widgets::RDTextField* averageTextField = nullptr;
    kestrel::widgets::ZorButton* averagestepperUpBtn = nullptr;
    kestrel::widgets::ZorButton* averagestepperDownBtn = nullptr;
    QLabel* averageLimitLabel = nullptr;
    SplitProgressView* playerSlider = nullptr;
    kestrel::widgets::ZorButton* playBtn = nullptr;
    kestrel::widgets::ZorButton* pauseBtn = nullptr;
    kestrel::widgets::ZorButton* volumeBtn = nullptr;
    kestrel::widgets::RDProgressSlider* volumeSlider = nullptr;
    kestrel::widgets::ZorButton* splitItemBtn = nullptr;
    kestrel::widgets::ZorButton* leftMoveBtn = nullptr;
    kestrel::widgets::ZorButton* rightMoveBtn = nullptr;
    kestrel::widgets::ZorButton* deletedItemBtn = nullptr;
    QLabel* splitTimeLabel = nullptr;
    QLabel* playerCurrentTimeLabel = nullptr;
    QLabel* totalTimeLabel = nullptr;
    kestrel::widgets::ZorButton* addfileBtn = nullptr;
    kestrel::widgets::ZorButton* startExportBtn = nullptr;
    QLabel* windowTitleLabel = nullptr;
    QLabel* sourceInformationLabel = nullptr;
    QLabel* resolutionLabel = nullptr;
    QLabel* resolutionValueLabel = nullptr;
    QLabel* resoucefilesizeLabel = nullptr;
    QLabel* resoucefilesizeValueLabel = nullptr;
    QLabel* resouceTotaltimeLabel = nullptr;
    QLabel* resouceTotaltimeValueLabel = nullptr;
    QWidget* contentLeftView = nullptr;
    QWidget* contentRightView = nullptr;

protected:
    void windowDidLoad() override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Controls and their wiring (split_window_build.cpp).
    void buildViews();
    void buildModes(QWidget* panel);
    void buildTransport(QWidget* column);
    void wireBar();
    void changeLanguage();

    // The file, its points and the preview.
    void fillPopups();
    void enableEdit(bool enabled);
    void selectMode(SplitMode mode);
    void splitAction();
    void popupChosen(QComboBox* popup, int type);
    void showPopupTitles();
    void commitAverage();
    void stepAverage(int delta);
    void setAverage(long long asked);
    void refreshPointButtons();
    void addFileAction();
    // The record of path, or none with the reason said.
    kestrel::model::SimpleDataPtr probe(const QString& path);
    // The window set up for a probed file: lists, labels, preview, equal parts.
    void setUp(const kestrel::model::SimpleDataPtr& record);
    void initPlayer();
    void playToggle();
    void stopAction();
    void muteToggle();
    void refreshTransport();
    void seekToFraction(float fraction);
    void pollPlayer();
    void showMessage(const QString& text);
    double durationSeconds() const;

    // The export (split_window_export.cpp).
    void startExportAction();
    void startExportCallback(const QString& path);
    void jobFinished(const kestrel::session::JobResult& result);

    void actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) override;
    void actionMouseDownForProgressSliderBlock(kestrel::widgets::RDProgressSlider*, float progress) override;
    void actionProgressForProgressSliderBlock(kestrel::widgets::RDProgressSlider*, float progress) override;
    void actionMouseUpForProgressSliderBlock(kestrel::widgets::RDProgressSlider*, float progress) override;
    void setVolumeFromSlider(float progress);

    QString filePath_;
    kestrel::model::SimpleDataPtr fileData_;
    std::unique_ptr<kestrel::player::DIVuverIzizud> player_;
    QTimer* playerTimer_ = nullptr;
    // A press on the bar pauses a playing preview until the release.
    bool resumeAfterSeek_ = false;
    bool muted_ = false;
    // The pop-up items chosen last, restored when a custom value is not given.
    int timeChoice_ = -1;
    int sizeChoice_ = -1;
    QPointer<exportkit::ExportWindowController> exportDialog_;
    std::unique_ptr<exportkit::ExportSession> exportSession_;
    QPointer<kestrel::session::SplitJob> job_;
    QString outputPath_;
    kestrel::widgets::ImageView* audioLogo_ = nullptr;
};

}  // namespace kestrel::tools::splitter

// The home screen names the window by its earlier namespace.
namespace splitter {
using kestrel::tools::splitter::SplitWindowController;
}  // namespace splitter

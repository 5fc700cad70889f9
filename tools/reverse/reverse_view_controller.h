#pragma once
// The reverse tool's view: a preview of the chosen file with its cut range (trim bar, typed
// times with steppers, set-from-position and reset), the three sound modes, and the export of
// the range rendered backwards through one reverse job, its progress and Stop in the dialog.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "export/ui/start_export_window_controller.h"
#include "session/export/reverse/reverse_job.h"
#include "tools/reverse/reverse_input_kind.h"
#include "widgets/rd_cut_progress_view.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;

namespace exportkit {
class ExportSession;
}
namespace kestrel::player {
class DIVuverIzizud;
}

namespace kestrel::tools::reverse {

class ReverseViewController : public QWidget, private kestrel::widgets::RDCutProgressViewDelegate {
    Q_OBJECT
public:
    explicit ReverseViewController(QWidget* parent = nullptr);
    ~ReverseViewController() override;

    const QString& filePath() const { return filePath_; }
    void setFilePath(const QString& value) { filePath_ = value; }

    // How the view shows its export dialog; tests answer it without a modal run.
    using DialogPresenter = std::function<void(exportkit::StartExportWindowController* dialog)>;
    static void setExportDialogPresenter(DialogPresenter presenter);

    // Builds the preview of filePath; false when the file cannot be previewed.
    bool initPlayer();
    int64_t start_us() const { return start_us_; }
    int64_t end_us() const { return end_us_; }
    int64_t total_us() const { return total_us_; }
    InputKind kind() const { return kind_; }
    session::ReverseSound soundMode() const;
    bool exporting() const;
    exportkit::StartExportWindowController* exportProgressWindow() const { return exportDialog_; }
    // Moves the preview to a time (the trim bar's play tick follows).
    void seekTo(int64_t time_us);

    // Called by the hosting window while it is still on screen.
    void windowWillClose();

    // Controls, for the look and the tests.
    kestrel::widgets::RDCutProgressView* cutTimeSlider = nullptr;
    std::array<QLineEdit*, 4> startFields{};
    std::array<QLineEdit*, 4> endFields{};
    QPushButton* startTimeUpBtn = nullptr;
    QPushButton* startTimeDownBtn = nullptr;
    QPushButton* stopTimeUpBtn = nullptr;
    QPushButton* stopTimeDownBtn = nullptr;
    QPushButton* leftCutBtn = nullptr;
    QPushButton* rightCutBtn = nullptr;
    QPushButton* leftResetBtn = nullptr;
    QPushButton* rightResetBtn = nullptr;
    QRadioButton* keepSoundBtn = nullptr;
    QRadioButton* removeSoundBtn = nullptr;
    QRadioButton* reverseSoundBtn = nullptr;
    QPushButton* playBtn = nullptr;
    QPushButton* playSelectedBtn = nullptr;
    QPushButton* stopBtn = nullptr;
    QSlider* volumeSlider = nullptr;
    QPushButton* addFileBtn = nullptr;
    QPushButton* exportBtn = nullptr;
    QLabel* titleLabel = nullptr;
    QLabel* leftTimeTextField = nullptr;
    QLabel* middleTimeTextField = nullptr;
    QLabel* rightTimeTextField = nullptr;
    QWidget* playBgView = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildViews();
    void changeLanguage();
    void viewDidLoad();
    void resetTextFields();
    void fieldEdited(bool startGroup);
    void step(bool startGroup, int delta);
    void setStart(int64_t value_us);
    void setEnd(int64_t value_us);
    void playAction(bool selectedRange);
    void pausePreview();
    void stopAction();
    void pollPosition();
    void addFileBtnAction();
    void exportBtnAction();
    void exportCallback(const QString& path);
    void jobFinished(const session::JobResult& result);
    void enableEditing(bool enabled);
    int64_t currentTime_us() const;

    void actionMouseDownForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float) override;
    void actionSeekToTimeForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float startvalue, float stopvalue,
                                                 int64_t handleType) override;
    void actionMouseUpForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) override;

    QString filePath_;
    InputKind kind_ = InputKind::Other;
    int64_t start_us_ = 0, end_us_ = 0, total_us_ = 0;
    bool playingRange_ = false;
    bool loaded_ = false;
    QLineEdit* editedField_ = nullptr;
    std::unique_ptr<kestrel::player::DIVuverIzizud> player_;
    QTimer* positionTimer_ = nullptr;
    QPointer<exportkit::StartExportWindowController> exportDialog_;
    std::unique_ptr<exportkit::ExportSession> exportSession_;
    QPointer<session::ReverseJob> job_;
    QLabel* startCaption_ = nullptr;
    QLabel* endCaption_ = nullptr;
    QLabel* rangeCaption_ = nullptr;
    QLabel* soundCaption_ = nullptr;
};

}  // namespace kestrel::tools::reverse

// The home screen names the view by its earlier namespace.
namespace reverse {
using kestrel::tools::reverse::ReverseViewController;
}  // namespace reverse

#pragma once
// The reverse tool's view: a preview of the chosen file with its cut range (trim bar, two groups
// of typed times with steppers, set-from-position and reset), the volume and mute, the three
// sound modes, and the export of the range rendered backwards through one reverse job, its
// progress and Stop in the dialog.
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
#include "widgets/volume_progress_slider.h"

class QLabel;
class QTimer;

namespace exportkit {
class ExportSession;
}
namespace kestrel::player {
class DIVuverIzizud;
}
namespace kestrel::tools::shared {
class TimeFieldGroup;
}
namespace kestrel::widgets {
class ImageView;
class RDTextField;
class XJGraphicButton;
class ZorButton;
}  // namespace kestrel::widgets

namespace kestrel::tools::reverse {

class ReverseViewController : public QWidget,
                              private kestrel::widgets::RDCutProgressViewDelegate,
                              private kestrel::widgets::VolumeProgressSliderDelegate {
    Q_OBJECT
public:
    explicit ReverseViewController(QWidget* parent = nullptr);
    ~ReverseViewController() override;

    const QString& filePath() const { return filePath_; }
    void setFilePath(const QString& value) { filePath_ = value; }

    // How the view shows its dialogs; tests answer them without a modal run.
    using DialogPresenter = std::function<void(exportkit::StartExportWindowController* dialog)>;
    using MessagePresenter = std::function<void(const QString& text)>;
    static void setExportDialogPresenter(DialogPresenter presenter);
    static void setMessagePresenter(MessagePresenter presenter);

    // Builds the preview of filePath; false (with the file and the reason said) when the file
    // cannot be previewed. A file that is refused leaves the loaded one as it was.
    bool initPlayer();
    int64_t start_us() const { return start_us_; }
    int64_t end_us() const { return end_us_; }
    int64_t total_us() const { return total_us_; }
    InputKind kind() const { return kind_; }
    bool soundOnly() const { return soundOnly_; }
    session::ReverseSound soundMode() const;
    bool exporting() const;
    exportkit::StartExportWindowController* exportProgressWindow() const { return exportDialog_; }
    // Read from the preview player.
    bool playing() const;
    int64_t position_us() const;
    bool muted() const { return muted_; }
    double volume() const { return volume_; }
    // Moves the preview to a time (the trim bar's play tick follows).
    void seekTo(int64_t time_us);

    // Called by the hosting window while it is still on screen.
    void windowWillClose();

    // Controls, for the look and the tests.
    kestrel::widgets::RDCutProgressView* cutTimeSlider = nullptr;
    kestrel::tools::shared::TimeFieldGroup* startTimeTextFieldBgView = nullptr;
    kestrel::tools::shared::TimeFieldGroup* endTimeTextFieldBgView = nullptr;
    std::array<kestrel::widgets::RDTextField*, 4> startFields{};
    std::array<kestrel::widgets::RDTextField*, 4> endFields{};
    kestrel::widgets::ZorButton* startTimeUpBtn = nullptr;
    kestrel::widgets::ZorButton* startTimeDownBtn = nullptr;
    kestrel::widgets::ZorButton* stopTimeUpBtn = nullptr;
    kestrel::widgets::ZorButton* stopTimeDownBtn = nullptr;
    kestrel::widgets::XJGraphicButton* leftCutBtn = nullptr;
    kestrel::widgets::XJGraphicButton* rightCutBtn = nullptr;
    kestrel::widgets::XJGraphicButton* leftResetBtn = nullptr;
    kestrel::widgets::XJGraphicButton* rightResetBtn = nullptr;
    kestrel::widgets::XJGraphicButton* keepSoundBtn = nullptr;
    kestrel::widgets::XJGraphicButton* removeSoundBtn = nullptr;
    kestrel::widgets::XJGraphicButton* reverseSoundBtn = nullptr;
    kestrel::widgets::ZorButton* playBtn = nullptr;
    kestrel::widgets::ZorButton* playSelectedBtn = nullptr;
    kestrel::widgets::XJGraphicButton* stopBtn = nullptr;
    kestrel::widgets::ZorButton* volumeBtn = nullptr;
    kestrel::widgets::VolumeProgressSlider* volumeSlider = nullptr;
    kestrel::widgets::ZorButton* addFileBtn = nullptr;
    kestrel::widgets::ZorButton* exportBtn = nullptr;
    kestrel::widgets::ImageView* logoView = nullptr;
    QLabel* logoTitleLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QLabel* leftTimeTextField = nullptr;
    QLabel* middleTimeTextField = nullptr;
    QLabel* rightTimeTextField = nullptr;
    QLabel* startLabel = nullptr;
    QLabel* endLabel = nullptr;
    QLabel* cutTimeRangeLabel = nullptr;
    QLabel* reverseModeLabel = nullptr;
    QWidget* playBgView = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Controls, layout and texts (reverse_view_build.cpp).
    void buildViews();
    QWidget* buildRangeSection();
    QWidget* buildSoundSection();
    QWidget* buildPreviewColumn();
    void changeLanguage();

    // The preview and the range (reverse_view_controller.cpp).
    void viewDidLoad();
    void resetTextFields();
    void changeTime(bool startGroup);
    void groupPressed(bool startGroup);
    void leftCutAction();
    void rightCutAction();
    void resetRange(bool startEnd);
    void playAction(bool selectedRange);
    void pausePreview();
    void stopAction();
    void playbackEnded();
    void refreshPlayButtons();
    void pollPosition();
    void volumeAction();
    void applyVolume();
    void selectSound(kestrel::widgets::XJGraphicButton* radio);
    void addFileBtnAction();
    void enableEditing(bool enabled);
    void showMessage(const QString& text);

    // The export (reverse_view_export.cpp).
    void exportBtnAction();
    void exportCallback(const QString& path);
    void jobFinished(const session::JobResult& result);

    void actionMouseDownForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float) override;
    void actionSeekToTimeForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float startvalue, float stopvalue,
                                                 int64_t handleType) override;
    void actionMouseUpForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) override;
    void actionMouseUpForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider*, float progress) override;

    QString filePath_;
    InputKind kind_ = InputKind::Other;
    bool soundOnly_ = false;
    int64_t start_us_ = 0, end_us_ = 0, total_us_ = 0;
    bool playingRange_ = false;
    // A press on the trim bar pauses a playing preview until the release.
    bool resumeAfterSeek_ = false;
    bool loaded_ = false;
    // Which group's steppers step: the group a field was pressed in last.
    bool startGroupPressed_ = true;
    bool muted_ = false;
    double volume_ = 1.0;
    std::unique_ptr<kestrel::player::DIVuverIzizud> player_;
    kestrel::widgets::ImageView* audioCover_ = nullptr;
    QTimer* positionTimer_ = nullptr;
    QPointer<exportkit::StartExportWindowController> exportDialog_;
    std::unique_ptr<exportkit::ExportSession> exportSession_;
    QPointer<session::ReverseJob> job_;
};

}  // namespace kestrel::tools::reverse

// The home screen names the view by its earlier namespace.
namespace reverse {
using kestrel::tools::reverse::ReverseViewController;
}  // namespace reverse

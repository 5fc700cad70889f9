#pragma once
// The joiner: a list of clips, each previewed and trimmed with a validated cut range, given its
// own volume and a transition into the next clip, joined into one new file in the format the
// format bar (or the reference clip) asks for. Progress shows in the bottom bar; the Start
// button becomes Stop while a join runs; a finished join ends with the task-finished alert.
#include <QList>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "export/ui/output_format_bar.h"
#include "model/simple_data.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/rd_text_field.h"
#include "widgets/tool_window.h"
#include "widgets/volume_progress_slider.h"

class QLabel;
class QTimer;

namespace kestrel::editor {
class ShutterSound;
}
namespace kestrel::player {
class DIVuverIzizud;
}
namespace kestrel::session {
class JoinExportJob;
struct JobResult;
}  // namespace kestrel::session
namespace kestrel::widgets {
class NSProgressView;
class ZorButton;
}  // namespace kestrel::widgets
namespace kestrel::tools::shared {
class ClipListView;
class OutputFolderPopup;
class SupportMailLink;
}  // namespace kestrel::tools::shared

namespace kestrel::tools::joiner {

class JoinnerWindowController : public kestrel::widgets::ToolWindow,
                                public kestrel::widgets::RDCutProgressViewDelegate,
                                public kestrel::widgets::VolumeProgressSliderDelegate,
                                public kestrel::widgets::RDTextFieldDelegate,
                                public exportkit::OutputFormatBarDelegate {
    Q_OBJECT
public:
    // Alert tags: 1 the task-finished alert, 2 a plain alert, 100 the unwritable output folder.
    enum AlertTag { kFinishedAlert = 1, kPlainAlert = 2, kNotWritableAlert = 100 };

    explicit JoinnerWindowController(QWidget* parent = nullptr);
    ~JoinnerWindowController() override;

    // Replace the modal pieces so the window can run unattended (tests). The presenter gets the
    // tag and the shown text; for the finished alert it answers whether Open was pressed.
    using AlertPresenter = std::function<bool(int tag, const QString& text)>;
    void setAlertPresenter(AlertPresenter presenter) { alertPresenter_ = std::move(presenter); }

    // ---- Window shell ----
    void changeLanguage();
    void enableEdit(bool enable);
    void fileListViewHidden(bool hidden);
    void addFileAction();
    // Adds files as the open panel would have returned them; answers the refused names.
    QStringList addFiles(const QStringList& paths);
    void removeAction();
    void clearAction();
    void upAction();
    void downAction();
    // The output folder chosen in the pop-up.
    const QString& outputPath() const { return outputPath_; }

    // ---- Preview and cut range ----
    void initPlayer();
    void play();
    void pause();
    void stop();
    void playToggle();
    void rangePlayToggle();
    void stopAction();
    void setStartTrimBtnTouchUp();
    void setStopTrimBtnTouchUp();
    void selectCurrentTimeRadioAction();
    void unSelectCurrentTimeRadioAction();
    void resetCutterAction();
    void applytoallAction();
    // A time field's typed value, applied while typing when the range stays valid.
    void controlTextDidChange(kestrel::widgets::RDTextField* field);
    // A stepper: the field last clicked in the start (or end) box one up or down; a step that
    // would leave no valid range is taken back.
    void stepTimeField(bool startBox, int delta);
    // Commits a time field when editing ends; false (after the alert) keeps it in edit.
    bool commitTimeField(kestrel::widgets::RDTextField* field);
    bool isPlaying() const { return isPlaying_; }
    // Saves the shown frame into the output folder under a new name and clicks; a frame that
    // cannot be saved says so. The path, or empty.
    QString actionCarameraBtn();
    // The click a snapshot makes (tests count it).
    void setShutterSound(std::unique_ptr<kestrel::editor::ShutterSound> sound);
    void picstyleAction(const QString& format) { coverStyle_ = format; }

    // ---- Join run ----
    void startJoinnerAction();
    bool joining() const { return job_ != nullptr; }
    void setdefaultFormat(const kestrel::model::SimpleDataPtr& record);
    const QString& outputFilePath() const { return outputFilePath_; }

    // ---- Parts, for tests ----
    const QList<kestrel::model::SimpleDataPtr>& fileList() const { return fileList_; }
    kestrel::tools::shared::ClipListView* fileListTableView() const { return fileListTableView_; }
    kestrel::widgets::ZorButton* startJoinnerBtn() const { return startJoinnerBtn_; }
    kestrel::widgets::ZorButton* addfileBtn() const { return addfileBtn_; }
    kestrel::widgets::ZorButton* removeBtn() const { return removeBtn_; }
    kestrel::widgets::ZorButton* clearBtn() const { return clearBtn_; }
    kestrel::widgets::ZorButton* upBtn() const { return upBtn_; }
    kestrel::widgets::ZorButton* downBtn() const { return downBtn_; }
    kestrel::widgets::ZorButton* playBtn() const { return playBtn_; }
    kestrel::widgets::ZorButton* cutCoverBtn() const { return cutCoverBtn_; }
    kestrel::widgets::ZorButton* selectTimeBtn() const { return selectTimeBtn_; }
    kestrel::widgets::ZorButton* unSelectTimeBtn() const { return unSelectTimeBtn_; }
    kestrel::widgets::ZorButton* resetCutterBtn() const { return resetCutterBtn_; }
    kestrel::widgets::ZorButton* applytoallBtn() const { return applytoallBtn_; }
    kestrel::widgets::RDCutProgressView* cutProgressView() const { return cutProgressView_; }
    kestrel::widgets::VolumeProgressSlider* volumeSlider() const { return volumeSlider_; }
    kestrel::widgets::NSProgressView* joinnerProgressView() const { return joinnerProgressView_; }
    exportkit::OutputFormatBar* formatBar() const { return formatBar_; }
    kestrel::tools::shared::OutputFolderPopup* outputFolderBtn() const { return outputFolderBtn_; }
    kestrel::tools::shared::SupportMailLink* supportMailLink() const { return emailLink_; }
    QLabel* cutDurationValueLabel() const { return cutDurationValueLabel_; }
    QLabel* progressPercentLabel() const { return progressPercentLabel_; }
    const std::array<kestrel::widgets::RDTextField*, 4>& startFields() const { return startFields_; }
    const std::array<kestrel::widgets::RDTextField*, 4>& stopFields() const { return stopFields_; }
    const std::array<kestrel::widgets::ZorButton*, 4>& steppers() const { return steppers_; }
    kestrel::player::DIVuverIzizud* player() const { return rdPlayer_.get(); }
    // Every label and button text of the window, for the fit checks.
    QList<QWidget*> textControls() const;

    // OutputFormatBarDelegate
    void outputChoiceChanged(exportkit::OutputFormatBar* bar) override;
    void outputSettingChanged(exportkit::OutputFormatBar* bar, int flag) override;
    void outputSettingsRestored(exportkit::OutputFormatBar* bar) override;
    // Small screens: the window gives up (or takes back) the profile strip's height.
    void outputBarCollapseToggled(exportkit::OutputFormatBar* bar, bool collapsed) override;

protected:
    void windowDidLoad() override;
    void closeEvent(QCloseEvent* event) override;

    // RDCutProgressViewDelegate
    void actionMouseDownForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float progress) override;
    void actionSeekToTimeForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float startvalue,
                                                 float stopvalue, int64_t handleType) override;
    void actionMouseUpForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float progress) override;
    // VolumeProgressSliderDelegate
    void actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;
    void actionMouseUpForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;
    // RDTextFieldDelegate
    void actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) override;

private:
    // Building (joiner_window_build.cpp).
    void buildWindow();
    void buildEmptyListView();
    void buildListButtons();
    void buildPreview();
    void buildTimeBoxes();
    void buildBottomBar();
    void placeBottomBar(int y);
    kestrel::widgets::ZorButton* makeTextButton(QWidget* parent, const QRect& frame);
    kestrel::widgets::ZorButton* makeIconButton(QWidget* parent, const QRect& frame, const QString& stem);
    void setButtonPictures(kestrel::widgets::ZorButton* button, const QString& stem);

    // Preview helpers (joiner_preview.cpp).
    kestrel::model::SimpleDataPtr selectedClip() const;
    double previewDuration() const;
    double currentSeconds() const;
    void seekTo(double seconds);
    void addTimer();
    void removeTimer();
    void changePlayerSlider();
    void showRange(const kestrel::model::SimpleData& clip);
    void fillFields(const std::array<kestrel::widgets::RDTextField*, 4>& fields, double seconds);
    double fieldsTime(const std::array<kestrel::widgets::RDTextField*, 4>& fields) const;
    bool isStartField(const kestrel::widgets::RDTextField* field) const;
    bool isStopField(const kestrel::widgets::RDTextField* field) const;
    void refreshList();
    void showPlayPictures(bool playing);
    void updateMoveButtons();
    kestrel::widgets::RDTextField* editingTimeField() const;

    // Run helpers (joiner_run.cpp).
    void joinFinished(const kestrel::session::JobResult& result);
    // Why the join failed, naming the clip when one of them is the cause.
    QString joinFailure(const kestrel::session::JobResult& result) const;
    void showSimpleAlert(const QString& text, int tag);
    void setProgressShown(float fraction);
    void setChoicesEnabled(bool enabled);

    QList<kestrel::model::SimpleDataPtr> fileList_;
    QString outputPath_;
    QString outputFilePath_;
    bool isPlaying_ = false;
    bool isPlaySelected_ = false;
    bool muted_ = false;
    bool committing_ = false;
    bool stopRequested_ = false;
    std::unique_ptr<kestrel::player::DIVuverIzizud> rdPlayer_;
    QTimer* timer_ = nullptr;
    kestrel::session::JoinExportJob* job_ = nullptr;
    AlertPresenter alertPresenter_;
    kestrel::widgets::RDTextField* edittingField_ = nullptr;
    std::unique_ptr<kestrel::editor::ShutterSound> shutterSound_;

    QLabel* windowTitlelabel_ = nullptr;
    kestrel::widgets::ZorButton* addfileBtn_ = nullptr;
    QWidget* noFileView_ = nullptr;
    QLabel* noFileIcon_ = nullptr;
    QLabel* noFileTitle_ = nullptr;
    QLabel* gettingstatedlabel_ = nullptr;
    std::array<QLabel*, 4> descLabels_{};
    kestrel::tools::shared::SupportMailLink* emailLink_ = nullptr;
    kestrel::tools::shared::ClipListView* fileListTableView_ = nullptr;
    kestrel::widgets::ZorButton* removeBtn_ = nullptr;
    kestrel::widgets::ZorButton* clearBtn_ = nullptr;
    kestrel::widgets::ZorButton* upBtn_ = nullptr;
    kestrel::widgets::ZorButton* downBtn_ = nullptr;

    QWidget* playerView_ = nullptr;
    QLabel* audioFileImageLogo_ = nullptr;
    QLabel* leftTimeLabel_ = nullptr;
    QLabel* rightTimeLabel_ = nullptr;
    kestrel::widgets::RDCutProgressView* cutProgressView_ = nullptr;
    kestrel::widgets::ZorButton* playBtn_ = nullptr;
    kestrel::widgets::ZorButton* playSelectBtn_ = nullptr;
    kestrel::widgets::ZorButton* stopBtn_ = nullptr;
    kestrel::widgets::ZorButton* startCutTimeBtn_ = nullptr;
    kestrel::widgets::ZorButton* stopCutTimeBtn_ = nullptr;
    kestrel::widgets::ZorButton* volumeBtn_ = nullptr;
    kestrel::widgets::ZorButton* cutCoverBtn_ = nullptr;
    kestrel::widgets::ZorButton* cutcoverStyleBtn_ = nullptr;
    QString coverStyle_ = QStringLiteral("png");
    kestrel::widgets::VolumeProgressSlider* volumeSlider_ = nullptr;
    QLabel* volumeValueLabel_ = nullptr;
    QLabel* startFieldLabel_ = nullptr;
    QLabel* stopFieldLabel_ = nullptr;
    QLabel* cutDurationLabel_ = nullptr;
    QLabel* cutDurationValueLabel_ = nullptr;
    std::array<kestrel::widgets::RDTextField*, 4> startFields_{};
    std::array<kestrel::widgets::RDTextField*, 4> stopFields_{};
    std::array<kestrel::widgets::ZorButton*, 4> steppers_{};  // start up, start down, end up, end down
    kestrel::widgets::ZorButton* selectTimeBtn_ = nullptr;
    kestrel::widgets::ZorButton* unSelectTimeBtn_ = nullptr;
    kestrel::widgets::ZorButton* resetCutterBtn_ = nullptr;
    kestrel::widgets::ZorButton* applytoallBtn_ = nullptr;

    exportkit::OutputFormatBar* formatBar_ = nullptr;
    QLabel* outputLabel_ = nullptr;
    kestrel::tools::shared::OutputFolderPopup* outputFolderBtn_ = nullptr;
    kestrel::widgets::ZorButton* openOutputFolderBtn_ = nullptr;
    QLabel* joinnerLabel_ = nullptr;
    kestrel::widgets::NSProgressView* joinnerProgressView_ = nullptr;
    QLabel* progressPercentLabel_ = nullptr;
    kestrel::widgets::ZorButton* startJoinnerBtn_ = nullptr;
};

}  // namespace kestrel::tools::joiner

// The home screen opens the joiner by this name.
namespace joiner {
using JoinnerWindowController = kestrel::tools::joiner::JoinnerWindowController;
}

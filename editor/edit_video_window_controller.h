#pragma once
// The advanced editor: one window on one input file, opened by the home tiles with a tool
// type that picks the panel shown first. The controller holds the state every panel shares.
// The opener keeps no reference: the controller lives while its window is open and deletes
// itself once the window has closed (after posting "WillCloseNotification").
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

#include "editor/editor_geometry.h"
#include "editor/editor_export_host.h"
#include "editor/effects/effect_item.h"
#include "editor/rd_ui_cliper.h"
#include "export/ui/output_format_bar.h"
#include "model/music_info.h"
#include "model/simple_data.h"
#include "model/subtitle_param.h"
#include "model/water_param.h"
#include "session/edit/edit_bindings.h"
#include "session/edit/edit_state.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/rd_text_field.h"
#include "widgets/volume_progress_slider.h"

class QImage;
class QLabel;
class QTimer;
class QWidget;
class QComboBox;

namespace kestrel::player {
class DIVuverIzizud;
}
namespace kestrel::widgets {
class ZorButton;
class ZorImageView;
}
namespace kestrel::editor {
class EditorSidePanels;
class EditorExportAttachment;
class ShutterSound;
}
namespace exportkit {
class ExportDialogBase;
}  // namespace exportkit

class EditVideoWindowController : public QObject,
                                  public kestrel::widgets::RDCutProgressViewDelegate,
                                  public kestrel::widgets::VolumeProgressSliderDelegate,
                                  public kestrel::widgets::RDTextFieldDelegate,
                                  public kestrel::editor::RDUICliperDelegate,
                                  public exportkit::OutputFormatBarDelegate,
                                  public kestrel::editor::EditorExportHost {
    Q_OBJECT
public:
    // Tool types; the window holds exactly one of them at a time.
    enum ToolItemType : int64_t {
        kToolTrim = 1,
        kToolRotate = 2,
        kToolCrop = 4,
        kToolEffect = 8,
        kToolWatermark = 16,
        kToolSubtitle = 32,
        kToolMusic = 64,
    };

    explicit EditVideoWindowController(int64_t toolItemType = 0, QObject* parent = nullptr);
    ~EditVideoWindowController() override;

    // Set by the opener before the window is first asked for.
    void setToolItemType(int64_t type) { toolItemType_ = type; }
    int64_t toolItemType() const { return toolItemType_; }
    int64_t oldToolItemType() const { return oldToolItemType_; }
    void setIsMagicEnhance(bool on) { isMagicEnhance_ = on; }
    // The key of the opening tile's title: the window and its header name that tool.
    void setTitleKey(const QString& key) { titleKey_ = key; }
    const QString& titleKey() const { return titleKey_; }
    bool isMagicEnhance() const override { return isMagicEnhance_; }
    void setFilePath(const QString& path) { filePath_ = path; }
    QString filePath() const { return filePath_; }

    // The window; the first call builds it and runs the set-up (which loads filePath()).
    QWidget* window();
    // Centres the window, gives it the title and brings it to the front.
    void showWindow(const QString& title = QString());
    // Closes the window; its close stops the preview and posts "WillCloseNotification".
    void closeAction();

    // Replaces the modal pieces (open panel, alerts) so the window can run unattended.
    using FileChooser = std::function<QStringList()>;
    using AlertPresenter = std::function<void(const QString& message)>;
    void setFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }
    void setAlertPresenter(AlertPresenter presenter) { alertPresenter_ = std::move(presenter); }
    // The dialog of the running export; closing the window while it exports asks it to stop.
    void setExportProgressWindow(exportkit::ExportDialogBase* dialog) override;

    // ---- Shell ----
    void changelanguage();
    void enableEdit(bool enable) override;
    void closewindow();
    // Writes the picture as PNG, JPEG or BMP by the path's extension (another extension is
    // refused); a path that is taken is left alone (false), like a failed write.
    bool saveImage(const QImage& image, const QString& path);
    // Shows the last output in the file manager; nothing while there is none.
    void openScrFolderAction();

    // ---- Tool switches and layout ----
    void cutAction();
    void cropAction();
    void effectAction();
    void watermarkAction();
    void subtitleAction();
    void audioAction();
    void rotateAction();
    enum class LayoutReason { Resize, LiveResize, EnterFullScreen, ExitFullScreen, Request };
    void changesize(LayoutReason reason);

    // ---- File loading ----
    void addfileAction();
    void setUpDataForFilePath();
    void addFile();

    // ---- Preview and transport ----
    void initPlayer();
    void play() override;
    void pause() override;
    void stop();
    void action_playPauseBtn();
    void changePlayerSlider();
    void playerDidEnd();
    void actionCarameraBtn();
    void setCoverStyle(const QString& style) { coverStyle_ = style; }
    void setOutputPath(const QString& path) { outputPath_ = path; }
    QString outputPath() const override { return outputPath_; }
    QString lastSnapshotPath() const { return lastSnapshotPath_; }
    // The click a written snapshot makes; the default plays on the sound output where there is one.
    void setShutterSound(std::unique_ptr<kestrel::editor::ShutterSound> sound);
    void volumeButtonPressed();
    void hiddenVolumeSliderView();
    // The player-bar volume slider moved to progress (volume = 2 x progress).
    void setPlayerBarVolume(float progress);

    // ---- Refresh and crop overlay ----
    void refreshPlayerView();
    void initPlayerCliper();

    // ---- Crop, rotate, mirror ----
    void rotateLeftAction();
    void rotateRightAction();
    void horizontalMirrorAction();
    void verticalMirrorAction();
    void keepAspectAction();
    void resetAction();
    void resetRotateTouchUp();
    void cropStepperAction(kestrel::editor::CropField field, int delta);
    void actionMoveEndForRDUICliperBlock(kestrel::editor::RDUICliper* cliper, const QRectF& clipRect) override;
    void actionMovedForRDUICliperBlock(kestrel::editor::RDUICliper* cliper, const QRectF& clipRect) override;

    // ---- Trim ----
    void touchUpTrimStartStepper();
    void touchUpTrimStopStepper();
    void setStartTrimBtnTouchUp();
    void setStopTrimBtnTouchUp();
    void changeCureentTime(float seconds);
    void keepSelectedPartAction();
    void removeSelectedPartAction();
    void playTrimBtnTouchUp();
    void resetStartTrim();
    void resetStopTrim();
    void resetTrimBtnTouchUp();
    void actionMouseDownForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float progress) override;
    void actionMouseUpForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float startvalue,
                                                 float stopvalue, int64_t handleType) override;
    void actionSeekToTimeForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float progress) override;

    // ---- Numeric input and sliders ----
    void controlTextDidChange(QObject* field);
    void actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) override;
    void enableCropTextField(bool enable);
    void actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;
    void actionMouseDownForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;
    void actionMouseUpForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;

    // ---- Output-format bar ----
    void outputChoiceChanged(exportkit::OutputFormatBar* bar) override;
    void outputSettingChanged(exportkit::OutputFormatBar* bar, int flag) override;
    void outputSettingsRestored(exportkit::OutputFormatBar* bar) override;
    void outputBarCollapseToggled(exportkit::OutputFormatBar* bar, bool collapsed) override;

    // ---- State the panels share (read by tests and by the export run) ----
    kestrel::model::SimpleDataPtr fileData() const override { return fileData_; }
    // Read from the player: the window keeps no play state of its own.
    bool isPlaying() const override;
    // The player-bar volume, 0..2 (the effect panel keeps it).
    double volume() const;
    QSizeF videoSize() const { return videoSize_; }
    double cutTimeRange_start() const { return cutTimeRange_start_; }
    double cutTimeRange_stop() const { return cutTimeRange_stop_; }
    bool isTrimFanxuan() const { return isTrimFanxuan_; }
    QRectF editVideoClipRect() const { return editVideoClipRect_; }
    kestrel::model::RECT convertCropSize() const { return edits_.cropMargins; }
    int32_t playerRotateAngle() const { return edits_.userAngleDegrees(); }
    int32_t hFlip() const { return edits_.hFlip ? 1 : 0; }
    int32_t vFlip() const { return edits_.vFlip ? 1 : 0; }
    bool keepAspectratio() const { return edits_.keepAspectRatio; }
    // The effect panel's list (empty before the window is built).
    const QList<kestrel::editor::EffectItem>& effectTypes() const;
    // The watermark, subtitle and music panels own their lists; these read them (empty before
    // the window is built).
    kestrel::editor::EditorSidePanels* sidePanels() const { return sidePanels_.get(); }
    // The effect panel and the export behind the export button (null before the window is built).
    kestrel::editor::EditorExportAttachment* exportAttachment() const { return exportAttachment_; }
    QList<kestrel::model::WaterParam>& waterMarkList();
    kestrel::model::SubtitleParam subtitleParam() const;
    const QList<kestrel::model::MusicInfo>& musicList() const;
    kestrel::player::DIVuverIzizud* rdPlayer() const override { return rdPlayer_.get(); }
    // Every edit the window holds, from its controls and panels, as one value: what the
    // preview shows and what an export started now would write.
    kestrel::session::EditState editState();
    // The share the window itself keeps (turn, flips, crop margins, aspect lock).
    const kestrel::session::EditState& ownEdits() const { return edits_; }
    // Re-applies the edit state's parts (session::PreviewPart) to the preview; nothing without one.
    void applyEditState(unsigned parts, const kestrel::session::PreviewContext& context = {});
    // Copies what the job record keeps of the window's edits (the trim range from the eight
    // fields, the remove mode, the aspect lock and the level) into it, as an export does.
    bool commitEditsToJob();

    // ---- What the effect panel and the export see of the window ----
    QWidget* hostWindow() override;
    QWidget* effectFrame() override;
    kestrel::widgets::ZorButton* exportButton() override;
    void showEditStateParts(unsigned parts) override { applyEditState(parts); }
    void showVolume(double volume) override;
    void stopPanelAudio() override;
    void followRememberedOutputFolder() override;
    kestrel::session::EditState editStateWith(const kestrel::editor::KxfxView* effectPanel) override;

    // ---- Views (built in code; names follow the panels' outlets) ----
    struct Views;
    Views& views() { return *v_; }

private:
    void windowDidLoad();
    void buildWindow();
    void buildTrimView();
    void buildCropView();
    void buildEmptyPanels();
    void buildTransport();
    void initTrimView();
    void initCropView();
    void styleToolButton(kestrel::widgets::ZorButton* button, const QString& stem, const QString& titleKey);
    void setStepperUpBtnImage(kestrel::widgets::ZorButton* button, std::function<void(kestrel::widgets::ZorButton*)> action);
    void setStepperDownBtnImage(kestrel::widgets::ZorButton* button, std::function<void(kestrel::widgets::ZorButton*)> action);
    void switchTool(int64_t type);
    void moveSelectFunLine(kestrel::widgets::ZorButton* button);
    void layoutToolButtons();
    void selectToolAfterLoad();
    void addTimer();
    void removeTimer();
    void showAlert(const QString& message);
    void presentPendingAlerts();
    void showPlayPictures(bool playing);
    // The play/pause pictures and the stop button as the player stands.
    void showTransportState();
    // The preview stopped playing: the tick stops, the buttons and the panels follow.
    void previewPaused();
    void refreshIfPaused();
    // One entry per audio stream of the file, named in words, in the file's order.
    void fillAudioTrackBox();
    void applyQuarterTurn(int32_t angle);
    void resetCropState();
    void recomputeCropFromOverlay();
    QRectF videoRect() const;
    QSizeF sourceSize() const;
    void placeOverlays(const QRectF& rect);
    void writeClipToFieldsAndJob(const QRectF& pixelRect);
    // The crop as even margins, and the rectangle the export writes for them.
    void setCropMargins(const kestrel::model::RECT& margins);
    // The four crop fields and the size label from the crop state; `typing` (the field being
    // typed in) keeps its text until typing ends.
    void showCropFields(const QObject* typing = nullptr);
    // Asks whether the export writes even sizes only, for the file and the output choice now.
    void refreshCropSizeRule();
    double playerDurationSeconds() const;
    double playerCurrentSeconds() const;
    void seekSeconds(double seconds);
    void writeTimeFields(bool start, double seconds);
    double fieldsSeconds(bool start) const;
    void updateTimeLabels();
    void stepEdittingField(kestrel::widgets::ZorButton* upButton, bool start);
    void applyTrimStartFromFields();
    void applyTrimStopFromFields();
    void writeEditsToJob(kestrel::model::SimpleData& record) const;
    void handleWindowClosed();
    void rewriteTargetFromFormatBar();

    int64_t toolItemType_ = 0;
    int64_t oldToolItemType_ = 0;
    bool isMagicEnhance_ = false;
    QString filePath_;
    QString titleKey_;
    kestrel::model::SimpleDataPtr fileData_;
    QString outputPath_;
    QString coverStyle_;
    QString lastSnapshotPath_;
    std::unique_ptr<kestrel::editor::ShutterSound> shutterSound_;

    std::unique_ptr<kestrel::player::DIVuverIzizud> rdPlayer_;
    QTimer* timer_ = nullptr;
    QTimer* volumeHideTimer_ = nullptr;
    bool resumeAfterRangeDrag_ = false;  // the range bar paused a playing preview
    QSizeF videoSize_;

    double cutTimeRange_start_ = 0;
    double cutTimeRange_stop_ = 0;
    bool isTrimFanxuan_ = false;
    kestrel::widgets::RDTextField* edittingField_ = nullptr;
    kestrel::widgets::ZorButton* editStartStepper_ = nullptr;
    int64_t editStartStepperValue_ = 0;
    int64_t startStepperValue_ = 0;
    int64_t stopStepperValue_ = 0;

    QRectF editVideoClipRect_;
    // The window's own share of the edit state: turn, flips, crop margins, aspect lock.
    kestrel::session::EditState edits_;
    int64_t cropEditStepperValue_ = 0;
    // The export's encoder takes even sizes only: the crop panel offers and shows those.
    bool evenCropSizes_ = true;

    std::unique_ptr<kestrel::editor::EditorSidePanels> sidePanels_;
    kestrel::editor::EditorExportAttachment* exportAttachment_ = nullptr;  // a child of the controller
    QList<kestrel::model::WaterParam> noWaterMarks_;  // what waterMarkList() hands out before the panels exist

    QPointer<exportkit::ExportDialogBase> exportProgressWindow_;
    FileChooser fileChooser_;
    AlertPresenter alertPresenter_;
    QStringList pendingAlerts_;      // raised before the window was on screen
    bool presentingPending_ = false;
    bool loaded_ = false;
    bool formatBarCollapsed_ = false;
    bool closed_ = false;
    std::unique_ptr<Views> v_;
};

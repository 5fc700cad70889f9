#pragma once
// The editor window's views, built in code. Names follow the outlets the panels are written
// against; the controller owns the struct, the widget tree owns the widgets.
#include <QList>
#include <QPointer>

#include "editor/edit_video_window_controller.h"

class QLabel;
class QComboBox;
class QMenu;
class QWidget;

namespace kestrel::widgets {
class RDCutProgressView;
class RDTextField;
class VolumeProgressSlider;
class ZorButton;
class ZorImageView;
}  // namespace kestrel::widgets

namespace kestrel::editor {
class OutputFolderMenu;
}

struct EditVideoWindowController::Views {
    QWidget* window = nullptr;
    QLabel* windowTitleLabel = nullptr;
    kestrel::widgets::ZorImageView* backGroundView = nullptr;
    QWidget* funItemContentView = nullptr;     // left column holding the panels
    QWidget* toolButtonsView = nullptr;
    kestrel::widgets::ZorButton* cutButton = nullptr;
    kestrel::widgets::ZorButton* cropButton = nullptr;
    kestrel::widgets::ZorButton* effectButton = nullptr;
    kestrel::widgets::ZorButton* watermarkButton = nullptr;
    kestrel::widgets::ZorButton* subtitleButton = nullptr;
    kestrel::widgets::ZorButton* addmusicButton = nullptr;
    kestrel::widgets::ZorButton* addfileButton = nullptr;
    kestrel::widgets::ZorButton* startExportBtn = nullptr;
    kestrel::editor::OutputFolderMenu* outputPathPopUpBtn = nullptr;  // exports and snapshots go there
    kestrel::widgets::ZorButton* outputOpenBtn = nullptr;             // shows that folder
    QWidget* selectFunLine = nullptr;

    QWidget* contentRightView = nullptr;
    QWidget* playerBackView = nullptr;
    kestrel::widgets::ZorImageView* playerView = nullptr;
    QWidget* playerBottomView = nullptr;
    QWidget* playToolView = nullptr;
    QWidget* musicRightBottomView = nullptr;  // the music tool's bar under the preview
    QLabel* mCurrentTimeLabel = nullptr;      // the position and duration, repeated there
    QLabel* mTotaldurationLabel = nullptr;
    kestrel::widgets::RDCutProgressView* cutProgressView = nullptr;
    QLabel* currentTimeLabel = nullptr;
    QLabel* totalTimeLabel = nullptr;
    kestrel::widgets::ZorButton* b_playPauseBtn = nullptr;
    kestrel::widgets::ZorButton* b_stopBtn = nullptr;
    kestrel::widgets::ZorButton* b_cameraBtn = nullptr;
    kestrel::widgets::ZorButton* b_picStyleBtn = nullptr;
    kestrel::widgets::ZorButton* b_volumeBtn = nullptr;
    QWidget* volumeSliderContainer = nullptr;
    kestrel::widgets::VolumeProgressSlider* b_volumeSlider = nullptr;
    QMenu* coverStyleMenus = nullptr;
    QWidget* tabbarView = nullptr;             // host of the output-format bar
    exportkit::OutputFormatBar* formatBar = nullptr;

    // Panels.
    QWidget* trimView = nullptr;
    QWidget* cropView = nullptr;
    QWidget* kxfxView = nullptr;
    QWidget* waterView = nullptr;
    QWidget* captionView = nullptr;
    QWidget* musicContentView = nullptr;
    QComboBox* audiochanelPopBtn = nullptr;

    // Trim panel.
    kestrel::widgets::RDTextField* startHourField = nullptr;
    kestrel::widgets::RDTextField* startMinuteField = nullptr;
    kestrel::widgets::RDTextField* startSecondsField = nullptr;
    kestrel::widgets::RDTextField* startMioSecondsField = nullptr;
    kestrel::widgets::RDTextField* stopHourField = nullptr;
    kestrel::widgets::RDTextField* stopMinuteField = nullptr;
    kestrel::widgets::RDTextField* stopSecondsField = nullptr;
    kestrel::widgets::RDTextField* stopMioSecondsField = nullptr;
    kestrel::widgets::ZorButton* startStepperUp = nullptr;
    kestrel::widgets::ZorButton* startStepperDown = nullptr;
    kestrel::widgets::ZorButton* stopStepperUp = nullptr;
    kestrel::widgets::ZorButton* stopStepperDown = nullptr;
    kestrel::widgets::ZorButton* setStartTrimBtn = nullptr;
    kestrel::widgets::ZorButton* setStopTrimBtn = nullptr;
    kestrel::widgets::ZorButton* resetStartTrimBtn = nullptr;
    kestrel::widgets::ZorButton* resetStopTrimBtn = nullptr;
    kestrel::widgets::ZorButton* keepTimeSelectedPart = nullptr;
    kestrel::widgets::ZorButton* removeTimeSelectedPart = nullptr;
    QLabel* cuttingTimeLabel = nullptr;
    QLabel* cuttingModelLabel = nullptr;
    QLabel* cuttingStartlabel = nullptr;
    QLabel* cuttingStopLabel = nullptr;

    // Crop panel.
    QLabel* cropTitleLabel = nullptr;
    QLabel* rotateAngleLabel = nullptr;
    QLabel* rotateDesLabel = nullptr;
    QLabel* original_SizeLabel = nullptr;
    QLabel* original_SizeValueLabel = nullptr;
    QLabel* cropAreaLabel = nullptr;
    QLabel* cropPositionLabel = nullptr;
    QLabel* topLabel = nullptr;
    QLabel* leftLabel = nullptr;
    kestrel::widgets::RDTextField* cropLeftField = nullptr;
    kestrel::widgets::RDTextField* cropTopField = nullptr;
    kestrel::widgets::RDTextField* cropWidthField = nullptr;
    kestrel::widgets::RDTextField* cropHeightField = nullptr;
    kestrel::widgets::ZorButton* cropLeftStepperUpBtn = nullptr;
    kestrel::widgets::ZorButton* cropLeftStepperDownBtn = nullptr;
    kestrel::widgets::ZorButton* cropTopStepperUpBtn = nullptr;
    kestrel::widgets::ZorButton* cropTopStepperDownBtn = nullptr;
    kestrel::widgets::ZorButton* cropWidthStepperUpBtn = nullptr;
    kestrel::widgets::ZorButton* cropWidthStepperDownBtn = nullptr;
    kestrel::widgets::ZorButton* cropHeightStepperUpBtn = nullptr;
    kestrel::widgets::ZorButton* cropHeightStepperDownBtn = nullptr;
    kestrel::widgets::ZorButton* left_ratioBtn = nullptr;
    kestrel::widgets::ZorButton* right_ratioBtn = nullptr;
    kestrel::widgets::ZorButton* horizontal_mirrorBtn = nullptr;
    kestrel::widgets::ZorButton* vertical_mirrorBtn = nullptr;
    kestrel::widgets::ZorButton* keepAspectBtn = nullptr;
    kestrel::widgets::ZorButton* resetRotateBtn = nullptr;
    // Lives on the player's view, so it goes when a new preview replaces that view.
    QPointer<kestrel::editor::RDUICliper> cliper;

    QList<kestrel::widgets::ZorButton*> toolButtons() const {
        return {cutButton, cropButton, effectButton, watermarkButton, subtitleButton, addmusicButton};
    }
    QList<QWidget*> panels() const { return {trimView, cropView, kxfxView, waterView, captionView, musicContentView}; }
    QList<kestrel::widgets::RDTextField*> startFields() const {
        return {startHourField, startMinuteField, startSecondsField, startMioSecondsField};
    }
    QList<kestrel::widgets::RDTextField*> stopFields() const {
        return {stopHourField, stopMinuteField, stopSecondsField, stopMioSecondsField};
    }
    QList<kestrel::widgets::ZorButton*> cropSteppers() const {
        return {cropTopStepperUpBtn,   cropTopStepperDownBtn,   cropLeftStepperUpBtn,   cropLeftStepperDownBtn,
                cropWidthStepperUpBtn, cropWidthStepperDownBtn, cropHeightStepperUpBtn, cropHeightStepperDownBtn};
    }
};

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

namespace widgets {
class RDCutProgressView;
class RDTextField;
class VolumeProgressSlider;
class ZorButton;
class ZorImageView;
}  // namespace widgets

struct EditVideoWindowController::Views {
    QWidget* window = nullptr;
    QLabel* windowTitleLabel = nullptr;
    widgets::ZorImageView* backGroundView = nullptr;
    QWidget* funItemContentView = nullptr;     // left column holding the panels
    QWidget* toolButtonsView = nullptr;
    widgets::ZorButton* cutButton = nullptr;
    widgets::ZorButton* cropButton = nullptr;
    widgets::ZorButton* effectButton = nullptr;
    widgets::ZorButton* watermarkButton = nullptr;
    widgets::ZorButton* subtitleButton = nullptr;
    widgets::ZorButton* addmusicButton = nullptr;
    widgets::ZorButton* addfileButton = nullptr;
    widgets::ZorButton* startExportBtn = nullptr;
    QWidget* selectFunLine = nullptr;

    QWidget* contentRightView = nullptr;
    QWidget* playerBackView = nullptr;
    widgets::ZorImageView* playerView = nullptr;
    QWidget* playerBottomView = nullptr;
    QWidget* playToolView = nullptr;
    QWidget* musicRightBottomView = nullptr;  // the music tool's bar under the preview
    QLabel* mCurrentTimeLabel = nullptr;      // the position and duration, repeated there
    QLabel* mTotaldurationLabel = nullptr;
    widgets::RDCutProgressView* cutProgressView = nullptr;
    QLabel* currentTimeLabel = nullptr;
    QLabel* totalTimeLabel = nullptr;
    widgets::ZorButton* b_playPauseBtn = nullptr;
    widgets::ZorButton* b_stopBtn = nullptr;
    widgets::ZorButton* b_cameraBtn = nullptr;
    widgets::ZorButton* b_picStyleBtn = nullptr;
    widgets::ZorButton* b_volumeBtn = nullptr;
    QWidget* volumeSliderContainer = nullptr;
    widgets::VolumeProgressSlider* b_volumeSlider = nullptr;
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
    widgets::RDTextField* startHourField = nullptr;
    widgets::RDTextField* startMinuteField = nullptr;
    widgets::RDTextField* startSecondsField = nullptr;
    widgets::RDTextField* startMioSecondsField = nullptr;
    widgets::RDTextField* stopHourField = nullptr;
    widgets::RDTextField* stopMinuteField = nullptr;
    widgets::RDTextField* stopSecondsField = nullptr;
    widgets::RDTextField* stopMioSecondsField = nullptr;
    widgets::ZorButton* startStepperUp = nullptr;
    widgets::ZorButton* startStepperDown = nullptr;
    widgets::ZorButton* stopStepperUp = nullptr;
    widgets::ZorButton* stopStepperDown = nullptr;
    widgets::ZorButton* setStartTrimBtn = nullptr;
    widgets::ZorButton* setStopTrimBtn = nullptr;
    widgets::ZorButton* resetStartTrimBtn = nullptr;
    widgets::ZorButton* resetStopTrimBtn = nullptr;
    widgets::ZorButton* keepTimeSelectedPart = nullptr;
    widgets::ZorButton* removeTimeSelectedPart = nullptr;
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
    widgets::RDTextField* cropLeftField = nullptr;
    widgets::RDTextField* cropTopField = nullptr;
    widgets::RDTextField* cropWidthField = nullptr;
    widgets::RDTextField* cropHeightField = nullptr;
    widgets::ZorButton* cropLeftStepperUpBtn = nullptr;
    widgets::ZorButton* cropLeftStepperDownBtn = nullptr;
    widgets::ZorButton* cropTopStepperUpBtn = nullptr;
    widgets::ZorButton* cropTopStepperDownBtn = nullptr;
    widgets::ZorButton* cropWidthStepperUpBtn = nullptr;
    widgets::ZorButton* cropWidthStepperDownBtn = nullptr;
    widgets::ZorButton* cropHeightStepperUpBtn = nullptr;
    widgets::ZorButton* cropHeightStepperDownBtn = nullptr;
    widgets::ZorButton* left_ratioBtn = nullptr;
    widgets::ZorButton* right_ratioBtn = nullptr;
    widgets::ZorButton* horizontal_mirrorBtn = nullptr;
    widgets::ZorButton* vertical_mirrorBtn = nullptr;
    widgets::ZorButton* keepAspectBtn = nullptr;
    widgets::ZorButton* resetRotateBtn = nullptr;
    // Lives on the player's view, so it goes when a new preview replaces that view.
    QPointer<editor::RDUICliper> cliper;

    QList<widgets::ZorButton*> toolButtons() const {
        return {cutButton, cropButton, effectButton, watermarkButton, subtitleButton, addmusicButton};
    }
    QList<QWidget*> panels() const { return {trimView, cropView, kxfxView, waterView, captionView, musicContentView}; }
    QList<widgets::RDTextField*> startFields() const {
        return {startHourField, startMinuteField, startSecondsField, startMioSecondsField};
    }
    QList<widgets::RDTextField*> stopFields() const {
        return {stopHourField, stopMinuteField, stopSecondsField, stopMioSecondsField};
    }
    QList<widgets::ZorButton*> cropSteppers() const {
        return {cropTopStepperUpBtn,   cropTopStepperDownBtn,   cropLeftStepperUpBtn,   cropLeftStepperDownBtn,
                cropWidthStepperUpBtn, cropWidthStepperDownBtn, cropHeightStepperUpBtn, cropHeightStepperDownBtn};
    }
};

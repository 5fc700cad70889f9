// The trim panel: two time boxes with spin buttons, set-from-play-head, resets, keep or remove,
// and the range bar under the preview. The window keeps the range in microseconds (doubles),
// the job record in int64 microseconds, the bar in fractions of the duration.
#include <QLabel>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_look.h"
#include "editor/editor_value_field.h"
#include "editor/editor_views.h"
#include "engine/player/DIVuverIzizud.h"
#include "services/help_class.h"
#include "services/language.h"

#include <algorithm>
#include "widgets/zor_button.h"

using namespace kestrel::editor::look;
using kestrel::widgets::RDTextField;
using kestrel::widgets::ZorButton;

void EditVideoWindowController::setStepperUpBtnImage(ZorButton* b, std::function<void(ZorButton*)> action) {
    styleSpinButton(b, true, std::move(action));
}

void EditVideoWindowController::setStepperDownBtnImage(ZorButton* b, std::function<void(ZorButton*)> action) {
    styleSpinButton(b, false, std::move(action));
}

void EditVideoWindowController::buildTrimView() {
    auto* panel = new QWidget(v_->funItemContentView);
    v_->trimView = panel;
    v_->cuttingTimeLabel = makeLabel(panel, 13, QColor::fromRgbF(0.8, 0.8, 0.8, 0.6));
    v_->cuttingModelLabel = makeLabel(panel, 13, QColor::fromRgbF(0.8, 0.8, 0.8, 0.6));
    v_->cuttingStartlabel = makeLabel(panel, 13);
    v_->cuttingStopLabel = makeLabel(panel, 13);
    auto* startBox = new QWidget(panel);
    auto* stopBox = new QWidget(panel);
    for (QWidget* box : {startBox, stopBox}) {
        box->setStyleSheet(QStringLiteral("background:rgb(32,35,43);border:1px solid rgb(49,60,72)"));
    }
    RDTextField** start[] = {&v_->startHourField, &v_->startMinuteField, &v_->startSecondsField,
                             &v_->startMioSecondsField};
    RDTextField** stop[] = {&v_->stopHourField, &v_->stopMinuteField, &v_->stopSecondsField,
                            &v_->stopMioSecondsField};
    const int widths[] = {28, 28, 28, 38};
    for (int i = 0, x = 4; i < 4; x += widths[i] + 6, ++i) {
        *start[i] = kestrel::editor::makeValueField(startBox, this, kControlText, true);
        (*start[i])->setGeometry(x, 4, widths[i], 24);
        *stop[i] = kestrel::editor::makeValueField(stopBox, this, kControlText, true);
        (*stop[i])->setGeometry(x, 4, widths[i], 24);
    }
    v_->startStepperUp = new ZorButton(panel);
    v_->startStepperDown = new ZorButton(panel);
    v_->stopStepperUp = new ZorButton(panel);
    v_->stopStepperDown = new ZorButton(panel);
    auto startStep = [this](ZorButton* b) {
        editStartStepper_ = b;
        touchUpTrimStartStepper();
    };
    auto stopStep = [this](ZorButton* b) {
        editStartStepper_ = b;
        touchUpTrimStopStepper();
    };
    setStepperUpBtnImage(v_->startStepperUp, startStep);
    setStepperDownBtnImage(v_->startStepperDown, startStep);
    setStepperUpBtnImage(v_->stopStepperUp, stopStep);
    setStepperDownBtnImage(v_->stopStepperDown, stopStep);
    // The trim spin buttons stay usable; the other panels enable theirs on a field click.
    for (ZorButton* b : {v_->startStepperUp, v_->startStepperDown, v_->stopStepperUp, v_->stopStepperDown})
        b->setEnabled(true);

    v_->setStartTrimBtn = makeStateButton(panel, QStringLiteral("ZantImage/Join/btnSetStart"));
    v_->setStopTrimBtn = makeStateButton(panel, QStringLiteral("ZantImage/Join/btnSetEnd"));
    v_->resetStartTrimBtn = makeStateButton(panel, QStringLiteral("ZantImage/Cut/btnReset"));
    v_->resetStopTrimBtn = makeStateButton(panel, QStringLiteral("ZantImage/Cut/btnReset"));
    v_->setStartTrimBtn->setMouseDownAction([this](ZorButton*) { setStartTrimBtnTouchUp(); });
    v_->setStopTrimBtn->setMouseDownAction([this](ZorButton*) { setStopTrimBtnTouchUp(); });
    v_->resetStartTrimBtn->setMouseDownAction([this](ZorButton*) { resetStartTrim(); });
    v_->resetStopTrimBtn->setMouseDownAction([this](ZorButton*) { resetStopTrim(); });
    v_->keepTimeSelectedPart = makeCheckButton(panel, QStringLiteral("Join"));
    v_->removeTimeSelectedPart = makeCheckButton(panel, QStringLiteral("Join"));
    v_->keepTimeSelectedPart->setMouseDownAction([this](ZorButton*) { keepSelectedPartAction(); });
    v_->removeTimeSelectedPart->setMouseDownAction([this](ZorButton*) { removeSelectedPartAction(); });

    // Layout inside the panel (top-left coordinates).
    v_->cuttingTimeLabel->setGeometry(16, 8, 370, 20);
    v_->cuttingStartlabel->setGeometry(16, 40, 90, 32);
    startBox->setGeometry(106, 40, 150, 32);
    v_->startStepperUp->setGeometry(258, 40, 16, 16);
    v_->startStepperDown->setGeometry(258, 56, 16, 16);
    v_->setStartTrimBtn->setGeometry(284, 40, 32, 32);
    v_->resetStartTrimBtn->setGeometry(322, 40, 32, 32);
    v_->cuttingStopLabel->setGeometry(16, 84, 90, 32);
    stopBox->setGeometry(106, 84, 150, 32);
    v_->stopStepperUp->setGeometry(258, 84, 16, 16);
    v_->stopStepperDown->setGeometry(258, 100, 16, 16);
    v_->setStopTrimBtn->setGeometry(284, 84, 32, 32);
    v_->resetStopTrimBtn->setGeometry(322, 84, 32, 32);
    v_->cuttingModelLabel->setGeometry(16, 136, 370, 20);
    v_->keepTimeSelectedPart->setGeometry(16, 162, 370, 28);
    v_->removeTimeSelectedPart->setGeometry(16, 194, 370, 28);
}

void EditVideoWindowController::initTrimView() {
    buildTrimView();
    v_->trimView->hide();
    writeTimeFields(true, 0);
    v_->cutProgressView->setLowerValue(0.0f);
    writeTimeFields(false, playerDurationSeconds());
    if (rdPlayer_) rdPlayer_->seekTime(platform::MediaTime::zero());
    v_->cutProgressView->setUpperValue(1.0f);
}

// ---- Spin steps ----

void EditVideoWindowController::stepEdittingField(kestrel::widgets::ZorButton* upButton, bool start) {
    // A spin button steps the field of its own time box last clicked, else that box's seconds.
    const auto group = start ? v_->startFields() : v_->stopFields();
    RDTextField* field = group.contains(edittingField_) ? edittingField_ : group[2];
    editStartStepperValue_ = field->text().toLongLong();
    const bool millis = field == v_->startMioSecondsField || field == v_->stopMioSecondsField;
    editStartStepperValue_ = kestrel::editor::stepTimeValue(editStartStepperValue_, editStartStepper_ == upButton, millis);
    field->setText(QString::number(editStartStepperValue_));
}

void EditVideoWindowController::applyTrimStartFromFields() {
    const double d = playerDurationSeconds();
    const float start = float(fieldsSeconds(true));
    const float stop = float(fieldsSeconds(false));
    // A start is taken only while it lies before the end.
    if (stop > start && start >= 0) {
        cutTimeRange_start_ = double(start) * 1000000.0;
        if (d > 0) v_->cutProgressView->setLowerValue(float(start / d));
    }
}

void EditVideoWindowController::applyTrimStopFromFields() {
    const double d = playerDurationSeconds();
    const float start = float(fieldsSeconds(true));
    const float stop = float(fieldsSeconds(false));
    if (d > 0 && stop > d) {
        // The end never lies after the end of the file.
        writeTimeFields(false, d);
        cutTimeRange_stop_ = d * 1000000.0;
        v_->cutProgressView->setUpperValue(1.0f);
    } else if (stop > start) {
        cutTimeRange_stop_ = double(stop) * 1000000.0;
        if (d > 0) v_->cutProgressView->setUpperValue(float(stop / d));
    }
}

void EditVideoWindowController::touchUpTrimStartStepper() {
    QStringList before;
    for (const RDTextField* f : v_->startFields()) before << f->text();
    stepEdittingField(v_->startStepperUp, true);
    // A step that would put the start at or after the end (or before 0) is not taken.
    if (fieldsSeconds(true) < 0 || fieldsSeconds(true) >= fieldsSeconds(false)) {
        const auto fields = v_->startFields();
        for (int i = 0; i < fields.size(); ++i) fields[i]->setText(before[i]);
        return;
    }
    applyTrimStartFromFields();
}

void EditVideoWindowController::touchUpTrimStopStepper() {
    QStringList before;
    for (const RDTextField* f : v_->stopFields()) before << f->text();
    stepEdittingField(v_->stopStepperUp, false);
    // A step that would put the end at or before the start is not taken.
    if (fieldsSeconds(false) <= fieldsSeconds(true)) {
        const auto fields = v_->stopFields();
        for (int i = 0; i < fields.size(); ++i) fields[i]->setText(before[i]);
        return;
    }
    applyTrimStopFromFields();
}

// ---- From the play head ----

void EditVideoWindowController::setStartTrimBtnTouchUp() {
    if (!rdPlayer_) return;
    const double t = playerCurrentSeconds();
    const double d = playerDurationSeconds();
    if (d <= 0) return;
    writeTimeFields(true, t);
    cutTimeRange_start_ = t * 1000000.0;
    if (cutTimeRange_start_ > cutTimeRange_stop_ && cutTimeRange_stop_ != 0) {
        v_->cutProgressView->setUpperValue(1.0f);
        v_->cutProgressView->setLowerValue(float(t / d));
        writeTimeFields(false, d);
        cutTimeRange_stop_ = d * 1000000.0;
    } else {
        v_->cutProgressView->setLowerValue(float(t / d));
    }
    if (fileData_) {
        fileData_->cutTimeRange_start = int64_t(cutTimeRange_start_);
        fileData_->cutTimeRange_stop = int64_t(cutTimeRange_stop_);
    }
    v_->cutProgressView->setProgress(float(t / d));
}

void EditVideoWindowController::setStopTrimBtnTouchUp() {
    if (!rdPlayer_) return;
    const double t = playerCurrentSeconds();
    const double d = playerDurationSeconds();
    if (d <= 0) return;
    if (cutTimeRange_start_ / 1000000.0 > t) {
        cutTimeRange_start_ = 0;
        if (fileData_) fileData_->cutTimeRange_start = 0;
        v_->cutProgressView->setLowerValue(0.0f);
        writeTimeFields(true, 0);
    }
    v_->cutProgressView->setUpperValue(float(t / d));
    writeTimeFields(false, t);
    cutTimeRange_stop_ = t * 1000000.0;
    if (fileData_) fileData_->cutTimeRange_stop = int64_t(cutTimeRange_stop_);
}

void EditVideoWindowController::changeCureentTime(float t) {
    const double d = playerDurationSeconds();
    if (d <= 0) return;
    writeTimeFields(true, t);
    cutTimeRange_start_ = double(t) * 1000000.0;
    if (cutTimeRange_start_ > cutTimeRange_stop_ && cutTimeRange_stop_ != 0) {
        v_->cutProgressView->setUpperValue(1.0f);
        v_->cutProgressView->setLowerValue(float(t / d));
        writeTimeFields(false, d);
        cutTimeRange_stop_ = d * 1000000.0;
    } else {
        v_->cutProgressView->setLowerValue(float(t / d));
    }
    seekSeconds(t);
    v_->cutProgressView->setProgress(float(t / d));
}

// ---- Keep or remove, play, resets ----

void EditVideoWindowController::keepSelectedPartAction() {
    v_->keepTimeSelectedPart->setSelected(true);
    v_->removeTimeSelectedPart->setSelected(false);
    v_->cutProgressView->setIsFanxuan(false);
    isTrimFanxuan_ = false;
    play();
    v_->cutProgressView->setProgress(v_->cutProgressView->lowerValue());
    seekSeconds(double(v_->cutProgressView->lowerValue()) * playerDurationSeconds());
}

void EditVideoWindowController::removeSelectedPartAction() {
    v_->keepTimeSelectedPart->setSelected(false);
    v_->removeTimeSelectedPart->setSelected(true);
    v_->cutProgressView->setIsFanxuan(true);
    isTrimFanxuan_ = true;
    v_->cutProgressView->setProgress(0.0f);
    seekSeconds(0);
}

void EditVideoWindowController::playTrimBtnTouchUp() { action_playPauseBtn(); }

void EditVideoWindowController::resetStartTrim() {
    writeTimeFields(true, 0);
    v_->cutProgressView->setLowerValue(0.0f);
}

void EditVideoWindowController::resetStopTrim() {
    writeTimeFields(false, playerDurationSeconds());
    seekSeconds(0);
    v_->cutProgressView->setUpperValue(1.0f);
}

void EditVideoWindowController::resetTrimBtnTouchUp() {
    writeTimeFields(true, 0);
    writeTimeFields(false, playerDurationSeconds());
    seekSeconds(0);
    v_->cutProgressView->setUpperValue(1.0f);
    v_->cutProgressView->setLowerValue(0.0f);
}

// ---- Range bar ----

void EditVideoWindowController::actionMouseDownForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float) {
    if (view != v_->cutProgressView) return;
    // The preview holds still under the drag and plays on once the bar is let go.
    resumeAfterRangeDrag_ = isPlaying();
    if (resumeAfterRangeDrag_) pause();
}

void EditVideoWindowController::actionMouseUpForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float) {
    if (view != v_->cutProgressView) return;
    if (resumeAfterRangeDrag_) {
        resumeAfterRangeDrag_ = false;
        play();
    }
}

void EditVideoWindowController::actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view,
                                                                        float startvalue, float stopvalue,
                                                                        int64_t handleType) {
    if (view != v_->cutProgressView) return;
    const float d = float(playerDurationSeconds());
    cutTimeRange_start_ = double(startvalue) * d * 1000000.0;
    cutTimeRange_stop_ = double(stopvalue) * d * 1000000.0;
    if (handleType == kestrel::widgets::RDCutProgressView::kRightHandle) {
        seekSeconds(double(stopvalue) * d);
        writeTimeFields(false, double(stopvalue) * d);
    } else if (handleType == kestrel::widgets::RDCutProgressView::kLeftHandle) {
        seekSeconds(double(startvalue) * d);
        writeTimeFields(true, double(startvalue) * d);
    }
    updateTimeLabels();
}

void EditVideoWindowController::actionSeekToTimeForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view,
                                                                        float progress) {
    if (view != v_->cutProgressView) return;
    const double t = double(std::clamp(progress, 0.0f, 1.0f)) * playerDurationSeconds();
    seekSeconds(t);
    const kestrel::editor::TimeParts p = kestrel::editor::splitSeconds(float(t));
    v_->currentTimeLabel->setText(services::HelpClass::retrnTimeToStr(p.hours, p.minutes, p.seconds, p.millis));
    v_->mCurrentTimeLabel->setText(v_->currentTimeLabel->text());
}

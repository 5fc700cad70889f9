// Typed values, field clicks and sliders: each value control reports here, and the handler
// dispatches on the control. Out-of-range values are refused or pulled to the limit.
#include <QLabel>
#include <QTimer>
#include <cmath>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_views.h"
#include "editor/effects/kxfx_view.h"
#include "editor/editor_export_attachment.h"
#include "engine/player/DIVuverIzizud.h"
#include "widgets/zor_button.h"

namespace {
bool contains(const QList<kestrel::widgets::RDTextField*>& fields, const QObject* field) {
    for (const auto* f : fields)
        if (f == field) return true;
    return false;
}
}  // namespace

void EditVideoWindowController::enableCropTextField(bool enable) {
    for (kestrel::widgets::ZorButton* b : v_->cropSteppers()) b->setEnabled(enable);
}

void EditVideoWindowController::actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) {
    if (field == v_->cropTopField || field == v_->cropLeftField || field == v_->cropWidthField ||
        field == v_->cropHeightField) {
        cropEditStepperValue_ = field->text().toLongLong();
        enableCropTextField(true);
    } else if (contains(v_->startFields(), field)) {
        edittingField_ = field;
        startStepperValue_ = field->text().toLongLong();
    } else if (contains(v_->stopFields(), field)) {
        edittingField_ = field;
        stopStepperValue_ = field->text().toLongLong();
    }
    field->setFocus();
}

void EditVideoWindowController::controlTextDidChange(QObject* field) {
    if (contains(v_->startFields(), field)) {
        applyTrimStartFromFields();
        return;
    }
    if (contains(v_->stopFields(), field)) {
        applyTrimStopFromFields();
        return;
    }
    kestrel::editor::CropField which;
    if (field == v_->cropWidthField) which = kestrel::editor::CropField::Width;
    else if (field == v_->cropHeightField) which = kestrel::editor::CropField::Height;
    else if (field == v_->cropTopField) which = kestrel::editor::CropField::Top;
    else if (field == v_->cropLeftField) which = kestrel::editor::CropField::Left;
    else return;
    const auto* f = static_cast<kestrel::widgets::RDTextField*>(field);
    bool ok = false;
    const qlonglong value = f->text().trimmed().toLongLong(&ok);
    if (!ok) return;
    // Limits are those of the picture as shown (turned when the video is turned).
    const auto rect = kestrel::editor::applyCropField(which, value, editVideoClipRect_, videoSize_,
                                             v_->keepAspectBtn->selected());
    if (!rect) return;
    // The job takes even margins and the written size not above the typed one; the fields and the
    // overlay show that crop. The typed field is rewritten at once only when the value was pulled
    // in, so typing is not disturbed.
    double taken = 0;
    switch (which) {
    case kestrel::editor::CropField::Width: taken = rect->width(); break;
    case kestrel::editor::CropField::Height: taken = rect->height(); break;
    case kestrel::editor::CropField::Left: taken = rect->x(); break;
    case kestrel::editor::CropField::Top: taken = videoSize_.height() - (rect->y() + rect->height()); break;
    }
    const bool pulledIn = std::lround(taken) != value;
    setCropMargins(kestrel::editor::marginsForTypedRect(*rect, videoSize_, evenCropSizes_,
                                                        which == kestrel::editor::CropField::Top));
    showCropFields(pulledIn ? nullptr : field);
    if (v_->cliper)
        v_->cliper->setClipRect(kestrel::editor::cropBoxForFields(editVideoClipRect_, videoSize_, QSizeF(v_->cliper->size())));
}

void EditVideoWindowController::actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider,
                                                                     float progress) {
    if (slider == v_->b_volumeSlider) setPlayerBarVolume(progress);
}

void EditVideoWindowController::actionMouseDownForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider,
                                                                      float progress) {
    if (slider != v_->b_volumeSlider) return;
    volumeHideTimer_->stop();  // the slider stays up while it is dragged
    setPlayerBarVolume(progress);
}

void EditVideoWindowController::actionMouseUpForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider,
                                                                    float progress) {
    if (slider != v_->b_volumeSlider) return;
    volumeHideTimer_->start(1000);
    setPlayerBarVolume(progress);
}

void EditVideoWindowController::setPlayerBarVolume(float progress) {
    // The effect panel keeps the volume: it sends it to the preview and hands it to the export.
    if (kestrel::editor::KxfxView* panel = exportAttachment_ ? exportAttachment_->effectPanel() : nullptr)
        panel->action_volueSlider(progress);
}

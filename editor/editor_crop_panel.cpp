// The crop, rotate and mirror panel. The crop is kept twice: as a rectangle in pixels of the
// rotated and mirrored picture the preview shows, and as four even margins for the engine.
#include <QLabel>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_look.h"
#include "editor/editor_value_field.h"
#include "editor/editor_views.h"
#include "services/language.h"
#include "session/edit/edit_bindings.h"
#include "session/export/editor/even_size_rule.h"
#include "widgets/zor_button.h"

#include <cstdlib>

using namespace kestrel::editor::look;
using kestrel::widgets::RDTextField;
using kestrel::widgets::ZorButton;

namespace {

// The text of a field read as a 32-bit integer: leading digits, 0 when there are none.
int64_t leadingInt(const QString& text) {
    const QByteArray bytes = text.trimmed().toLatin1();
    return std::strtoll(bytes.constData(), nullptr, 10);
}

}  // namespace

void EditVideoWindowController::buildCropView() {
    auto* panel = new QWidget(v_->funItemContentView);
    v_->cropView = panel;
    v_->cropTitleLabel = makeLabel(panel, 13, QColor(204, 204, 204, 153));
    v_->rotateAngleLabel = makeLabel(panel, 13, QColor(204, 204, 204, 153));
    v_->rotateDesLabel = makeLabel(panel, 13);
    v_->original_SizeLabel = makeLabel(panel, 13);
    v_->original_SizeValueLabel = makeLabel(panel, 13);
    v_->cropAreaLabel = makeLabel(panel, 13);
    v_->cropPositionLabel = makeLabel(panel, 13);
    v_->topLabel = makeLabel(panel, 13);
    v_->leftLabel = makeLabel(panel, 13);
    v_->rotateDesLabel->setWordWrap(true);

    v_->left_ratioBtn = makeStateButton(panel, QStringLiteral("ZantImage/SubFun/btnCounterClockwise"));
    v_->right_ratioBtn = makeStateButton(panel, QStringLiteral("ZantImage/SubFun/btnClockwise"));
    v_->horizontal_mirrorBtn = makeStateButton(panel, QStringLiteral("ZantImage/SubFun/btnHFlipCrop"));
    v_->vertical_mirrorBtn = makeStateButton(panel, QStringLiteral("ZantImage/SubFun/btnVFlipCrop"));
    v_->left_ratioBtn->setMouseDownAction([this](ZorButton*) { rotateLeftAction(); });
    v_->right_ratioBtn->setMouseDownAction([this](ZorButton*) { rotateRightAction(); });
    v_->horizontal_mirrorBtn->setMouseDownAction([this](ZorButton*) { horizontalMirrorAction(); });
    v_->vertical_mirrorBtn->setMouseDownAction([this](ZorButton*) { verticalMirrorAction(); });

    v_->cropWidthField = kestrel::editor::makeValueField(panel, this, Qt::white, false);
    v_->cropHeightField = kestrel::editor::makeValueField(panel, this, Qt::white, false);
    v_->cropTopField = kestrel::editor::makeValueField(panel, this, Qt::white, false);
    v_->cropLeftField = kestrel::editor::makeValueField(panel, this, Qt::white, false);
    v_->cropTopField->setText(QStringLiteral("0"));
    v_->cropLeftField->setText(QStringLiteral("0"));
    // A typed value rounded to what the export takes is shown once typing ends.
    for (RDTextField* f : {v_->cropWidthField, v_->cropHeightField, v_->cropTopField, v_->cropLeftField})
        QObject::connect(f, &QLineEdit::editingFinished, f, [this] { showCropFields(); });

    // Margins are even, so crop values move in steps of two pixels.
    const std::pair<ZorButton**, std::pair<kestrel::editor::CropField, int>> steppers[] = {
        {&v_->cropTopStepperUpBtn, {kestrel::editor::CropField::Top, +2}},
        {&v_->cropTopStepperDownBtn, {kestrel::editor::CropField::Top, -2}},
        {&v_->cropLeftStepperUpBtn, {kestrel::editor::CropField::Left, +2}},
        {&v_->cropLeftStepperDownBtn, {kestrel::editor::CropField::Left, -2}},
        {&v_->cropWidthStepperUpBtn, {kestrel::editor::CropField::Width, +2}},
        {&v_->cropWidthStepperDownBtn, {kestrel::editor::CropField::Width, -2}},
        {&v_->cropHeightStepperUpBtn, {kestrel::editor::CropField::Height, +2}},
        {&v_->cropHeightStepperDownBtn, {kestrel::editor::CropField::Height, -2}},
    };
    for (const auto& [slot, what] : steppers) {
        *slot = new ZorButton(panel);
        const auto [field, delta] = what;
        auto action = [this, field = field, delta = delta](ZorButton*) { cropStepperAction(field, delta); };
        if (delta > 0) setStepperUpBtnImage(*slot, action);
        else setStepperDownBtnImage(*slot, action);
    }

    v_->keepAspectBtn = makeCheckButton(panel, QStringLiteral("SubFun"));
    v_->keepAspectBtn->setMouseDownAction([this](ZorButton*) { keepAspectAction(); });

    v_->resetRotateBtn = new ZorButton(panel);
    const QString common = QStringLiteral("ZantImage/Cut/btnCommonBlack_");
    v_->resetRotateBtn->setNormalBackgroundImage(picture(common + QStringLiteral("Normal@2x.png")));
    v_->resetRotateBtn->setOnBackgroundImage(picture(common + QStringLiteral("On@2x.png")));
    v_->resetRotateBtn->setDownBackgroundImage(picture(common + QStringLiteral("Down@2x.png")));
    v_->resetRotateBtn->setBackGroundColor(kPanelBackground);
    v_->resetRotateBtn->setFont(systemFont(13));
    v_->resetRotateBtn->setContentColor(kControlText);
    v_->resetRotateBtn->setMouseDownAction([this](ZorButton*) { resetAction(); });

    // Layout inside the panel (top-left coordinates).
    v_->rotateAngleLabel->setGeometry(16, 8, 300, 20);
    v_->left_ratioBtn->setGeometry(16, 34, 40, 40);
    v_->right_ratioBtn->setGeometry(66, 34, 40, 40);
    v_->horizontal_mirrorBtn->setGeometry(116, 34, 40, 40);
    v_->vertical_mirrorBtn->setGeometry(166, 34, 40, 40);
    v_->resetRotateBtn->setGeometry(226, 40, 140, 28);
    v_->rotateDesLabel->setGeometry(16, 78, 370, 44);
    v_->cropTitleLabel->setGeometry(16, 128, 370, 20);
    v_->original_SizeLabel->setGeometry(16, 154, 170, 22);
    v_->original_SizeValueLabel->setGeometry(190, 154, 180, 22);
    v_->cropAreaLabel->setGeometry(16, 184, 170, 26);
    v_->cropWidthField->setGeometry(190, 184, 60, 26);
    v_->cropWidthStepperUpBtn->setGeometry(252, 184, 14, 13);
    v_->cropWidthStepperDownBtn->setGeometry(252, 197, 14, 13);
    v_->cropHeightField->setGeometry(280, 184, 60, 26);
    v_->cropHeightStepperUpBtn->setGeometry(342, 184, 14, 13);
    v_->cropHeightStepperDownBtn->setGeometry(342, 197, 14, 13);
    v_->cropPositionLabel->setGeometry(16, 218, 370, 26);
    v_->leftLabel->setGeometry(16, 248, 90, 26);
    v_->cropLeftField->setGeometry(106, 248, 60, 26);
    v_->cropLeftStepperUpBtn->setGeometry(168, 248, 14, 13);
    v_->cropLeftStepperDownBtn->setGeometry(168, 261, 14, 13);
    v_->topLabel->setGeometry(196, 248, 80, 26);
    v_->cropTopField->setGeometry(280, 248, 60, 26);
    v_->cropTopStepperUpBtn->setGeometry(342, 248, 14, 13);
    v_->cropTopStepperDownBtn->setGeometry(342, 261, 14, 13);
    v_->keepAspectBtn->setGeometry(16, 286, 370, 28);
}

void EditVideoWindowController::initCropView() {
    buildCropView();
    const QSizeF s = sourceSize();
    v_->original_SizeValueLabel->setText(QStringLiteral("%1 x %2").arg(int(s.width())).arg(int(s.height())));
    v_->cropView->hide();
}

void EditVideoWindowController::resetCropState() { setCropMargins(kestrel::model::RECT{}); }

void EditVideoWindowController::setCropMargins(const kestrel::model::RECT& margins) {
    edits_.cropMargins = margins;
    editVideoClipRect_ = kestrel::editor::writtenCropRect(margins, videoSize_, evenCropSizes_);
}

void EditVideoWindowController::showCropFields(const QObject* typing) {
    if (!fileData_ || videoSize_.isEmpty()) return;
    const QRectF& r = editVideoClipRect_;
    auto show = [&](RDTextField* field, int value, const char* format) {
        if (field == typing) return;  // the rounded value is shown when typing ends
        field->setText(QString::asprintf(format, value));
    };
    show(v_->cropWidthField, int(r.width()), "%02d");
    show(v_->cropHeightField, int(r.height()), "%02d");
    show(v_->cropLeftField, edits_.cropMargins.left, "%d");
    show(v_->cropTopField, edits_.cropMargins.top, "%d");
    // The frame as the export writes it when nothing is cropped.
    const int w = kestrel::editor::writtenLength(int(std::lround(videoSize_.width())), evenCropSizes_);
    const int h = kestrel::editor::writtenLength(int(std::lround(videoSize_.height())), evenCropSizes_);
    v_->original_SizeValueLabel->setText(QStringLiteral("%1 x %2").arg(w).arg(h));
}

void EditVideoWindowController::refreshCropSizeRule() {
    if (!fileData_) return;
    const bool even = kestrel::session::exportWritesEvenSizes(
        *fileData_, kestrel::session::readEditorOutputChoice(*fileData_, kestrel::session::FrameSizeRule::Normal));
    if (even == evenCropSizes_) return;
    evenCropSizes_ = even;
    setCropMargins(edits_.cropMargins);
    showCropFields();
}

void EditVideoWindowController::placeOverlays(const QRectF& rect) {
    if (!v_->cliper) return;
    v_->cliper->setVideoSize(videoSize_);
    v_->cliper->setFrameRect(rect);
    v_->cliper->setClipRect(QRectF(QPointF(0, 0), rect.size()));
    v_->cliper->setCropType(1);
}

void EditVideoWindowController::applyQuarterTurn(int32_t angle) {
    edits_.setUserAngleDegrees(angle);
    applyEditState(kestrel::session::kPreviewPicture);
    videoSize_ = kestrel::editor::rotatedSize(sourceSize(), edits_.userAngleDegrees());
    // The loaded subtitle and watermarks are the user's work: a turn keeps them.
    placeOverlays(videoRect());
    resetCropState();
    showCropFields();
    refreshIfPaused();
}

void EditVideoWindowController::rotateLeftAction() {
    v_->left_ratioBtn->setSelected(false);
    applyQuarterTurn(kestrel::editor::rotateLeft(edits_.userAngleDegrees()));
}

void EditVideoWindowController::rotateRightAction() {
    v_->right_ratioBtn->setSelected(false);
    applyQuarterTurn(kestrel::editor::rotateRight(edits_.userAngleDegrees()));
}

void EditVideoWindowController::horizontalMirrorAction() {
    v_->horizontal_mirrorBtn->setSelected(false);
    if (edits_.userAngleDegrees() == 90 || edits_.userAngleDegrees() == 270) {
        edits_.vFlip = !edits_.vFlip;
        applyEditState(kestrel::session::kPreviewPicture);
    } else {
        edits_.hFlip = !edits_.hFlip;
        applyEditState(kestrel::session::kPreviewPicture);
    }
    // The crop stays as the overlay shows it: the box is in the mirrored picture's pixels.
    refreshIfPaused();
}

void EditVideoWindowController::verticalMirrorAction() {
    v_->vertical_mirrorBtn->setSelected(false);
    if (edits_.userAngleDegrees() == 90 || edits_.userAngleDegrees() == 270) {
        edits_.hFlip = !edits_.hFlip;
        applyEditState(kestrel::session::kPreviewPicture);
    } else {
        edits_.vFlip = !edits_.vFlip;
        applyEditState(kestrel::session::kPreviewPicture);
    }
    refreshIfPaused();
}

void EditVideoWindowController::keepAspectAction() {
    auto* b = v_->keepAspectBtn;
    b->setSelected(!b->selected());
    if (!v_->cliper) return;
    if (!b->selected()) {
        v_->cliper->setCropType(1);
        return;
    }
    if (v_->cliper->crop_Type() == 2) {
        v_->cliper->setCropType(2);
        return;
    }
    const QRectF rect = videoRect();
    v_->cliper->setFrameRect(rect);
    resetCropState();
    v_->cliper->setVideoSize(videoSize_);
    v_->cliper->setClipRect(QRectF(QPointF(0, 0), rect.size()));
    showCropFields();
    v_->cliper->setCropType(2);
}

void EditVideoWindowController::resetAction() {
    v_->resetRotateBtn->setSelected(false);
    edits_.setUserAngleDegrees(0);
    resetRotateTouchUp();
}

void EditVideoWindowController::resetRotateTouchUp() {
    edits_.setUserAngleDegrees(0);
    if (v_->horizontal_mirrorBtn) v_->horizontal_mirrorBtn->setSelected(false);
    edits_.vFlip = edits_.hFlip = false;
    applyEditState(kestrel::session::kPreviewPicture);
    videoSize_ = sourceSize();
    // The loaded subtitle and watermarks are the user's work: a geometry reset keeps them.
    placeOverlays(videoRect());
    resetCropState();
    showCropFields();
    refreshIfPaused();
}

void EditVideoWindowController::writeClipToFieldsAndJob(const QRectF& px) {
    // The fields show what the export writes for the box: the even margins' rectangle.
    setCropMargins(kestrel::editor::cropMargins(px, videoSize_));
    showCropFields();
}

void EditVideoWindowController::actionMoveEndForRDUICliperBlock(kestrel::editor::RDUICliper* cliper, const QRectF& box) {
    actionMovedForRDUICliperBlock(cliper, box);
}

void EditVideoWindowController::actionMovedForRDUICliperBlock(kestrel::editor::RDUICliper* cliper, const QRectF& box) {
    if (cliper != v_->cliper) return;
    if (auto px = kestrel::editor::overlayToVideo(box, QSizeF(cliper->size()), videoSize_)) writeClipToFieldsAndJob(*px);
}

void EditVideoWindowController::recomputeCropFromOverlay() {
    if (!v_->cliper) return;
    const QRectF r = v_->cliper->getclipRectFrame();
    v_->cliper->setClipRect(r);
    if (auto px = kestrel::editor::overlayToVideo(r, QSizeF(v_->cliper->size()), videoSize_)) writeClipToFieldsAndJob(*px);
}

void EditVideoWindowController::cropStepperAction(kestrel::editor::CropField field, int delta) {
    RDTextField* f = nullptr;
    double bound = 0;
    // Bounds are those of the picture as shown, so a turned video keeps its own limits.
    switch (field) {
    case kestrel::editor::CropField::Top: f = v_->cropTopField; bound = videoSize_.height(); break;
    case kestrel::editor::CropField::Height: f = v_->cropHeightField; bound = videoSize_.height(); break;
    case kestrel::editor::CropField::Left: f = v_->cropLeftField; bound = videoSize_.width(); break;
    case kestrel::editor::CropField::Width: f = v_->cropWidthField; bound = videoSize_.width(); break;
    }
    cropEditStepperValue_ = kestrel::editor::stepCropValue(leadingInt(f->text()), delta, int64_t(bound));
    f->setText(QString::number(cropEditStepperValue_));
    controlTextDidChange(f);
    showCropFields();
}

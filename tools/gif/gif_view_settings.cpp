// The GIF maker view's settings: the range in two groups of time fields, the output size as it
// is typed and when it is committed, the pixel or percentage choice and the link, the frame
// rates typed or stepped, and which steppers the field pressed last gives the user.
#include <QLabel>
#include <algorithm>
#include <cmath>

#include "session/export/gif/gif_limits.h"
#include "session/preview/gif_preview.h"
#include "tools/gif/gif_view_controller.h"
#include "tools/gif/gif_view_support.h"
#include "tools/shared/kit_controls.h"
#include "tools/shared/time_field_group.h"
#include "widgets/zor_button.h"

namespace gif {

using kestrel::tools::gif::OutputSize;
using kestrel::tools::gif::SizeUnit;
using kestrel::widgets::RDTextField;
namespace rules = kestrel::tools::gif;
namespace session = kestrel::session;
using namespace detail;

namespace {

// A field's text read as the whole number it starts with; 0 when it starts with none.
int64_t leadingNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    int digits = 0;
    while (digits < trimmed.size() && digits < 12 && trimmed.at(digits).isDigit()) ++digits;
    return digits == 0 ? 0 : trimmed.left(digits).toLongLong();
}

void setTextKeepingCursor(QLineEdit* field, const QString& text) {
    if (field->text() == text) return;
    const int cursor = field->cursorPosition();
    field->setText(text);
    field->setCursorPosition(std::min(cursor, int(text.size())));
}

}  // namespace

void GIFViewController::refreshOutputFields() {
    const bool pixels = pixelBtn->selected();
    const OutputSize& size = mode_ == Mode::VideoToPictures ? pictureSize_ : gifSize_;
    outputSizeWidthField->setText(QString::number(pixels ? size.width : size.widthPercent));
    outputSizeHeightField->setText(QString::number(pixels ? size.height : size.heightPercent));
    outputFrameRateField->setText(QString::asprintf("%.1f", mode_ == Mode::VideoToPictures ? vtoJpgFps_ : vtoGifFps_));
    photostoGif_SizeWidthField->setText(QString::number(photoWidth_));
    photostoGif_SizeHeightField->setText(QString::number(photoHeight_));
    photostoGif_FrameRateField->setText(QString::asprintf("%.1f", ptoGifFps_));
}

void GIFViewController::sizeTyped(bool width) {
    // Every keystroke: the value is taken at once (at least 1) and, linked, the other side follows.
    RDTextField* field = width ? outputSizeWidthField : outputSizeHeightField;
    const int64_t typed = leadingNumber(field->text());
    const SizeUnit unit = pixelBtn->selected() ? SizeUnit::Pixel : SizeUnit::Proportion;
    OutputSize& size = videoSize();
    if (width) rules::typedWidth(size, unit, linkBtn->selected(), typed);
    else rules::typedHeight(size, unit, linkBtn->selected(), typed);
    const bool pixels = unit == SizeUnit::Pixel;
    setTextKeepingCursor(outputSizeWidthField, QString::number(pixels ? size.width : size.widthPercent));
    setTextKeepingCursor(outputSizeHeightField, QString::number(pixels ? size.height : size.heightPercent));
}

void GIFViewController::commitSizeField(bool width) {
    RDTextField* field = width ? outputSizeWidthField : outputSizeHeightField;
    const int64_t typed = leadingNumber(field->text());
    const SizeUnit unit = pixelBtn->selected() ? SizeUnit::Pixel : SizeUnit::Proportion;
    if (width) rules::commitWidth(videoSize(), unit, linkBtn->selected(), typed);
    else rules::commitHeight(videoSize(), unit, linkBtn->selected(), typed);
    refreshOutputFields();
}

void GIFViewController::commitPhotoSizeField(bool width) {
    RDTextField* field = width ? photostoGif_SizeWidthField : photostoGif_SizeHeightField;
    (width ? photoWidth_ : photoHeight_) = rules::commitPhotoSide(leadingNumber(field->text()));
    refreshOutputFields();
    if (mode_ == Mode::PhotosToGif) {
        stopAction();
        initGifPlayer();
    }
}

void GIFViewController::commitFpsField(RDTextField* field, Mode mode) {
    const double value = rules::commitFps(double(leadingNumber(field->text())));
    if (mode == Mode::PhotosToGif) ptoGifFps_ = value;
    else if (mode == Mode::VideoToPictures) vtoJpgFps_ = value;
    else vtoGifFps_ = value;
    refreshOutputFields();
    if (mode == Mode::PhotosToGif && mode_ == Mode::PhotosToGif) initGifPlayer();
}

void GIFViewController::stepFps(bool photos, int delta) {
    // A stepped rate stays within what a typed one may be.
    double& rate = photos ? ptoGifFps_ : mode_ == Mode::VideoToPictures ? vtoJpgFps_ : vtoGifFps_;
    rate = session::clampGifFps(std::trunc(rate) + delta);
    refreshOutputFields();
    if (photos && mode_ == Mode::PhotosToGif) initGifPlayer();
}

void GIFViewController::chooseUnit(bool pixels) {
    endEditing();
    pixelBtn->setSelected(pixels);
    proportionBtn->setSelected(!pixels);
    refreshOutputFields();
}

void GIFViewController::linkAction() {
    endEditing();
    const bool linked = !linkBtn->selected();
    linkBtn->setSelected(linked);
    kestrel::tools::shared::setStatePictures(linkBtn,
                                             linked ? QStringLiteral("ZantImage/GifMaker/btnlinklock")
                                                    : QStringLiteral("ZantImage/GifMaker/btnNolinklock"),
                                             QStringLiteral("@2x.png"));
    // Linked again, the height follows the width.
    if (linked && mode_ != Mode::PhotosToGif) rules::linkTurnedOn(videoSize());
    refreshOutputFields();
}

void GIFViewController::resetTextFields() {
    startTextBgView->setTimeUs(startUs_);
    endTextBgView->setTimeUs(endUs_);
    middleTimeTextField->setText(tr_("gif_miker_Duration") + formatTime(endUs_ - startUs_));
}

void GIFViewController::changeTime(bool startGroup, bool seek) {
    if (startGroup) {
        startUs_ = std::clamp<int64_t>(startTextBgView->timeUs(), 0, endUs_);
        if (durationUs_ > 0) cutTimeSlider->setLowerValue(float(double(startUs_) / double(durationUs_)));
    } else {
        endUs_ = std::clamp<int64_t>(endTextBgView->timeUs(), startUs_, durationUs_);
        if (durationUs_ > 0) cutTimeSlider->setUpperValue(float(double(endUs_) / double(durationUs_)));
    }
    resetTextFields();
    if (seek) {
        preview_->seek(startGroup ? startUs_ : endUs_);
        showPosition(startGroup ? startUs_ : endUs_);
    }
}

void GIFViewController::fieldPressed(QWidget* field) {
    // The steppers of the field pressed last take over; a size field has none.
    startTextBgView->setSteppersEnabled(field == startTextBgView);
    endTextBgView->setSteppersEnabled(field == endTextBgView);
    frameRateUpBtn->setEnabled(field == outputFrameRateField);
    frameRateDownBtn->setEnabled(field == outputFrameRateField);
    photostoGif_frameRateUpBtn->setEnabled(field == photostoGif_FrameRateField);
    photostoGif_frameRateDownBtn->setEnabled(field == photostoGif_FrameRateField);
}

void GIFViewController::actionMouseDownForTextFieldBlock(RDTextField* field) { fieldPressed(field); }

}  // namespace gif

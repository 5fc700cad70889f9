// The GIF maker view's settings: the output size, frame rate and range fields and what they show.
#include "tools/gif/gif_view_controller.h"

#include "session/export/gif/gif_limits.h"
#include "tools/gif/gif_view_support.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>
#include <cmath>

namespace gif {

using kestrel::tools::gif::GifPhotoList;
using kestrel::tools::gif::OutputSize;
using kestrel::tools::gif::SizeUnit;
namespace rules = kestrel::tools::gif;
namespace session = kestrel::session;
using namespace detail;

void GIFViewController::refreshResult() {
    // What the export will hold, so a size or rate slip shows before anything runs.
    const OutputSize& size = mode_ == Mode::VideoToPictures ? pictureSize_ : gifSize_;
    const double rate = fps(mode_);
    const int64_t span_us = std::max<int64_t>(0, endUs_ - startUs_);
    const int64_t count = mode_ == Mode::VideoToPictures ? int64_t(double(span_us) / 1e6 * rate) + 1
                                                         : int64_t(std::ceil(double(span_us) / 1e6 * rate));
    const QString dimensions = QString::number(session::clampGifSide(size.width)) + " × " +
                               QString::number(session::clampGifSide(size.height));
    const QString what = tr_(mode_ == Mode::VideoToPictures ? "gif_miker_ResultPictures" : "gif_miker_ResultFrames")
                             .arg(span_us > 0 ? count : 0)
                             .arg(QString::number(double(span_us) / 1e6, 'f', 1));
    resultLabel_->setText(dimensions + "\n" + what);
}

void GIFViewController::showVideoName() {
    const QString name = QFileInfo(videoPath_).fileName();
    const int room = std::max(40, videoNameLabel_->width());
    videoNameLabel_->setText(videoNameLabel_->fontMetrics().elidedText(name, Qt::ElideMiddle, room));
    videoNameLabel_->setToolTip(videoPath_);
}

void GIFViewController::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    QTimer::singleShot(0, this, [this] { showVideoName(); });  // after the layout has placed the label
}

void GIFViewController::refreshOutputFields() {
    const bool pixels = pixelBtn->isChecked();
    const OutputSize& size = mode_ == Mode::VideoToPictures ? pictureSize_ : gifSize_;
    outputSizeWidthField->setText(QString::number(pixels ? size.width : size.widthPercent));
    outputSizeHeightField->setText(QString::number(pixels ? size.height : size.heightPercent));
    outputFrameRateField->setText(QString::asprintf("%.1f", mode_ == Mode::VideoToPictures ? vtoJpgFps_ : vtoGifFps_));
    photostoGif_SizeWidthField->setText(QString::number(photoWidth_));
    photostoGif_SizeHeightField->setText(QString::number(photoHeight_));
    photostoGif_FrameRateField->setText(QString::asprintf("%.1f", ptoGifFps_));
    refreshResult();
}

void GIFViewController::commitSizeField(bool width) {
    QLineEdit* field = width ? outputSizeWidthField : outputSizeHeightField;
    const int64_t typed = field->text().trimmed().toLongLong();  // not a number counts as 0
    const SizeUnit unit = pixelBtn->isChecked() ? SizeUnit::Pixel : SizeUnit::Proportion;
    if (width) rules::commitWidth(videoSize(), unit, linkBtn->isChecked(), typed);
    else rules::commitHeight(videoSize(), unit, linkBtn->isChecked(), typed);
    refreshOutputFields();
}

void GIFViewController::commitPhotoSizeField(bool width) {
    QLineEdit* field = width ? photostoGif_SizeWidthField : photostoGif_SizeHeightField;
    const int64_t side = rules::commitPhotoSide(field->text().trimmed().toLongLong());
    (width ? photoWidth_ : photoHeight_) = side;
    refreshOutputFields();
    if (mode_ == Mode::PhotosToGif) rebuildPreview();
}

void GIFViewController::commitFpsField(QLineEdit* field, Mode mode) {
    const double value = rules::commitFps(field->text().trimmed().toDouble());
    if (mode == Mode::PhotosToGif) ptoGifFps_ = value;
    else if (mode == Mode::VideoToPictures) vtoJpgFps_ = value;
    else vtoGifFps_ = value;
    refreshOutputFields();
    if (mode == Mode::PhotosToGif && mode_ == Mode::PhotosToGif) rebuildPreview();
}

void GIFViewController::commitTimes() {
    int64_t start = usOf(startTimeEdit->time());
    int64_t end = usOf(endTimeEdit->time());
    end = std::clamp<int64_t>(end, 0, durationUs_);
    start = std::clamp<int64_t>(start, 0, end);
    startUs_ = start;
    endUs_ = end;
    startTimeEdit->setTime(timeOf(startUs_));
    endTimeEdit->setTime(timeOf(endUs_));
    refreshResult();
}

}  // namespace gif

#include "widgets/ns_progress_view.h"

#include <QLabel>

#include "widgets/value_math.h"
#include "widgets/view_frame.h"
#include "widgets/widget_log.h"

namespace kestrel::widgets {
namespace {
constexpr qreal kCornerRadius = 5;
constexpr double kLabelHeight = 16;
constexpr int kLabelPointSize = 12;
constexpr const char* kTrack = "ZantImage/Reverse/imgProfile.bmp";
constexpr const char* kFill = "ZantImage/Reverse/pbTop.bmp";

NamedImageView* makeBar(QWidget* parent, const QString& picture) {
    auto* bar = new NamedImageView(parent);
    bar->setImageScaling(ImageScaling::AxesIndependently);
    bar->setImageNamed(picture);
    bar->setLayerCornerRadius(kCornerRadius);
    return bar;
}
}  // namespace

QString progressPercentText(float progress) {
    const float percent = progress * 100.0f;
    return QString::asprintf("%.f%%", double(percent));
}

NSProgressView::NSProgressView(const QRectF& frame, QWidget* parent) : QWidget(parent) {
    setViewFrame(this, frame);
    const double w = frame.width(), h = frame.height();
    progressBackView_ = makeBar(this, kTrack);
    progressBackView_->setMasksToBounds(true);
    progressTintView_ = makeBar(this, kFill);
    setViewFrame(progressBackView_, QRectF(0, 0, w, h));
    setViewFrame(progressTintView_, QRectF(0, 0, 0, h));

    progressLabel_ = new QLabel(this);
    QPalette palette = progressLabel_->palette();
    palette.setColor(QPalette::WindowText, QColor(205, 214, 221));  // light text on the dark track and the blue fill
    progressLabel_->setPalette(palette);
    progressLabel_->setAttribute(Qt::WA_TranslucentBackground);
    progressLabel_->setAlignment(Qt::AlignCenter);
    QFont font = progressLabel_->font();
    font.setPointSize(kLabelPointSize);
    progressLabel_->setFont(font);
    setViewFrame(progressLabel_, QRectF(0, (h - kLabelHeight) / 2, w, kLabelHeight));
    laidOutSize_ = viewSize(this);
}

NSProgressView::~NSProgressView() { qCDebug(lcWidgets, "%s", "-[NSProgressView dealloc]"); }

void NSProgressView::setProgress(float progress) {
    // A fraction outside 0..1 (a job's overshoot, NaN) must not draw the fill past the track or
    // show "150%".
    progress = std::isfinite(progress) ? limitedUnit(progress) : 0.0f;
    QRectF fill = viewFrame(progressTintView_);
    fill.setWidth(progress * viewFrame(progressBackView_).width());
    setViewFrame(progressTintView_, fill);
    progress_ = progress;
    if (isShowProgressLabel_) progressLabel_->setText(progressPercentText(progress));
    qCDebug(lcWidgets, "%f", progress);
}

void NSProgressView::setFrame(const QRectF& frame) {
    setViewFrame(this, frame);
    followNewSize();
}

void NSProgressView::resizeEvent(QResizeEvent*) {
    if (viewSize(this) != laidOutSize_) followNewSize();
}

void NSProgressView::followNewSize() {
    const QSizeF size = viewSize(this);
    reapplyChildFrames(this);
    setViewFrame(progressBackView_, QRectF(0, 0, size.width(), size.height()));
    QRectF fill = viewFrame(progressTintView_);
    fill.setWidth(placeable(progress_) * size.width());
    setViewFrame(progressTintView_, fill);
    laidOutSize_ = size;
}

}  // namespace kestrel::widgets

#include "widgets/volume_progress_slider.h"

#include "widgets/view_frame.h"
#include "widgets/widget_log.h"

namespace kestrel::widgets {
namespace {
constexpr qreal kTrackCornerRadius = 2;
constexpr double kTrackThickness = 4;
constexpr const char* kKnob = "ZantImage/Reverse/btnVolumeSlip_Normal@2x.png";
constexpr const char* kBack = "ZantImage/Reverse/imgBack.bmp";
constexpr const char* kTop = "ZantImage/Reverse/imgTop.bmp";
constexpr const char* kTopPng = "ZantImage/Reverse/imgTop.png";

XJFlippedView* makeBar(QWidget* parent, const QString& picture) {
    auto* bar = new XJFlippedView(parent);
    bar->setLayerCornerRadius(kTrackCornerRadius);
    bar->setMasksToBounds(true);
    bar->setImageNamed(picture);
    return bar;
}
}  // namespace

VolumeProgressSlider::VolumeProgressSlider(const QRectF& frame, QWidget* parent, Construction how)
    : ReportingKnobSlider(parent) {
    setViewFrame(this, frame);
    const double w = frame.width(), h = frame.height();
    const bool isHorizontal = w > h;
    const bool fromFile = how == Construction::FromInterfaceFile;
    const QString trackPicture = (fromFile && isHorizontal) ? kBack : kTop;
    const QString fillPicture = fromFile ? kTop : kTopPng;

    track_ = makeBar(this, trackPicture);
    fill_ = makeBar(this, fillPicture);
    knob_ = new NamedImageView(this);
    knob_->setImageScaling(ImageScaling::AxesIndependently);
    knob_->setImageNamed(kKnob);

    const QRectF trackFrame = isHorizontal ? QRectF(0, (h - kTrackThickness) / 2, w, kTrackThickness)
                                           : QRectF((w - kTrackThickness) / 2, 0, kTrackThickness, h);
    setViewFrame(track_, trackFrame);
    setViewFrame(fill_, trackFrame);
    setViewFrame(knob_, isHorizontal ? QRectF(0, 0, h, h) : QRectF(0, 0, w, w));
    laidOutSize_ = viewSize(this);
}

VolumeProgressSlider::~VolumeProgressSlider() { qCDebug(lcWidgets, "%s", "-[VolumeProgressSlider dealloc]"); }

bool VolumeProgressSlider::horizontal() const {
    const QSizeF size = viewSize(this);
    return size.width() > size.height();
}

void VolumeProgressSlider::resizeParts(const QSizeF&, const QSizeF&) {
    // The slider never resizes its track; its parts keep their frames.
    reapplyChildFrames(this);
}

void VolumeProgressSlider::setTickrefresh(bool refresh) {
    tickrefresh_ = refresh;
    if (!refresh) return;
    const QSizeF size = viewSize(this);
    QRectF knob = viewFrame(knob_);
    if (horizontal()) {
        knob.moveTo((size.width() - knob.width()) / 2, (size.height() - knob.height()) / 2);
    } else {
        const QSizeF picture = pointSize(knob_->image());
        knob = QRectF(knob.x(), (size.height() - picture.height()) / 2, picture.width(), picture.height());
    }
    setViewFrame(knob_, knob);
}

}  // namespace kestrel::widgets

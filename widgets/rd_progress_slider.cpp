#include "widgets/rd_progress_slider.h"

#include "widgets/view_frame.h"
#include "widgets/widget_log.h"

namespace kestrel::widgets {
namespace {
constexpr qreal kTrackCornerRadius = 5;
constexpr double kTrackThickness = 8;
constexpr const char* kKnob = "Cut/btnSlip_Normal.png";
constexpr const char* kFileTrack = "Cut/imgBack.bmp";
constexpr const char* kCodeTrack = "ZantImage/Split/pbBottom.bmp";
// Track and fill stretch with the slider; a loaded knob keeps its size between flexible margins.
constexpr int kBarMask = kViewMinXMargin | kViewWidthSizable | kViewMaxXMargin | kViewMinYMargin |
                         kViewHeightSizable | kViewMaxYMargin;
constexpr int kLoadedKnobMask = kViewMinXMargin | kViewMaxXMargin | kViewMinYMargin | kViewMaxYMargin;

NamedImageView* makePart(QWidget* parent, const QString& picture) {
    auto* view = new NamedImageView(parent);
    view->setImageScaling(ImageScaling::AxesIndependently);
    view->setImageNamed(picture);
    return view;
}
}  // namespace

RDProgressSlider::RDProgressSlider(const QRectF& frame, QWidget* parent, Construction how) : ReportingKnobSlider(parent) {
    setViewFrame(this, frame);
    const double w = frame.width(), h = frame.height();
    const bool fromFile = how == Construction::FromInterfaceFile;
    const QString barPicture = fromFile ? kFileTrack : kCodeTrack;
    track_ = makePart(this, barPicture);
    fill_ = makePart(this, barPicture);
    knob_ = makePart(this, kKnob);
    for (NamedImageView* bar : {track_, fill_}) bar->setLayerCornerRadius(kTrackCornerRadius);
    track_->setMasksToBounds(true);
    knobMask_ = fromFile ? kLoadedKnobMask : kViewNotSizable;

    const QRectF trackFrame(0, (h - kTrackThickness) / 2, w, kTrackThickness);
    setViewFrame(track_, trackFrame);
    setViewFrame(fill_, trackFrame);
    setViewFrame(knob_, QRectF(0, 0, h, h));
    laidOutSize_ = viewSize(this);
}

RDProgressSlider::~RDProgressSlider() { qCDebug(lcWidgets, "%s", "-[RDProgressSlider dealloc]"); }

void RDProgressSlider::resizeParts(const QSizeF& oldSize, const QSizeF& newSize) {
    for (NamedImageView* bar : {track_, fill_})
        setViewFrame(bar, autoresizedFrame(viewFrame(bar), oldSize, newSize, kBarMask));
    setViewFrame(knob_, autoresizedFrame(viewFrame(knob_), oldSize, newSize, knobMask_));
}

void RDProgressSlider::setTickrefresh(bool refresh) {
    tickrefresh_ = refresh;
    if (!refresh) return;
    const QSizeF picture = pointSize(knob_->image());
    const QRectF knob = viewFrame(knob_);
    setViewFrame(knob_, QRectF(knob.x(), (viewSize(this).height() - picture.height()) / 2, picture.width(),
                               picture.height()));
}

}  // namespace kestrel::widgets

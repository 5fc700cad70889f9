#include "tools/collage/stretching_slider.h"

#include "widgets/view_frame.h"

namespace kestrel::tools::collage {

void StretchingSlider::resizeParts(const QSizeF& oldSize, const QSizeF& newSize) {
    VolumeProgressSlider::resizeParts(oldSize, newSize);
    // Track and fill stay 4 points thick across the middle; the fill's length follows the value.
    constexpr double kThickness = 4;
    const double y = (newSize.height() - kThickness) / 2;
    widgets::setViewFrame(progressBackView(), QRectF(0, y, newSize.width(), kThickness));
    widgets::setViewFrame(progressTintView(), QRectF(0, y, widgets::viewFrame(progressTintView()).width(), kThickness));
}

}  // namespace kestrel::tools::collage

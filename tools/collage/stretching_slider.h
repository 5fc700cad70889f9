#pragma once
// The kit's value slider with a track that runs the whole width a layout gives it (the kit's
// own keeps the track of its first frame), as the collage's position slider needs.
#include "widgets/volume_progress_slider.h"

namespace kestrel::tools::collage {

class StretchingSlider : public widgets::VolumeProgressSlider {
public:
    using VolumeProgressSlider::VolumeProgressSlider;

protected:
    void resizeParts(const QSizeF& oldSize, const QSizeF& newSize) override;
};

}  // namespace kestrel::tools::collage

#pragma once
// The per-media regions a media carries besides its picture settings: zoom, mosaic and logo
// removal boxes, and a caption. The engine is never given them here; they travel with the
// media and its copies. A copy holds no engine handle.
#include <QString>

#include "session/model/ve_slide_rect.h"

namespace kestrel::session {

// A box that blurs a logo away; fractions of the frame.
class VEDeLogoModel {
public:
    void* hDeLogo = nullptr;
    void* preDeLogo = nullptr;
    SlideRect originRtDeLogo{0.35f, 0.35f, 0.65f, 0.65f};
    SlideRect rtDeLogo{0.35f, 0.35f, 0.65f, 0.65f};

    // The box without handles and without the previous box it replaced.
    VEDeLogoModel copy() const;
};

// A box shown as a mosaic; fractions of the frame.
class VEMosaicModel {
public:
    void* hMosaic = nullptr;
    void* preMosaic = nullptr;
    bool isSeleted = false;
    SlideRect originRtMosaic{0.35f, 0.35f, 0.65f, 0.65f};
    SlideRect rtMosaic{0.35f, 0.35f, 0.65f, 0.65f};

    // The box without handles, not selected.
    VEMosaicModel copy() const;
};

// A zoom into a box for a stretch of the media's time (seconds).
class VEZoomModel {
public:
    void* hZoom = nullptr;
    SlideRect originRtZoom{0.25f, 0.25f, 0.75f, 0.75f};
    SlideRect rtZoom{0.25f, 0.25f, 0.75f, 0.75f};
    bool isAspectRatio = true;
    double startTime = 0;
    double durationTime = 0;
    bool isNeedDisplay = false;

    // Everything but the handle.
    VEZoomModel copy() const;
};

// A caption file laid over a virtual video.
class VECaptionModel {
public:
    void* hCaption = nullptr;
    QString filePath;
};

}  // namespace kestrel::session

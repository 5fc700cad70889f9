#include "session/model/ve_region_models.h"

namespace kestrel::session {

VEDeLogoModel VEDeLogoModel::copy() const {
    VEDeLogoModel model = *this;
    model.hDeLogo = nullptr;
    model.preDeLogo = nullptr;
    return model;
}

VEMosaicModel VEMosaicModel::copy() const {
    VEMosaicModel model = *this;
    model.hMosaic = nullptr;
    model.preMosaic = nullptr;
    model.isSeleted = false;
    return model;
}

VEZoomModel VEZoomModel::copy() const {
    VEZoomModel model = *this;
    model.hZoom = nullptr;
    return model;
}

}  // namespace kestrel::session

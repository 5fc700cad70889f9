#include "session/model/ve_media.h"

#include "engine/editing/rdve.h"
#include "platform/bookmarks.h"
#include "session/model/ve_scene.h"

namespace kestrel::session {

VEMedia::VEMedia(const QString& path) {
    platform::EMBookmark::defaultShareBookmark().BookmarkStartAccessingSecurityScopedResourceWithFilePath(path);
    media_ = rdVESceneCreateMedia(path.toUtf8().constData());
    setDefaultValue();
}

VEMedia::VEMedia(const VEMedia& other) = default;

VEMedia::~VEMedia() {
    if (scene_) scene_->media_.erase(this);
    if (media_) rdVESceneDeleteMedia(media_);
}

void VEMedia::setDefaultValue() {
    videoSpeed = 1.0;
    scale = 1.0f;
    alpha = 1.0f;
    audioFactor = 1.0f;
    audioFadeIn = audioFadeOut = audioEffect = 0;
    nEnable = 0;
    nAlphaLower = 50, nAlphaUpper = 25, nEdgeSize = 50;
    originClipRect = SlideRect{0, 0, 1, 1};
    clipRect = originClipRect;
    isAspectRatio = true;
    backgroundColor = QColor(0, 0, 0, 255);
    mediaBlend = -1;
    zoomModelArray.clear();
    mosaicModelArray.clear();
    deLogoModelArray.clear();
    selectedZoom = selectedMosaic = selectedDeLogo = -1;
}

std::unique_ptr<VEMedia> VEMedia::copy() const {
    std::unique_ptr<VEMedia> media(new VEMedia(*this));
    media->media_ = nullptr;
    media->scene_ = nullptr;
    media->nBitrate = 0;
    media->fps = 0;
    media->audioSplit = false;
    media->audioMute = false;
    media->hBackgroundMedia = nullptr;
    for (VEZoomModel& zoom : media->zoomModelArray) zoom = zoom.copy();
    for (VEMosaicModel& mosaic : media->mosaicModelArray) mosaic = mosaic.copy();
    for (VEDeLogoModel& deLogo : media->deLogoModelArray) deLogo = deLogo.copy();
    return media;
}

SlideRect VEMedia::showMediaInVideo(QSizeF media, QSizeF video, double factor) {
    double mw = media.width(), mh = media.height(), vw = video.width(), vh = video.height();
    double w = mw, h = mh;
    if (mw / mh >= vw / vh) w = vw, h = mh * vw / mw;
    if (vw / vh > w / h) w = w * vh / h, h = vh;
    w *= factor, h *= factor;
    SlideRect r;
    r.left = static_cast<float>((vw - w) * 0.5 / vw);
    r.top = static_cast<float>((vh - h) * 0.5 / vh);
    r.right = static_cast<float>(r.left + w / vw);
    r.bottom = static_cast<float>(r.top + h / vh);
    return r;
}

SlideRect VEMedia::showMediaInVideo(QSizeF media, QSizeF video) { return showMediaInVideo(media, video, 1.0); }
SlideRect VEMedia::showMediaInPIPVideo(QSizeF media, QSizeF video) { return showMediaInVideo(media, video, 0.5); }

}  // namespace kestrel::session

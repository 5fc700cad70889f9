#pragma once
// One media file placed in a scene, with every per-media setting the tools carry. It owns its
// engine media, which is released when this object goes unless its scene released it first.

#include <QColor>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

#include "session/model/ve_region_models.h"
#include "session/model/ve_slide_rect.h"

namespace kestrel::session {

class VEScene;

class VEMedia {
public:
    VEMedia() { setDefaultValue(); }
    // Takes up the file's remembered access and creates the engine media; hMedia() stays null
    // when the file cannot be used (check it). filePath is the caller's to set.
    explicit VEMedia(const QString& path);
    ~VEMedia();
    VEMedia& operator=(const VEMedia&) = delete;

    void* hMedia() const { return media_; }
    VEScene* scene() const { return scene_; }

    void setDefaultValue();
    // A copy of the settings without an engine handle.
    std::unique_ptr<VEMedia> copy() const;

    // The media fitted into the video, aspect kept, centred; scaled by a factor.
    static SlideRect showMediaInVideo(QSizeF media, QSizeF video);
    static SlideRect showMediaInPIPVideo(QSizeF media, QSizeF video);
    static SlideRect showMediaInVideo(QSizeF media, QSizeF video, double scale);

    float nBitrate = 0;
    float fps = 0;
    QString filePath, reversePath;
    QSizeF mediaSize;
    bool isInPIP = false;
    SlideRect showRect{0, 0, 0, 0};
    double videoSpeed = 1.0;
    bool isReverse = false;
    int64_t videoRotate = 0, videoFlip = 0;
    float scale = 1.0f, point_x = 0, point_y = 0, alpha = 1.0f;
    int64_t backgroundType = 0;
    QColor backgroundColor{0, 0, 0, 255};
    int32_t displayMode = 0;
    QString backgroundImagePath;
    void* hBackgroundMedia = nullptr;
    int64_t contrast = 0, saturability = 0, brightness = 0, tonality = 0, sharpen = 0, vignetting = 0;
    int64_t beautyBlurIntensity = 0, beautyBrightIntensity = 0, beautyToneIntensity = 0;
    int64_t beautyThinFaceIntensity = 0, beautyBigEyeIntensity = 0;
    int64_t mediaBlend = -1;
    QString mediaMask;
    double maStartTime = 0, maDurationTime = 0;
    QString maConfig;
    int64_t maEndAnimation = 0;
    bool audioSplit = false, audioMute = false;
    float audioFactor = 1.0f;
    int64_t audioFadeIn = 0, audioFadeOut = 0, audioEffect = 0;
    int32_t audioNsLevel = 0;
    int64_t nEnable = 0, clrR = 0, clrG = 0, clrB = 0;
    int64_t nAlphaLower = 50, nAlphaUpper = 25, nEdgeSize = 50;
    int64_t startTime = 0;
    SlideRect originClipRect{0, 0, 1, 1};
    SlideRect clipRect{0, 0, 1, 1};
    bool isAspectRatio = true;
    std::vector<VEZoomModel> zoomModelArray;
    std::vector<VEMosaicModel> mosaicModelArray;
    std::vector<VEDeLogoModel> deLogoModelArray;
    int64_t selectedZoom = -1, selectedMosaic = -1, selectedDeLogo = -1;

private:
    friend class VEScene;
    // Settings only: the copy owns no engine media and sits in no scene.
    VEMedia(const VEMedia& other);
    // The engine released this media with its scene.
    void forget() { media_ = nullptr, scene_ = nullptr; }

    void* media_ = nullptr;
    VEScene* scene_ = nullptr;
};

}  // namespace kestrel::session

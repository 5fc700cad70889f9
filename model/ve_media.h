#pragma once
// One media file placed in a scene, with every per-media setting the tools carry.
#include "engine/editing/rdve.h"

#include <QColor>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <memory>

namespace kestrel::model {

class VEMedia {
public:
    VEMedia() { setDefaultValue(); }
    // Creates the engine media; hMedia stays null when the file cannot be used (check it).
    explicit VEMedia(const QString& path);

    void setDefaultValue();
    // A copy without an engine handle.
    std::unique_ptr<VEMedia> copy() const;

    // The media fitted into the video, aspect kept, centred; scaled by a factor.
    static SLIDE_RECT showMediaInVideo(QSizeF media, QSizeF video);
    static SLIDE_RECT showMediaInPIPVideo(QSizeF media, QSizeF video);
    static SLIDE_RECT showMediaInVideo(QSizeF media, QSizeF video, double scale);

    void* hMedia = nullptr;
    float nBitrate = 0;
    float fps = 0;
    QString filePath, reversePath;
    QSizeF mediaSize;
    bool isInPIP = false;
    SLIDE_RECT showRect{0, 0, 0, 0};
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
    SLIDE_RECT originClipRect{0, 0, 1, 1};
    SLIDE_RECT clipRect{0, 0, 1, 1};
    bool isAspectRatio = true;
    int64_t selectedZoom = -1, selectedMosaic = -1, selectedDeLogo = -1;
};

}  // namespace kestrel::model

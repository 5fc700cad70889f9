#pragma once
// One watermark of a job. Times are seconds; rectangles are in overlay points (waterRect) or
// fractions of the video frame (waterPercentClipRect). A copy carries every field.
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>
#include <cstdint>

namespace kestrel::model {

struct WaterParam {
    WaterParam();

    int64_t waterType = 1;         // 2 picture (or video when isVideo) file, 4 text
    double waterAlph = 0.0;        // transparency 0 to 100: 0 is fully visible
    QRectF waterRect;              // overlay points
    QRectF waterPercentClipRect;   // fractions of the frame, bottom-left origin
    QString waterText;
    QString waterImagePath;        // picture or video file
    QImage waterImage;
    QString waterFontName;         // "STHeitiTC-Light", or "Muna" for the Arabic interface
    QColor waterFontColor = QColor::fromRgbF(0, 0, 1, 1);
    float waterFontSize = 30.0f;   // points
    float waterViewFrameWidth = 0; // points, width of the overlay the rectangle was taken in
    bool selected = false;
    bool isCheck = false;
    bool isVideo = false;
    bool keepaspectRatio = false;
    float fileDuration = 0;        // s, length of a video watermark's file
    float fileStartTime = 0;       // s, used range of that file
    float fileEndTime = 0;         // s
    float startTime = 0;           // s, on the video's time line
    float duration = 0;            // s
    QRectF rect;

    bool operator==(const WaterParam&) const = default;
};

// The watermark font of the current interface language.
QString defaultWaterFontName();

}  // namespace kestrel::model

#pragma once
// The job record of one input file. Tool windows keep lists of shared records
// (SimpleDataPtr) and pass them around; the nested records live inside it. Cut times are
// microseconds of the source, as the engines take them.
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <memory>

#include "model/audio_stream_info.h"
#include "model/crop_rect.h"
#include "model/file_data.h"
#include "model/subtitle_param.h"
#include "model/water_param.h"

namespace kestrel::model {

struct SimpleData {
    bool defaultFormat = false;     // the joiner's reference clip
    QImage thumbImage;
    QString name;                   // last path component
    QString path;
    FileData sourceData;            // probed properties of the input
    FileData targetData;            // properties wanted for the output
    QString exportStatues;
    int64_t cutTimeRange_start = 0; // µs
    int64_t cutTimeRange_stop = 0;  // µs; 0 = no range set
    float speed = 1.0f;
    QRectF clipRect;                // crop in video pixels, bottom-left origin; zero = no crop
    RECT convertCropSize;           // pixels cut from each side, for the transcoding engine
    int32_t convertRateAngle = 0;   // degrees
    bool keepAspectratio = false;
    bool isTrimFanxuan = false;     // keep what lies outside the cut range
    int32_t brightness = 0;
    int32_t contrast = 0;
    int32_t saturation = 0;
    double volume = 1.0;
    int32_t hFlip = 0;              // non-zero = mirrored
    int32_t vFlip = 0;
    QList<int> effectTypes;         // effect ids of the editor's effect list
    WaterParam waterParam;
    SubtitleParam subtitleParam;
    QString exportPath;
    QString exportbeforPath;        // part before the removed range (two-cut export)
    QString exportbehandPath;       // part after the removed range
    int32_t transitionEffect = 0;   // transition into the next clip (joiner)
    bool selected = true;
    QList<AudioStreamInfo> audioStreamInfos;

    bool operator==(const SimpleData&) const = default;
};

using SimpleDataPtr = std::shared_ptr<SimpleData>;

inline SimpleDataPtr makeSimpleData() { return std::make_shared<SimpleData>(); }

}  // namespace kestrel::model

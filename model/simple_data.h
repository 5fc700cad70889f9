#pragma once
// The job record of one input file: who it is and what it holds (probed), the output wanted, and
// the few per-clip values the batch tools keep in their lists (cut range and mode, level,
// transition). Tool windows keep lists of shared records (SimpleDataPtr) and pass them around.
// The editor's edits live in session::EditState, not here. Cut times are microseconds of the
// source, as the engines take them.
#include <QImage>
#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

#include "model/audio_stream_info.h"
#include "model/file_data.h"

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
    bool keepAspectratio = false;   // the output keeps the source's aspect (output size rule)
    bool isTrimFanxuan = false;     // keep what lies outside the cut range
    double volume = 1.0;            // the clip's level
    QString exportPath;             // the file the last export wrote
    int32_t transitionEffect = 0;   // transition into the next clip (joiner)
    bool selected = true;
    QList<AudioStreamInfo> audioStreamInfos;

    bool operator==(const SimpleData&) const = default;
};

using SimpleDataPtr = std::shared_ptr<SimpleData>;

inline SimpleDataPtr makeSimpleData() { return std::make_shared<SimpleData>(); }

}  // namespace kestrel::model

#pragma once
// One audio stream of a file, as the transcoding engine lists it.
#include <QString>
#include <cstdint>

namespace kestrel::model {

struct AudioStreamInfo {
    int32_t channel = 0;
    int32_t bitrate = 0;
    int32_t fmt = 0;
    int32_t exist = 0;
    int32_t sample = 0;  // sample rate, Hz
    int32_t index = 0;   // the stream's index in the file, as the engine numbers it
    QString lang;
    QString title;
    QString psect;
    QString codec;

    bool operator==(const AudioStreamInfo&) const = default;
};

}  // namespace kestrel::model

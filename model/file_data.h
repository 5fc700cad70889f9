#pragma once
// Media properties of one file as probed (or, as a job's target, as wanted for the output).
// Every field starts at zero or empty.
#include <QString>
#include <cstdint>

namespace kestrel::model {

struct FileData {
    int32_t angle = 0;         // rotation of the video stream, degrees
    int32_t width = 0;         // video frame size, pixels
    int32_t height = 0;
    double aspect = 0;         // display aspect ratio
    int32_t bitrate = 0;       // video bit rate as the transcoding engine reports it (kbit/s)
    double fps = 0;
    int32_t exist = 0;         // non-zero when a video stream exists
    int32_t index = 0;         // index of the video stream
    float duration = 0;        // seconds (the engine's microseconds / 1,000,000)
    QString extension;         // container, without the dot
    float fileSize = 0;        // megabytes of 1,000,000 bytes
    double a_aspect = 0;
    int32_t a_bitrate = 0;     // kbit/s
    int32_t a_exist = 0;       // non-zero when an audio stream exists
    int32_t a_index = 0;
    int32_t a_channel = 0;
    int32_t a_fmt = 0;         // the engine's sample format code
    int32_t a_samplerate = 0;  // Hz
    QString a_codec;
    QString a_lang;
    QString a_title;
    QString a_apsect;
    QString metadata_vcodec;
    QString metadata_vcodecTag;
    QString metadata_lang;
    QString metadata_title;
    QString metadata_apsect;

    bool operator==(const FileData&) const = default;
};

}  // namespace kestrel::model

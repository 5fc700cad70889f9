#pragma once
// An opened media file: demuxing, stream lookup and the facts a probe reports.
#include "engine/core/ff_handles.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrel::engine {

class MediaInput {
public:
    // Opens and probes the file; null with a message when it holds no readable media.
    static std::unique_ptr<MediaInput> open(const std::string& path, std::string* error = nullptr);

    const std::string& path() const { return path_; }
    AVFormatContext* format() const { return format_.get(); }
    AVStream* stream(int index) const;
    int streamCount() const;

    // Streams of a kind in file order; cover pictures are not video.
    std::vector<int> streamsOfType(AVMediaType type) const;
    // The stream FFmpeg would pick, -1 when there is none.
    int bestVideoStream() const { return best_video_; }
    int bestAudioStream() const { return best_audio_; }
    // The audio stream with this index, or the default one when the index names no audio stream.
    int audioStreamOrDefault(int index) const;

    // Whole length; 0 for a still picture.
    int64_t durationUs() const { return duration_us_; }
    // Container start time: every time this engine reports is counted from it.
    int64_t startTimeUs() const { return start_time_us_; }
    bool isStillPicture() const { return still_picture_; }
    // Raw elementary streams carry no time stamps: their pictures are timed by count, one
    // picture length (in the stream's time base) each from the first. 0 for a stream that is
    // timed by the file. Such a stream's packets come without times, every seek reads the file
    // from its first byte again, and decoders number its pictures (StreamDecoder::countFrames).
    int64_t countedPictureLength(int stream_index) const { return stream_index == counted_stream_ ? counted_step_ : 0; }

    // Clockwise angle the stream must be turned by to be seen upright: 0, 90, 180 or 270.
    int displayRotationDeg(int stream_index) const;

    // Seeks every stream to a key frame shown at or before time_us (file time line), so that
    // decoding the video from there gives the picture shown at time_us: where the demuxer lands
    // on a frame that is not a key frame (streams without an index, such as MPEG-TS) or on a key
    // frame shown later (MP4 seeks by decoding time), it tries earlier points, and
    // at the start it reads the file from its first byte again. A seek to the start of an input
    // nothing has been read from yet does nothing: a one-packet picture stays readable.
    bool seekUs(int64_t time_us);
    // Next packet of any stream: 0, AVERROR_EOF or another error.
    int readPacket(AVPacket* packet);

    // Stream time (in its time base) <-> file time line in microseconds.
    int64_t toFileTimeUs(int stream_index, int64_t pts) const;
    int64_t fromFileTimeUs(int stream_index, int64_t time_us) const;

private:
    MediaInput() = default;
    bool seekOnceUs(int64_t time_us);
    bool rewind();
    // Reads on after a seek until the first video packet; whether it holds a key frame shown at
    // or before time_us.
    bool landsOnKeyFrameBefore(int64_t time_us);
    // Reads a raw elementary stream through once: its pictures are counted and timed by count.
    void measureUntimedLength();

    std::string path_;
    InputFormatPtr format_;
    int best_video_ = -1;
    int best_audio_ = -1;
    int64_t duration_us_ = 0;
    int64_t start_time_us_ = 0;
    bool still_picture_ = false;
    bool read_since_seek_ = false;
    int counted_stream_ = -1;
    int64_t counted_step_ = 0;
};

// Normalises any angle in degrees to 0..359.
int normalizedAngle(int degrees);

}  // namespace kestrel::engine

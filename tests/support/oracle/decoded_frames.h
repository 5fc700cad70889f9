#pragma once
// Pictures of a video decoded by the ffmpeg command line one at a time (as a YUV4MPEG stream
// on a pipe), so the oracle never holds more than a frame of each side in memory.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QProcess;

namespace kestrel::test {

// Which frames of a file: every one, those from a time on (for a duration), and of those the
// frames numbered [first_frame, end_frame) in presentation order, counted from 0. Frames are
// what a viewer sees: in presentation order, rotated by the file's display rotation.
struct FrameSource {
    std::string path;
    int video_stream = 0;     // among the file's video streams; cover pictures are not counted
    double start_s = -1;      // -1: from the first frame
    double duration_s = -1;   // -1: to the end
    int first_frame = 0;
    int end_frame = -1;       // -1: to the last frame

    FrameSource() = default;
    FrameSource(std::string file) : path(std::move(file)) {}  // a bare path: every frame
    FrameSource(const char* file) : path(file) {}

    // "cut.mp4" or "source.mp4 frames 25-49" or "source.mp4 from 1.000 s for 1.000 s".
    std::string describe() const;
};

// Frames [first_frame, end_frame) of a file.
FrameSource framesOf(const std::string& path, int first_frame, int end_frame);
// The frames shown from start_s for duration_s (-1: to the end).
FrameSource timeRangeOf(const std::string& path, double start_s, double duration_s = -1);

// One decoded picture: 8-bit planes one after another (Y, U, V for yuv420p; one for gray).
struct Picture {
    int width = 0, height = 0;
    int plane_count = 0;
    std::vector<uint8_t> bytes;

    int planeWidth(int plane) const { return plane == 0 ? width : (width + 1) / 2; }
    int planeHeight(int plane) const { return plane == 0 ? height : (height + 1) / 2; }
    const uint8_t* plane(int index) const;
};

class DecodedFrames {
public:
    // pixel_format "yuv420p" or "gray"; width and height > 0 scale every frame to that size.
    DecodedFrames(const FrameSource& source, const std::string& pixel_format, int width = 0, int height = 0,
                  const std::string& scale_flags = "bicubic");
    ~DecodedFrames();
    DecodedFrames(const DecodedFrames&) = delete;
    DecodedFrames& operator=(const DecodedFrames&) = delete;

    // The next frame; false after the last one or when ffmpeg failed (see problem()).
    bool next(Picture& picture);
    // Frames delivered so far.
    int count() const { return count_; }
    // Reads the remaining frames without keeping them; returns the total count.
    int countToEnd();
    // What ffmpeg printed on failure, or why the stream could not be read; empty when fine.
    // Complete once next() has returned false.
    const std::string& problem() const { return problem_; }

private:
    bool readHeader();
    bool readLine(std::string& line);
    bool readBytes(uint8_t* into, int64_t n);
    void finish();

    std::unique_ptr<QProcess> process_;
    std::string what_;
    bool header_read_ = false, finished_ = false;
    int width_ = 0, height_ = 0, plane_count_ = 0;
    int count_ = 0;
    std::string problem_;
};

}  // namespace kestrel::test

#pragma once
#include <string>
#include <vector>

namespace kestrel::test {

// Describes a media file to generate with the ffmpeg command line from its lavfi test sources.
struct FixtureSpec {
    double duration_s = 2.0;
    int width = 320;                  // 0: no video stream
    int height = 240;
    std::string frame_rate = "25";    // a rational text, e.g. "30000/1001"
    int gop = 0;                      // key frame interval in frames; 0 lets the encoder choose
    std::string video_codec = "libx264";
    std::string pixel_format = "yuv420p";
    int audio_streams = 1;            // each a sine tone of its own pitch
    int sample_rate = 44100;
    int channels = 2;
    std::string audio_codec = "aac";
    int rotation_deg = 0;             // display rotation tag written into the container
    std::string sar;                  // e.g. "4:3" for non-square pixels; empty for square
    std::string video_source = "testsrc2";  // any lavfi picture source, options allowed ("color=c=red")
    std::vector<std::string> extra_args;    // appended before the output path
};

// Generates the file at path (its container comes from the extension). Throws on failure,
// with the ffmpeg output in the message.
void makeMedia(const std::string& path, const FixtureSpec& spec = {});

// A still picture (png, jpg, bmp) of the given size from the test pattern source.
void makePicture(const std::string& path, int width, int height, const std::string& source = "testsrc2");

// Writes bytes to a file as they are: for empty, truncated and random-byte inputs.
void writeBytes(const std::string& path, const std::string& bytes);

// The first n bytes of an existing file copied to another path.
void truncateCopy(const std::string& from, const std::string& to, long n);

// Runs a command line through the shell; returns its exit code and fills output (stdout+stderr).
int runCommand(const std::string& command, std::string* output = nullptr);

}  // namespace kestrel::test

#pragma once
#include <string>
#include <vector>

namespace kestrel::test {

// What ffprobe, as an independent oracle, says of a media file.
struct ProbedStream {
    int index = -1;
    std::string type;        // "video", "audio", "subtitle", ...
    std::string codec;       // codec_name
    int width = 0, height = 0;
    std::string sar, dar;    // sample and display aspect ratios ("1:1")
    std::string avg_frame_rate, r_frame_rate;
    int sample_rate = 0, channels = 0;
    double duration_s = -1;  // -1 when ffprobe gives none
    long frames = -1;        // nb_read_frames when counted, else nb_frames, else -1
    int rotation = 0;        // display rotation from side data or the "rotate" tag
};

struct ProbedMedia {
    bool ok = false;
    std::string error;
    std::string format;      // format_name
    double duration_s = -1;
    long long size_bytes = 0;
    long long bit_rate = 0;
    std::vector<ProbedStream> streams;

    const ProbedStream* firstOf(const std::string& type) const;
    int countOf(const std::string& type) const;
};

// Probes a file; with count_frames, decodes it to count the frames of every stream (slower).
ProbedMedia ffprobe(const std::string& path, bool count_frames = false);

// Decodes one frame at time_s to raw RGB24 pixels (width*height*3 bytes) with the ffmpeg
// command line, scaled to the given size when width and height are > 0.
std::vector<unsigned char> decodeFrameRGB(const std::string& path, double time_s, int width, int height);

// Mean absolute difference per channel of two RGB24 pictures of the same size (0..255).
double meanAbsDiff(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b);

}  // namespace kestrel::test

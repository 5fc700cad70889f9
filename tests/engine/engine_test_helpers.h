#pragma once
// Shared by the engine tests: fixtures the generic helpers cannot make, a convert runner and
// oracles on decoded output (pixel colours, tone pitch, leftover files).
#include "engine/mediacore/media_core.h"

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kestrel::test {

// 320x240 (or the given size) video whose quadrants are red (top left), green (top right),
// blue (bottom left) and white (bottom right); no sound.
void makeQuadrantVideo(const std::string& path, int width = 320, int height = 240, double duration_s = 1.0);
// A single-colour video (lavfi colour name) with an optional sine tone.
void makeColourVideo(const std::string& path, const std::string& colour, double duration_s, bool with_audio);

// Runs a convert job: create, input, the given setters, output, Start, Close. Returns Start's result
// (or the failing set-up call's result).
int32_t runConvert(const std::string& input, const std::string& output,
                   const std::function<void(void* job)>& configure = nullptr);

using Rgb = std::array<int, 3>;
// Colour of one pixel of an RGB24 picture.
Rgb pixelAt(const std::vector<unsigned char>& rgb, int width, int x, int y);
// True when every channel is within `tolerance` of the expected one.
bool near(const Rgb& actual, const Rgb& expected, int tolerance = 40);

// Pitch of the first audio stream, from its zero crossings (Hz).
double tonePitch(const std::string& path, int audio_stream = 0);

// When each picture of the first video stream is shown, in seconds from the file's start (its
// container start time), in presentation order, as ffprobe reads them.
std::vector<double> videoFrameTimes(const std::string& path);
// The frames [first, end) of the file that a range [start_s, end_s) of its time line holds:
// those shown from the start (inclusive) to the end (exclusive), half a millisecond either way.
std::pair<int, int> framesInRange(const std::vector<double>& frame_times_s, double start_s, double end_s);

// Names of the entries of a folder, sorted.
std::vector<std::string> folderEntries(const std::string& folder);

}  // namespace kestrel::test

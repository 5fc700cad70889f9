#pragma once
// Small media and virtual videos shared by the editing engine's tests.
#include "tests/support/temp_dir.h"

#include <string>
#include <vector>

namespace kestrel::test {

// A 160x120 clip of one colour (any ffmpeg colour name) with a 440 Hz tone.
std::string solidClip(const TempDir& dir, const std::string& name, const std::string& colour,
                      double duration_s = 1.0);

// A 320x240 virtual video of four 1 s scenes, each showing one file in a quarter of the frame:
// top-left, top-right, bottom-left, bottom-right.
void* quadVideo(const std::vector<std::string>& files);

// Expects the RGB24 pixel at (x, y) of a picture w pixels wide near (r, g, b).
void expectColour(const std::vector<unsigned char>& rgb, int w, int x, int y, int r, int g, int b);

// Loudness of a file's sound by ffmpeg's volumedetect: mean volume in dB, or +1 on failure.
double meanVolumeDb(const std::string& path);

}  // namespace kestrel::test

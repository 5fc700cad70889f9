#pragma once
// Shared helpers of the player tests: fixtures made once per program, snapshots as RGB24.
#include <memory>
#include <string>
#include <vector>

#include "engine/player/DIVuverIzizud.h"

namespace kestrel::test {

// A 320x240, 25 fps, 2 s H.264 file with a key frame every 12 frames and one audio stream.
const std::string& standardClip();

std::unique_ptr<player::DIVuverIzizud> openPlayer(const std::string& path);

// The frame on screen as RGB24 (width*height*3 bytes); size written to width and height.
std::vector<unsigned char> snapshotRGB(player::DIVuverIzizud& p, int* width, int* height);

}  // namespace kestrel::test

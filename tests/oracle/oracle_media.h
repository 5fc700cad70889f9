#pragma once
// Media for the oracle's own tests, made at test time with the ffmpeg command line: a source
// per lavfi pattern, and outputs of it, faithful or with one known fault each.
#include <ostream>
#include <string>
#include <vector>

namespace kestrel::test {

enum class Pattern {
    testsrc2,  // moving shapes and a frame counter: every frame differs widely from the next
    testsrc,   // colour bars whose only change per frame is a slowly scrolling gradient
};

// Names the pattern in gtest's messages.
void PrintTo(Pattern pattern, std::ostream* out);

// 3 s of the pattern at 320x240, 25 fps (75 frames), H.264; testsrc2 with a 440 Hz tone in AAC.
const std::string& sourceOf(Pattern pattern);

// An output of the pattern's source, by its name in the table in oracle_media_helpers.cpp
// ("cut", "lost-41", ...), made on first use.
const std::string& outputOf(Pattern pattern, const std::string& name);
// Several outputs, those not made yet made in one ffmpeg run: starting ffmpeg costs more than
// making a 3 s output.
std::vector<std::string> outputsOf(Pattern pattern, const std::vector<std::string>& names);

// A path in the program's media folder, for media a test makes itself.
std::string oracleMediaPath(const std::string& name);

}  // namespace kestrel::test

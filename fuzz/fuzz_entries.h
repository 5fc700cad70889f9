#pragma once
// One entry per fuzzing target: each takes arbitrary bytes as the content of a file of its kind
// and runs the readers a user's file goes through. They are built into the libFuzzer targets and
// into the regression test, which replays every input that ever crashed or hung.
#include <cstddef>
#include <cstdint>

namespace kestrel::fuzz {

// A media file: probe, stream facts, duration and a snapshot of its first picture.
int probeAndDecode(const uint8_t* data, size_t size);
// A subtitle file: the size and shape check, the encoding guess, and, when it passes, one
// picture drawn with it through the filter graph.
int readSubtitle(const uint8_t* data, size_t size);
// An output profile file: the settings-file reader and the profile's values.
int readProfile(const uint8_t* data, size_t size);
// A strings table.
int readStrings(const uint8_t* data, size_t size);

}  // namespace kestrel::fuzz

#pragma once
// The output-size arithmetic of the GIF maker's settings panel: a size in pixels and as a
// percentage of the source, kept in step when a field is committed, with the width and height
// linked or not. Every pixel side stays within 2..kGifMaxSide, so no field can ask for a picture
// that would exhaust memory.
#include <cstdint>

namespace kestrel::tools::gif {

struct OutputSize {
    int64_t sourceWidth = 0, sourceHeight = 0;  // S and T
    int64_t width = 300, height = 300;          // W and H in pixels
    int64_t widthPercent = 100, heightPercent = 100;
};

enum class SizeUnit { Pixel, Proportion };

// The size a mode starts with: the GIF fits 300 pixels on its long side, the pictures keep the
// source size (bounded).
OutputSize initialGifSize(int64_t sourceWidth, int64_t sourceHeight);
OutputSize initialPictureSize(int64_t sourceWidth, int64_t sourceHeight);
// A photo GIF fits 300 pixels on the long side of its first photo.
void initialPhotoSize(int64_t photoWidth, int64_t photoHeight, int64_t* width, int64_t* height);

// A width or height while it is being typed (every keystroke): the value, at least 1 and within
// the bounds, taken at once; with the link on the other side follows. Nothing is made even
// until the field is committed.
void typedWidth(OutputSize& size, SizeUnit unit, bool linked, int64_t typed);
void typedHeight(OutputSize& size, SizeUnit unit, bool linked, int64_t typed);

// A committed width or height (the value typed, in the unit shown).
void commitWidth(OutputSize& size, SizeUnit unit, bool linked, int64_t typed);
void commitHeight(OutputSize& size, SizeUnit unit, bool linked, int64_t typed);
// The link turned on: the height follows the width.
void linkTurnedOn(OutputSize& size);
// A committed photo side: even, at least 2.
int64_t commitPhotoSide(int64_t typed);
// A committed frame rate: its whole part held to 1..120.
double commitFps(double typed);

}  // namespace kestrel::tools::gif
